// The layer dialog and the range editor.
#include "ui/layer_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/format.h"
#include "platform/string_table.h"
#include "ui/dialog_widgets.h"
#include "ui/settings_dialogs.h"

namespace tsn::ui {

namespace {

constexpr int kHelpLayers = 241;
constexpr std::size_t kMaxLayerR14 = 31;
constexpr const char* kMethods[3] = {"Quantile", "Equal Intervals", "Unique Values"};

}  // namespace

EditRangeDialog::EditRangeDialog(QWidget* parent, const KeyClass& range, NumberType type,
                                 bool layer_class, int verDXF, HelpOpener help, int help_context)
    : OptionDialog(parent, "Edit Range", help_context, DialogPlace::range, std::move(help)),
      range_(range),
      type_(type),
      layer_class_(layer_class),
      verDXF_(verDXF),
      label_(new QLineEdit(qtext(range.label), this)),
      low_(new QLineEdit(type == NumberType::alphabetic ? qtext(range.lo_text)
                                                        : qtext(plain_number(range.lo)),
                         this)),
      high_(new QLineEdit(type == NumberType::alphabetic ? qtext(range.hi_text)
                                                         : qtext(plain_number(range.hi)),
                          this)) {
  label_->setObjectName("label");
  low_->setObjectName("low");
  high_->setObjectName("high");
  auto* form = new QFormLayout;
  form->addRow(layer_class ? "Layer Name:" : "Legend Label:", label_);
  form->addRow("Low:", low_);
  form->addRow("High:", high_);
  body()->addLayout(form);
}

bool EditRangeDialog::take_values() {
  const std::string label = label_->text().toStdString();
  KeyClass taken = range_;
  if (type_ != NumberType::alphabetic) {
    bool lo_ok = false;
    bool hi_ok = false;
    taken.lo = low_->text().trimmed().toDouble(&lo_ok);
    taken.hi = high_->text().trimmed().toDouble(&hi_ok);
    if (!lo_ok || !hi_ok) {
      show_error("Invalid Number - Re-enter");
      return false;
    }
    taken.lo_text = plain_number(taken.lo);
    taken.hi_text = plain_number(taken.hi);
  } else {
    taken.lo_text = low_->text().toStdString();
    taken.hi_text = high_->text().toStdString();
  }
  if (layer_class_ && verDXF_ == 7 && label.size() > kMaxLabelText) {
    show_error("DXF/DWG Layer Names cannot exceed 255 characters");
    return false;
  }
  if (!layer_class_ && label.size() > kMaxLabelText) {
    show_error("Label cannot exceed 255 characters");
    return false;
  }
  if (layer_class_ && verDXF_ != 7 && label.size() > kMaxLayerR14) {
    // Accepted all the same: the name is cut when it is written.
    QMessageBox::warning(this, windowTitle(),
                         "Warning: Layer name exceeding 31 characters will be truncated for "
                         "dxf/dwg Rel.11-14");
  }
  taken.label = label;
  range_ = taken;
  return true;
}

LayersDialog::LayersDialog(QWidget* parent, ConvSettings& s, const std::vector<dbf_field>& fields,
                           LayerPreviewer preview, HelpOpener help)
    : OptionDialog(parent, "Layers Control", kHelpLayers, DialogPlace::layers, help),
      s_(s),
      preview_(std::move(preview)),
      help_(help),
      single_(new QRadioButton("&Single Layer:", this)),
      by_feature_(new QRadioButton("Layers &linked to Feature:", this)),
      layer_name_(new QComboBox(this)),
      key_(field_box(this, fields, s.def.LayersKey, false, "key")),
      methods_{new QRadioButton(kMethods[0], this), new QRadioButton(kMethods[1], this),
               new QRadioButton(kMethods[2], this)},
      count_(new QLabel(this)),
      classes_(new QListWidget(this)),
      show_names_(new QRadioButton("Layer Names", this)),
      show_values_(new QRadioButton("Values", this)),
      ignore_outside_(new QCheckBox("Don't translate entities outside of ranges", this)),
      requested_(s.cur.NumClassesLayer) {
  // Two choices side by side in the dialog: each pair excludes only its own partner.
  for (const auto& [a, b] : {std::pair{single_, by_feature_}, std::pair{show_names_, show_values_}}) {
    auto* group = new QButtonGroup(this);
    group->addButton(a);
    group->addButton(b);
  }
  single_->setObjectName("single");
  by_feature_->setObjectName("by_feature");
  layer_name_->setObjectName("layer_name");
  classes_->setObjectName("classes");
  show_values_->setObjectName("show_values");
  show_names_->setObjectName("show_names");
  ignore_outside_->setObjectName("ignore_outside");
  layer_name_->setEditable(true);
  for (const std::string& name : s.layer_history) {
    if (!name.empty()) layer_name_->addItem(qtext(name));
  }
  layer_name_->setEditText(qtext(s.def.SingleLayerName.empty()
                                       ? std::string(s.layer_history[0])
                                       : s.def.SingleLayerName));
  (s.cur.LayerByFeature != 0 ? by_feature_ : single_)->setChecked(true);
  by_feature_->setEnabled(!fields.empty());
  for (int m = 0; m < 3; ++m) {
    methods_[m]->setObjectName(QString("method_%1").arg(m));
    methods_[m]->setChecked(s.cur.ClassTypeLayer == m);
  }
  show_names_->setChecked(true);
  ignore_outside_->setChecked(s.cur.IgnoreLayRangeEnts != 0);

  auto* which = new QFormLayout;
  which->addRow(single_, layer_name_);
  which->addRow(by_feature_, key_);
  body()->addLayout(which);
  auto* method = new QGroupBox("Classification", this);
  auto* method_row = new QHBoxLayout(method);
  for (QRadioButton* m : methods_) method_row->addWidget(m);
  auto* classes_button = new QPushButton("No. Classes", this);
  classes_button->setObjectName("no_classes");
  method_row->addStretch(1);
  method_row->addWidget(count_);
  method_row->addWidget(classes_button);
  body()->addWidget(method);
  auto* shown = new QHBoxLayout;
  shown->addWidget(new QLabel("Classes (double-click to edit):", this));
  shown->addStretch(1);
  shown->addWidget(show_names_);
  shown->addWidget(show_values_);
  body()->addLayout(shown);
  body()->addWidget(classes_, 1);
  body()->addWidget(ignore_outside_);

  connect(classes_button, &QPushButton::clicked, this, [this] {
    ClassesDialog dialog(this, requested_, help_, kHelpLayers);
    if (dialog.exec() == QDialog::Accepted) set_class_count(dialog.classes());
  });
  connect(classes_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { edit_class(classes_->row(item)); });
  connect(key_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
  for (QRadioButton* m : methods_) {
    connect(m, &QRadioButton::toggled, this, [this](bool on) {
      if (on) refresh();
    });
  }
  connect(by_feature_, &QRadioButton::toggled, this, [this] { refresh(); });
  connect(show_values_, &QRadioButton::toggled, this, [this] { show_classes(); });
  // The input's own classes, as the last conversion or its definition file left them.
  if (s.cur.LayerByFeature != 0 && !s.layer_ranges.classes.empty()) {
    shown_.classes = s.layer_ranges;
    shown_.method = s.cur.ClassTypeLayer;
    shown_.numeric = s.layer_ranges.type != NumberType::alphabetic;
    edited_ = s.def.layer_ranges_edited;
    show_classes();
  } else {
    refresh();
  }
  resize(520, 520);
}

void LayersDialog::set_class_count(int classes) {
  requested_ = classes;
  refresh();
}

void LayersDialog::refresh() {
  const bool keyed = by_feature_->isChecked();
  layer_name_->setEnabled(!keyed);
  key_->setEnabled(keyed);
  for (QRadioButton* m : methods_) m->setEnabled(keyed);
  classes_->setEnabled(keyed);
  count_->setText(QString("%1 classes").arg(requested_));
  shown_ = {};
  edited_ = false;
  if (keyed && preview_ && key_->currentIndex() >= 0) {
    int method = 0;
    for (int m = 0; m < 3; ++m) {
      if (methods_[m]->isChecked()) method = m;
    }
    shown_ = preview_(key_->currentText().toStdString(), method, requested_);
    // Unique Values of too many values became Quantile (the status list says why).
    const QSignalBlocker quiet(methods_[shown_.method]);
    methods_[shown_.method]->setChecked(true);
    // Unique Values makes a class of every value, whatever the count asked for.
    if (shown_.method == 2) {
      count_->setText(QString("%1 values").arg(shown_.classes.classes.size()));
    }
  }
  show_classes();
}

void LayersDialog::show_classes() {
  classes_->clear();
  const NumberType type = shown_.classes.type;
  for (const KeyClass& c : shown_.classes.classes) {
    classes_->addItem(show_values_->isChecked() ? range_text(c, type) : qtext(c.label));
  }
}

void LayersDialog::edit_class(int row) {
  if (row < 0 || row >= static_cast<int>(shown_.classes.classes.size())) return;
  KeyClass& c = shown_.classes.classes[static_cast<std::size_t>(row)];
  EditRangeDialog dialog(this, c, shown_.classes.type, true, s_.verDXF, help_, kHelpLayers);
  if (dialog.exec() != QDialog::Accepted) return;
  c = dialog.range();
  edited_ = true;
  show_classes();
}

bool LayersDialog::take_values() {
  const bool keyed = by_feature_->isChecked();
  const std::string single = layer_name_->currentText().trimmed().toStdString();
  if (!keyed && single.empty()) {
    show_error("Name cannot be blank, reenter");
    return false;
  }
  const auto layers = static_cast<long>(shown_.classes.classes.size());
  if (keyed && shown_.method == 2 && layers > s_.LayersWarning) {
    const std::string text =
        format_printf(load_text(121).c_str(), static_cast<int>(std::min(layers, 32767L)));
    // Yes: the user revises the choice in the dialog.
    if (QMessageBox::question(this, qtext(load_text(122)), qtext(text)) == QMessageBox::Yes) {
      return false;
    }
  }
  FileSettings& f = s_.cur;
  f.LayerByFeature = keyed ? 1 : 0;
  f.IgnoreLayRangeEnts = ignore_outside_->isChecked() ? 1 : 0;
  if (!keyed) {
    s_.def.SingleLayerName = single;
    return true;
  }
  s_.def.LayersKey = key_->currentText().toStdString();
  f.ClassTypeLayer = shown_.method;
  f.NumClassesLayer = requested_;
  s_.layer_ranges = shown_.classes;
  s_.def.layer_ranges_edited = edited_;
  return true;
}

}  // namespace tsn::ui
