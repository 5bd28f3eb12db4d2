// The key field and classes of the layer and colour dialogs.
#include "ui/key_classes_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/legend_file.h"
#include "ui/dialog_widgets.h"
#include "ui/layer_dialogs.h"
#include "ui/settings_dialogs.h"

namespace tsn::ui {

namespace {

constexpr const char* kMethods[3] = {"Quantile", "Equal Intervals", "Unique Values"};

}  // namespace

KeyClassesPanel::KeyClassesPanel(QWidget* parent, ConvSettings& s,
                                 const std::vector<dbf_field>& fields, const KeyPanelSetup& setup,
                                 KeyPreviewer preview, HelpOpener help)
    : QWidget(parent),
      s_(s),
      layer_key_(setup.layer_key),
      help_context_(setup.help_context),
      preview_(std::move(preview)),
      help_(std::move(help)),
      key_(field_box(this, fields, setup.key, false, "key")),
      methods_{new QRadioButton(kMethods[0], this), new QRadioButton(kMethods[1], this),
               new QRadioButton(kMethods[2], this)},
      count_(new QLabel(this)),
      classes_(new QListWidget(this)),
      show_labels_(new QRadioButton(setup.layer_key ? "Layer Names" : "Labels", this)),
      show_values_(new QRadioButton("Values", this)),
      ignore_outside_(new QCheckBox("Don't translate entities outside of ranges", this)),
      requested_(setup.requested) {
  // Each choice excludes only its own kind, wherever the buttons end up in the layout.
  auto* methods = new QButtonGroup(this);
  for (QRadioButton* m : methods_) methods->addButton(m);
  auto* shown_as = new QButtonGroup(this);
  shown_as->addButton(show_labels_);
  shown_as->addButton(show_values_);
  classes_->setObjectName("classes");
  show_values_->setObjectName("show_values");
  show_labels_->setObjectName("show_names");
  ignore_outside_->setObjectName("ignore_outside");
  for (int m = 0; m < 3; ++m) {
    methods_[m]->setObjectName(QString("method_%1").arg(m));
    methods_[m]->setChecked(setup.method == m);
  }
  show_labels_->setChecked(true);
  ignore_outside_->setChecked(setup.ignore_outside);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* method = new QGroupBox("Classification", this);
  auto* method_row = new QHBoxLayout(method);
  for (QRadioButton* m : methods_) method_row->addWidget(m);
  auto* classes_button = new QPushButton("No. Classes", this);
  classes_button->setObjectName("no_classes");
  method_row->addStretch(1);
  method_row->addWidget(count_);
  method_row->addWidget(classes_button);
  layout->addWidget(method);
  auto* shown = new QHBoxLayout;
  shown->addWidget(new QLabel("Classes (double-click to edit):", this));
  shown->addStretch(1);
  shown->addWidget(show_labels_);
  shown->addWidget(show_values_);
  layout->addLayout(shown);
  layout->addWidget(classes_, 1);
  auto* files = new QHBoxLayout;
  auto* load = new QPushButton("Load Ran&ges...", this);
  auto* save = new QPushButton("Save Ra&nges...", this);
  load->setObjectName("load_ranges");
  save->setObjectName("save_ranges");
  files->addWidget(ignore_outside_);
  files->addStretch(1);
  files->addWidget(load);
  files->addWidget(save);
  layout->addLayout(files);

  connect(classes_button, &QPushButton::clicked, this, [this] {
    ClassesDialog dialog(this, requested_, help_, help_context_);
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
  connect(show_values_, &QRadioButton::toggled, this, [this] { show_classes(); });
  connect(load, &QPushButton::clicked, this, [this] { choose_legend_file(false); });
  connect(save, &QPushButton::clicked, this, [this] { choose_legend_file(true); });

  if (setup.current != nullptr && !setup.current->classes.empty()) {
    shown_.classes = *setup.current;
    shown_.method = setup.method;
    shown_.numeric = setup.current->type != NumberType::alphabetic;
  }
}

std::string KeyClassesPanel::key() const { return key_->currentText().toStdString(); }

bool KeyClassesPanel::ignore_outside() const { return ignore_outside_->isChecked(); }

int KeyClassesPanel::selected_row() const { return classes_->currentRow(); }

void KeyClassesPanel::set_keyed(bool keyed) {
  key_->setEnabled(keyed);
  for (QRadioButton* m : methods_) m->setEnabled(keyed);
  classes_->setEnabled(keyed);
}

void KeyClassesPanel::set_class_count(int classes) {
  requested_ = classes;
  refresh();
}

void KeyClassesPanel::refresh() {
  shown_ = {};
  if (key_->isEnabled() && preview_ && key_->currentIndex() >= 0) {
    int method = 0;
    for (int m = 0; m < 3; ++m) {
      if (methods_[m]->isChecked()) method = m;
    }
    shown_ = preview_(key(), method, requested_);
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

void KeyClassesPanel::show_classes() {
  if (shown_.method != 2) count_->setText(QString("%1 classes").arg(requested_));
  if (on_classes_changed) on_classes_changed();
  const int row = classes_->currentRow();
  classes_->clear();
  const NumberType type = shown_.classes.type;
  int i = 0;
  for (const KeyClass& c : shown_.classes.classes) {
    auto* item = new QListWidgetItem(
        show_values_->isChecked() ? range_text(c, type) : qtext(c.label), classes_);
    if (row_icon) item->setIcon(row_icon(i));
    ++i;
  }
  if (row >= 0 && row < classes_->count()) classes_->setCurrentRow(row);
}

void KeyClassesPanel::edit_class(int row) {
  if (row < 0 || row >= static_cast<int>(shown_.classes.classes.size())) return;
  KeyClass& c = shown_.classes.classes[static_cast<std::size_t>(row)];
  EditRangeDialog dialog(this, c, shown_.classes.type, layer_key_, s_.verDXF, help_,
                         help_context_);
  if (dialog.exec() != QDialog::Accepted) return;
  c = dialog.range();
  shown_.classes.edited = true;
  show_classes();
}

QString KeyClassesPanel::load_legend(const std::string& path) {
  ConvSettings loaded = s_;
  std::string error;
  if (load_legend_file(path, loaded, layer_key_, error) != 0) return qtext(error);
  RangeSet ranges = layer_key_ ? loaded.layer_ranges : loaded.colour_ranges;
  const bool numeric_ranges = ranges.type != NumberType::alphabetic;
  if (!shown_.classes.classes.empty() && numeric_ranges != shown_.numeric) {
    return numeric_ranges ? "The ranges of this file are numbers but the key field holds text"
                          : "The ranges of this file are texts but the key field is numeric";
  }
  remember_legend_directory(s_, path);
  ranges.edited = true;
  shown_.classes = std::move(ranges);
  shown_.numeric = numeric_ranges;
  show_classes();
  return {};
}

QString KeyClassesPanel::save_legend(const std::string& path) const {
  ConvSettings saved = s_;
  (layer_key_ ? saved.layer_ranges : saved.colour_ranges) = shown_.classes;
  (layer_key_ ? saved.def.LayersKey : saved.def.ColoursKey) = key();
  if (save_legend_file(path, saved, layer_key_) != 0) {
    return qtext("Cannot write the legend range file " + path);
  }
  return {};
}

void KeyClassesPanel::choose_legend_file(bool save) {
  const QString filter =
      QString("Legend range files (*.%1);;All files (*)").arg(qtext(s_.LegendFileType));
  const QString folder = qtext(legend_directory(s_));
  const QString path =
      save ? QFileDialog::getSaveFileName(this, "Save Ranges", folder, filter)
           : QFileDialog::getOpenFileName(this, "Load Ranges", folder, filter);
  if (path.isEmpty()) return;
  const QString error = save ? save_legend(path.toStdString()) : load_legend(path.toStdString());
  if (!error.isEmpty()) {
    if (on_error) on_error(error);
  } else if (save) {
    remember_legend_directory(s_, path.toStdString());
  }
}

}  // namespace tsn::ui
