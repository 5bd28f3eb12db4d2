// The layer dialog and the range editor.
#include "ui/layer_dialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/format.h"
#include "platform/string_table.h"
#include "ui/dialog_widgets.h"

namespace tsn::ui {

namespace {

constexpr int kHelpLayers = 241;
constexpr std::size_t kMaxLayerR14 = 31;

}  // namespace

EditRangeDialog::EditRangeDialog(QWidget* parent, const KeyClass& range, NumberType type,
                                 bool layer_class, int verDXF, HelpOpener help, int help_context)
    : OptionDialog(parent, "Edit Range", help_context, DialogPlace::range, std::move(help)),
      range_(range),
      type_(type),
      layer_class_(layer_class),
      verDXF_(verDXF),
      label_(new QLineEdit(qtext(range.label), this)),
      low_(new RealEdit(this, range.lo)),
      high_(new RealEdit(this, range.hi)) {
  if (type == NumberType::alphabetic) {
    low_->setText(qtext(range.lo_text));
    high_->setText(qtext(range.hi_text));
  }
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
    const std::optional<double> lo = low_->value();
    const std::optional<double> hi = high_->value();
    if (!lo || !hi) {
      show_error("Invalid Number - Re-enter");
      return false;
    }
    taken.lo = *lo;
    taken.hi = *hi;
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
                           KeyPreviewer preview, HelpOpener help)
    : OptionDialog(parent, "Layers Control", kHelpLayers, DialogPlace::layers, help),
      s_(s),
      single_(new QRadioButton("&Single Layer:", this)),
      by_feature_(new QRadioButton("Layers &linked to Feature:", this)),
      layer_name_(new QComboBox(this)) {
  const bool keyed = s.cur.LayerByFeature != 0;
  KeyPanelSetup setup;
  setup.layer_key = true;
  setup.key = s.def.LayersKey;
  setup.method = s.cur.ClassTypeLayer;
  setup.requested = s.cur.NumClassesLayer;
  setup.ignore_outside = s.cur.IgnoreLayRangeEnts != 0;
  // The input's own classes, as the last conversion or its definition file left them.
  if (keyed) setup.current = &s.layer_ranges;
  setup.help_context = kHelpLayers;
  classes_ = new KeyClassesPanel(this, s, fields, setup, std::move(preview), std::move(help));
  classes_->on_error = [this](const QString& text) { show_error(text); };
  single_->setObjectName("single");
  by_feature_->setObjectName("by_feature");
  layer_name_->setObjectName("layer_name");
  layer_name_->setEditable(true);
  for (const std::string& name : s.layer_history) {
    if (!name.empty()) layer_name_->addItem(qtext(name));
  }
  layer_name_->setEditText(qtext(s.def.SingleLayerName.empty()
                                       ? std::string(s.layer_history[0])
                                       : s.def.SingleLayerName));
  (keyed ? by_feature_ : single_)->setChecked(true);
  by_feature_->setEnabled(!fields.empty());

  auto* which = new QFormLayout;
  which->addRow(single_, layer_name_);
  which->addRow(by_feature_, classes_->findChild<QComboBox*>("key"));
  body()->addLayout(which);
  body()->addWidget(classes_, 1);
  connect(by_feature_, &QRadioButton::toggled, this, [this] { refresh(); });
  if (keyed && !s.layer_ranges.classes.empty()) {
    layer_name_->setEnabled(false);
    classes_->show_classes();
  } else {
    refresh();
  }
  resize(520, 520);
}

void LayersDialog::refresh() {
  const bool keyed = by_feature_->isChecked();
  layer_name_->setEnabled(!keyed);
  classes_->set_keyed(keyed);
  classes_->refresh();
}

bool LayersDialog::take_values() {
  const bool keyed = by_feature_->isChecked();
  const std::string single = layer_name_->currentText().trimmed().toStdString();
  if (!keyed && single.empty()) {
    show_error("Name cannot be blank, reenter");
    return false;
  }
  const KeyPreview& shown = classes_->shown();
  const auto layers = static_cast<long>(shown.classes.classes.size());
  if (keyed && shown.method == 2 && layers > s_.LayersWarning) {
    const std::string text =
        format_printf(load_text(121).c_str(), static_cast<int>(std::min(layers, 32767L)));
    // Yes: the user revises the choice in the dialog.
    if (QMessageBox::question(this, qtext(load_text(122)), qtext(text)) == QMessageBox::Yes) {
      return false;
    }
  }
  FileSettings& f = s_.cur;
  f.LayerByFeature = keyed ? 1 : 0;
  f.IgnoreLayRangeEnts = classes_->ignore_outside() ? 1 : 0;
  if (!keyed) {
    s_.def.SingleLayerName = single;
    return true;
  }
  s_.def.LayersKey = classes_->key();
  f.ClassTypeLayer = shown.method;
  f.NumClassesLayer = classes_->requested();
  s_.layer_ranges = shown.classes;
  return true;
}

}  // namespace tsn::ui
