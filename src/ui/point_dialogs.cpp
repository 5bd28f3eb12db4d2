// The point options and the marker definition.
#include "ui/point_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "platform/format.h"
#include "ui/dialog_widgets.h"
#include "ui/styles_dialog.h"

namespace tsn::ui {

namespace {

constexpr int kHelpPointShapes = 261;
constexpr int kHelpOtherShapes = 296;
constexpr int kHelpTables = 304;
constexpr int kMarkerCodes[4] = {1, 2, 5, 4};
constexpr double kMinFactor = 0.000001;
constexpr double kMaxFactor = 1000000.0;

int help_context_of(const PointInput& input) {
  return input.table_input ? kHelpTables : input.shape_class == 0 ? kHelpPointShapes
                                                                  : kHelpOtherShapes;
}

}  // namespace

MarkerDialog::MarkerDialog(QWidget* parent, ConvSettings& s, const MarkerChoice& choice,
                           HelpOpener help, int help_context)
    : OptionDialog(parent, "Marker Definition", help_context, DialogPlace::marker, help),
      choice_(choice),
      kinds_{new QRadioButton("&Plus sign:  +", this), new QRadioButton("&Circle: o", this),
             new QRadioButton("&Solid Circle: ", this),
             new QRadioButton("&Marker from Font file", this)},
      symbol_(new QLineEdit(QString::number(choice.symbol), this)),
      style_(style_box(this, s, choice.style)),
      height_(new RealEdit(this, choice.height)) {
  auto* kinds = new QVBoxLayout;
  for (int i = 0; i < 4; ++i) {
    kinds_[i]->setObjectName(QString("marker_%1").arg(kMarkerCodes[i]));
    kinds_[i]->setChecked(choice.marker == kMarkerCodes[i]);
    kinds->addWidget(kinds_[i]);
  }
  body()->addLayout(kinds);
  symbol_->setObjectName("symbol");
  height_->setObjectName("height");
  auto* form = new QFormLayout;
  form->addRow("&Ascii Symbol:", symbol_);
  form->addRow("St&yle:", with_styles_button(style_, s, help, help_context));
  form->addRow("H&eight:", height_);
  body()->addLayout(form);
}

bool MarkerDialog::take_values() {
  bool ok = false;
  const int symbol = symbol_->text().trimmed().toInt(&ok);
  if (!ok || symbol < 1 || symbol > 255) {
    show_error("The symbol must be a character code from 1 to 255");
    return false;
  }
  const double height = height_->value().value_or(0.0);
  if (!(height > 0.0)) {
    show_error("Text height must be a number greater than 0");
    return false;
  }
  for (int i = 0; i < 4; ++i) {
    if (kinds_[i]->isChecked()) choice_.marker = kMarkerCodes[i];
  }
  choice_.symbol = symbol;
  choice_.style = style_->currentText().toStdString();
  choice_.height = height;
  return true;
}

PointOptionsDialog::PointOptionsDialog(QWidget* parent, ConvSettings& s, const PointInput& input,
                                       HelpOpener help)
    : OptionDialog(parent, "Point Options", help_context_of(input), DialogPlace::point_options,
                   help),
      s_(s),
      input_(input),
      marker_{s.cur.Marker, s.cur.PointMarker, s.cur.MarkerStyle, s.cur.MarkerHeight},
      dxf_points_(new QRadioButton("D&XF POINT entities", this)),
      markers_(new QRadioButton("User defined &Markers", this)),
      elevation_(new QCheckBox("Give Points a &Z value (elevation)", this)),
      elevation_key_(field_box(this, input.fields, s.cur.ElevKey, true, "elevation_key")),
      factor_(new RealEdit(this, s.cur.ElevFactor)),
      labels_at_elevation_(
          new QCheckBox("Text Labels at same elevation as their parts (else all 0.0)", this)),
      tin_(new QCheckBox("TIN Shapefile (special case)", this)),
      z_keys_{field_box(this, input.fields, s.cur.Z1Key, true, "z1"),
              field_box(this, input.fields, s.cur.Z2Key, true, "z2"),
              field_box(this, input.fields, s.cur.Z3Key, true, "z3")} {
  const FileSettings& f = s.cur;
  dxf_points_->setObjectName("dxf_points");
  markers_->setObjectName("markers");
  elevation_->setObjectName("elevation");
  factor_->setObjectName("factor");
  tin_->setObjectName("tin");
  auto* form = new QButtonGroup(this);
  form->addButton(dxf_points_);
  form->addButton(markers_);
  (f.PointsTranslate != 0 ? markers_ : dxf_points_)->setChecked(true);
  auto* marker = new QPushButton("&Marker", this);
  marker->setObjectName("marker");
  connect(marker, &QPushButton::clicked, this, [this, help] {
    MarkerDialog dialog(this, s_, marker_, help, help_context());
    if (dialog.exec() == QDialog::Accepted) marker_ = dialog.choice();
  });
  auto* symbols = new QGroupBox("Points", this);
  auto* symbols_box = new QHBoxLayout(symbols);
  symbols_box->addWidget(dxf_points_);
  symbols_box->addWidget(markers_);
  symbols_box->addWidget(marker);
  body()->addWidget(symbols);

  elevation_->setChecked(f.PointsElev != 0);
  labels_at_elevation_->setChecked(f.ElevText != 0);
  auto* heights = new QGroupBox("Elevation", this);
  auto* heights_form = new QFormLayout(heights);
  heights_form->addRow(elevation_);
  heights_form->addRow("Elevation &Key:", elevation_key_);
  heights_form->addRow("&Scale Factor:", factor_);
  heights_form->addRow(labels_at_elevation_);
  body()->addWidget(heights);

  if (!input.table_input && input.shape_class == 2) {
    tin_->setChecked(f.TIN != 0);
    auto* tin_form = new QFormLayout;
    tin_form->addRow(tin_);
    tin_form->addRow("Vertex elevations:", z_keys_[0]);
    tin_form->addRow("", z_keys_[1]);
    tin_form->addRow("", z_keys_[2]);
    body()->addLayout(tin_form);
    connect(tin_, &QCheckBox::toggled, this, [this](bool on) {
      if (!on) return;
      QMessageBox::information(
          this, "Warning:  This option for special conforming shapefiles only.",
          "Every shape must be a triangle of three unique vertices, and the table must hold "
          "the elevation of each vertex in a field of its own (such as Z1, Z2, Z3).");
    });
  } else {
    tin_->hide();
    for (QComboBox* z : z_keys_) z->hide();
  }
  if (input.table_input) {
    x_key_ = field_box(this, input.fields, f.XKey, true, "x_key");
    y_key_ = field_box(this, input.fields, f.YKey, true, "y_key");
    polygons_ = new QCheckBox("X,Y values form closed polygons", this);
    raw_ = new QCheckBox("Raw data file (no header line)", this);
    polygons_->setObjectName("polygons");
    raw_->setObjectName("raw");
    polygons_->setChecked(f.PointsArePolys != 0);
    raw_->setChecked(f.CSVHasHeader == 0);
    auto* xy = new QHBoxLayout;
    xy->addWidget(x_key_);
    xy->addWidget(y_key_);
    auto* table_form = new QFormLayout;
    table_form->addRow("X,Y Values:", xy);
    table_form->addRow(polygons_);
    table_form->addRow(raw_);
    body()->addLayout(table_form);
  }
}

bool PointOptionsDialog::take_values() {
  const std::optional<double> typed = factor_->value();
  const double factor = typed.value_or(0.0);
  if (!typed || std::fabs(factor) < kMinFactor || std::fabs(factor) > kMaxFactor) {
    show_error("Elevation factor must be in absolute range 0.000001 to 1000000.0");
    return false;
  }
  // Heights come from a numeric field, or from the shapes themselves.
  if (elevation_->isChecked() && elevation_key_->count() == 0 && !input_.z_shapes) {
    show_error("No elevation data for this file");
    return false;
  }
  FileSettings& f = s_.cur;
  f.PointsTranslate = markers_->isChecked() ? 1 : 0;
  f.Marker = marker_.marker;
  f.PointMarker = marker_.symbol;
  f.MarkerStyle = marker_.style;
  f.MarkerHeight = marker_.height;
  f.PointsElev = elevation_->isChecked() ? 1 : 0;
  if (elevation_key_->count() > 0) f.ElevKey = elevation_key_->currentText().toStdString();
  f.ElevFactor = factor;
  f.ElevText = labels_at_elevation_->isChecked() ? 1 : 0;
  if (!input_.table_input && input_.shape_class == 2) {
    f.TIN = tin_->isChecked() ? 1 : 0;
    std::string* keys[3] = {&f.Z1Key, &f.Z2Key, &f.Z3Key};
    for (int i = 0; i < 3; ++i) {
      if (z_keys_[i]->count() > 0) *keys[i] = z_keys_[i]->currentText().toStdString();
    }
  }
  if (input_.table_input) {
    if (x_key_->count() > 0) f.XKey = x_key_->currentText().toStdString();
    if (y_key_->count() > 0) f.YKey = y_key_->currentText().toStdString();
    f.PointsArePolys = polygons_->isChecked() ? 1 : 0;
    f.CSVHasHeader = raw_->isChecked() ? 0 : 1;
  }
  return true;
}

}  // namespace tsn::ui
