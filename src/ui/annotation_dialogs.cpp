// Labels, feature attributes, attribute properties and legend properties.
#include "ui/annotation_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/format.h"
#include "ui/colour_swatch.h"
#include "ui/dialog_widgets.h"
#include "ui/styles_dialog.h"

namespace tsn::ui {

namespace {

constexpr int kHelpAttributes = 211;
constexpr int kHelpLabels = 221;
constexpr int kHelpLegend = 231;
constexpr std::size_t kMaxLayerR14 = 31;
constexpr double kMinOverlap = 0.01;

TextLook text_look(QWidget* parent, ConvSettings& s, const std::string& style,
                   double height, int pen, const HelpOpener& help, int help_context,
                   QFormLayout* form) {
  TextLook look{style_box(parent, s, style), new RealEdit(parent, height),
                new ColourSwatch(parent, pen, help, help_context)};
  look.height->setObjectName("height");
  look.pen->setObjectName("pen");
  form->addRow("St&yle:", with_styles_button(look.style, s, help, help_context));
  form->addRow("&Height:", look.height);
  form->addRow("&Pen:", look.pen);
  return look;
}

// The height typed, when it is a number above 0.
bool take_height(const TextLook& look, double& height) {
  const std::optional<double> h = look.height->value();
  if (!h || !(*h > 0.0)) return false;
  height = *h;
  return true;
}

// A checkable list of the table's fields.
QListWidget* field_list(QWidget* parent, const std::vector<dbf_field>& fields) {
  auto* list = new QListWidget(parent);
  list->setObjectName("fields");
  for (std::size_t i = 0; i < fields.size() && i < kMaxFields; ++i) {
    auto* item = new QListWidgetItem(qtext(fields[i].name), list);
    item->setData(Qt::UserRole, static_cast<int>(i));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  return list;
}

QString error_height() { return "Text height must be a number greater than 0"; }

// The placement of one class's labels or attributes as the settings hold it.
TextPlacement placement_of(const FileSettings& f, int cls, bool labels) {
  const auto c = static_cast<std::size_t>(cls);
  if (labels) return {f.label_position[c], f.AlignText, f.label_move_close[c]};
  return {f.attrib_position[c], f.AlignAttrib, f.attrib_move_close[c]};
}

void store_placement(FileSettings& f, int cls, bool labels, const TextPlacement& p) {
  const auto c = static_cast<std::size_t>(cls);
  if (labels) {
    f.label_position[c] = p.position;
    f.AlignText = p.align;
    f.label_move_close[c] = p.move_close;
  } else {
    f.attrib_position[c] = p.position;
    f.AlignAttrib = p.align;
    f.attrib_move_close[c] = p.move_close;
  }
}

// A "&Position" button that edits `placement` in the Text Position dialog.
QPushButton* position_button(OptionDialog* owner, TextPlacement& placement, int cls,
                             const HelpOpener& help, int help_context) {
  auto* button = new QPushButton("&Position", owner);
  button->setObjectName("position");
  QObject::connect(button, &QPushButton::clicked, owner, [=, &placement] {
    TextPositionDialog dialog(owner, placement, cls, help, help_context);
    if (dialog.exec() == QDialog::Accepted) placement = dialog.placement();
  });
  return button;
}

}  // namespace

TextLabelsDialog::TextLabelsDialog(QWidget* parent, ConvSettings& s,
                                   const std::vector<dbf_field>& fields, int shape_class,
                                   HelpOpener help)
    : OptionDialog(parent, "Text Labels", kHelpLabels, DialogPlace::labels, help),
      s_(s),
      shape_class_(shape_class),
      placement_(placement_of(s.cur, shape_class, true)),
      fields_(field_list(this, fields)),
      look_{},
      same_layer_(new QRadioButton("T&ext on same Layer as its Shape part.", this)),
      field_layers_(new QRadioButton("Text Layers to match &Field Names", this)),
      single_layer_(new QRadioButton("Te&xt on single Layer.", this)),
      layer_name_(new QLineEdit(qtext(s.cur.SingleRedlineLayer), this)),
      eliminate_(new QCheckBox("Eli&minate identical overlapping labels", this)),
      overlap_(new RealEdit(this, s.cur.OverlapFactor)) {
  // The chosen fields come first, in their label order.
  fields_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  std::vector<std::pair<int, QListWidgetItem*>> chosen;
  for (int row = fields_->count() - 1; row >= 0; --row) {
    const int position = s.def.label_fields[static_cast<std::size_t>(row)];
    if (position <= 0) continue;
    QListWidgetItem* item = fields_->takeItem(row);
    item->setCheckState(Qt::Checked);
    chosen.emplace_back(position, item);
  }
  std::sort(chosen.begin(), chosen.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [position, item] : chosen) fields_->insertItem(0, item);

  auto* up = new QPushButton("Move &Up", this);
  auto* down = new QPushButton("Move &Down", this);
  up->setObjectName("up");
  down->setObjectName("down");
  connect(up, &QPushButton::clicked, this, [this] { move_selected(-1); });
  connect(down, &QPushButton::clicked, this, [this] { move_selected(1); });
  auto* order = new QVBoxLayout;
  order->addWidget(up);
  order->addWidget(down);
  order->addStretch(1);
  auto* list_row = new QHBoxLayout;
  list_row->addWidget(fields_, 1);
  list_row->addLayout(order);
  body()->addWidget(new QLabel("Label fields, in the order of the label:", this));
  body()->addLayout(list_row);

  auto* form = new QFormLayout;
  look_ = text_look(this, s, s.cur.TextLabelsStyle, s.cur.TextLabelsHeight, s.cur.TextColour,
                    help, kHelpLabels, form);
  form->addRow(position_button(this, placement_, shape_class, help, kHelpLabels));
  body()->addLayout(form);

  auto* layer = new QGroupBox("Label layer", this);
  auto* layer_box = new QVBoxLayout(layer);
  same_layer_->setObjectName("same_layer");
  field_layers_->setObjectName("field_layers");
  single_layer_->setObjectName("single_layer");
  layer_name_->setObjectName("layer_name");
  for (QRadioButton* b : {same_layer_, field_layers_, single_layer_}) layer_box->addWidget(b);
  auto* name_row = new QFormLayout;
  name_row->addRow("&Layer Name:", layer_name_);
  layer_box->addLayout(name_row);
  (s.cur.flgSingleRedlineLayer == 1   ? single_layer_
   : s.cur.flgSingleRedlineLayer == 2 ? field_layers_
                                      : same_layer_)
      ->setChecked(true);
  body()->addWidget(layer);

  eliminate_->setObjectName("eliminate");
  overlap_->setObjectName("overlap");
  eliminate_->setChecked(s.cur.ElimDoubleLabels == 1);
  auto* overlap_row = new QFormLayout;
  overlap_row->addRow(eliminate_);
  overlap_row->addRow("&Overlap factor:", overlap_);
  body()->addLayout(overlap_row);
}

void TextLabelsDialog::move_selected(int step) {
  const QList<QListWidgetItem*> selected = fields_->selectedItems();
  if (selected.size() != 1) {
    show_error("To change Text Labels order, select 1 Label only");
    return;
  }
  const int row = fields_->row(selected.front());
  const int to = row + step;
  if (to < 0 || to >= fields_->count()) return;
  QListWidgetItem* item = fields_->takeItem(row);
  fields_->insertItem(to, item);
  fields_->setCurrentItem(item);
  clear_error();
}

bool TextLabelsDialog::take_values() {
  std::array<int, kMaxFields> positions{};
  int chosen = 0;
  for (int row = 0; row < fields_->count(); ++row) {
    const QListWidgetItem* item = fields_->item(row);
    if (item->checkState() != Qt::Checked) continue;
    positions[static_cast<std::size_t>(item->data(Qt::UserRole).toInt())] = ++chosen;
  }
  if (chosen == 0) {
    show_error("Error: No Text Label Fields have been specified");
    return false;
  }
  double height = 0.0;
  if (!take_height(look_, height)) {
    show_error(error_height());
    return false;
  }
  const std::string layer = layer_name_->text().trimmed().toStdString();
  if (single_layer_->isChecked()) {
    if (layer.empty()) {
      show_error("Name cannot be blank, reenter");
      return false;
    }
    if (s_.verDXF != 7 && layer.size() > kMaxLayerR14) {
      show_error("Layer Name cannot exceed 31 characters for DXF/DWG versions up to release 14, "
                 "reenter");
      return false;
    }
  }
  const std::optional<double> typed = overlap_->value();
  const bool ok = typed.has_value();
  const double overlap = typed.value_or(0.0);
  if (eliminate_->isChecked() && (!ok || overlap < kMinOverlap)) {
    show_error("Range error: Overlap factor must be greater than 0.01");
    return false;
  }
  FileSettings& f = s_.cur;
  s_.def.label_fields = positions;
  s_.def.num_label_fields = chosen;
  f.TextLabelsStyle = look_.style->currentText().toStdString();
  f.TextLabelsHeight = height;
  f.TextColour = look_.pen->colour();
  f.flgSingleRedlineLayer = single_layer_->isChecked() ? 1 : field_layers_->isChecked() ? 2 : 0;
  if (!layer.empty()) f.SingleRedlineLayer = layer;
  f.ElimDoubleLabels = eliminate_->isChecked() ? 1 : 0;
  if (ok) f.OverlapFactor = overlap;
  store_placement(f, shape_class_, true, placement_);
  return true;
}

AttributesDialog::AttributesDialog(QWidget* parent, ConvSettings& s,
                                   const std::vector<dbf_field>& fields, int shape_class,
                                   HelpOpener help)
    : OptionDialog(parent, "Feature Attributes Filter", kHelpAttributes, DialogPlace::attributes,
                   help),
      s_(s),
      fields_(field_list(this, fields)),
      normal_(new QRadioButton("&Normal", this)),
      xdata_(new QRadioButton("&Xdata / QikDraw", this)) {
  for (int row = 0; row < fields_->count(); ++row) {
    if (s.def.attrib_fields[static_cast<std::size_t>(row)] != 0) {
      fields_->item(row)->setCheckState(Qt::Checked);
    }
  }
  body()->addWidget(new QLabel("Fields to translate:", this));
  body()->addWidget(fields_, 1);
  auto* type = new QGroupBox("Attribute T&ype", this);
  auto* type_box = new QHBoxLayout(type);
  normal_->setObjectName("normal");
  xdata_->setObjectName("xdata");
  type_box->addWidget(normal_);
  type_box->addWidget(xdata_);
  ((s.cur.Attribs & kAttribsExtended) != 0 ? xdata_ : normal_)->setChecked(true);
  body()->addWidget(type);
  auto* properties = new QPushButton("Properties", this);
  properties->setObjectName("properties");
  connect(properties, &QPushButton::clicked, this, [this, help, shape_class] {
    AttributePropertiesDialog(this, s_, shape_class, help).exec();
  });
  body()->addWidget(properties, 0, Qt::AlignLeft);
}

bool AttributesDialog::take_values() {
  std::array<int, kMaxFields> flags{};
  int chosen = 0;
  for (int row = 0; row < fields_->count(); ++row) {
    if (fields_->item(row)->checkState() != Qt::Checked) continue;
    flags[static_cast<std::size_t>(row)] = 1;
    ++chosen;
  }
  if (chosen == 0) {
    show_error("Error: No Feature Attributes to Translate have been specified");
    return false;
  }
  s_.def.attrib_fields = flags;
  s_.def.num_attrib_selected = chosen;
  s_.cur.Attribs = kAttribsOn | (xdata_->isChecked() ? kAttribsExtended : 0);
  return true;
}

AttributePropertiesDialog::AttributePropertiesDialog(QWidget* parent, ConvSettings& s,
                                                     int shape_class, HelpOpener help)
    : OptionDialog(parent, "Attribute Properties", kHelpAttributes,
                   DialogPlace::attribute_properties, help),
      s_(s),
      shape_class_(shape_class),
      placement_(placement_of(s.cur, shape_class, false)),
      look_{},
      same_colour_(new QCheckBox("&Text Pen same color as shape", this)),
      visible_(new QCheckBox("&Visible", this)) {
  auto* form = new QFormLayout;
  look_ = text_look(this, s, s.cur.TextAttribStyle, s.cur.TextAttribHeight,
                    s.cur.AttribTextColour, help, kHelpAttributes, form);
  form->addRow(position_button(this, placement_, shape_class, help, kHelpAttributes));
  body()->addLayout(form);
  same_colour_->setObjectName("same_colour");
  visible_->setObjectName("visible");
  same_colour_->setChecked(s.cur.AttribColSameAsShape != 0);
  visible_->setChecked(s.cur.AttVis != 0);
  body()->addWidget(same_colour_);
  body()->addWidget(visible_);
}

bool AttributePropertiesDialog::take_values() {
  double height = 0.0;
  if (!take_height(look_, height)) {
    show_error(error_height());
    return false;
  }
  FileSettings& f = s_.cur;
  f.TextAttribStyle = look_.style->currentText().toStdString();
  f.TextAttribHeight = height;
  f.AttribTextColour = look_.pen->colour();
  f.AttribColSameAsShape = same_colour_->isChecked() ? 1 : 0;
  f.AttVis = visible_->isChecked() ? 1 : 0;
  store_placement(f, shape_class_, false, placement_);
  return true;
}

LegendDialog::LegendDialog(QWidget* parent, ConvSettings& s, HelpOpener help)
    : OptionDialog(parent, "Legend Properties", kHelpLegend, DialogPlace::legend, help),
      s_(s),
      look_{},
      layer_(new QLineEdit(qtext(s.cur.LegendLayer), this)) {
  auto* form = new QFormLayout;
  look_ = text_look(this, s, s.cur.TextLegendStyle, s.cur.TextLegendHeight,
                    s.cur.LegendTextColour, help, kHelpLegend, form);
  layer_->setObjectName("layer");
  form->addRow("&Layer:", layer_);
  body()->addLayout(form);
}

bool LegendDialog::take_values() {
  double height = 0.0;
  if (!take_height(look_, height)) {
    show_error(error_height());
    return false;
  }
  const std::string layer = layer_->text().trimmed().toStdString();
  if (layer.empty()) {
    show_error("Name cannot be blank, reenter");
    return false;
  }
  FileSettings& f = s_.cur;
  f.TextLegendStyle = look_.style->currentText().toStdString();
  f.TextLegendHeight = height;
  f.LegendTextColour = look_.pen->colour();
  f.LegendLayer = layer;
  return true;
}

}  // namespace tsn::ui
