// "Global Settings" and "No. of Classes".
#include "ui/settings_dialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/dxf_number.h"
#include "platform/format.h"
#include "platform/string_table.h"
#include "settings/value_ranges.h"

namespace tsn::ui {

namespace {

constexpr int kHelpSettings = 270;
constexpr int kReleaseCodes[3] = {4, 6, 7};

// A whole number typed in an edit; false when the text is not one.
bool whole_number(const QLineEdit* edit, int& value) {
  bool ok = false;
  value = edit->text().trimmed().toInt(&ok);
  return ok;
}

}  // namespace

SettingsDialog::SettingsDialog(QWidget* parent, ConvSettings& s,
                               SchemeEditorOpener edit_schemes, HelpOpener help)
    : OptionDialog(parent, "Global Settings", kHelpSettings, DialogPlace::settings,
                   std::move(help)),
      s_(s),
      merge_(new QCheckBox("&Merge straight lines", this)),
      releases_{new QRadioButton("&AutoCAD Release 11,12,13", this),
                new QRadioButton("A&utoCAD Release 14", this),
                new QRadioButton("AutoCAD &2000", this)},
      case_sensitive_(new QRadioButton("Case &Sensitive", this)),
      ignore_case_(new QRadioButton("&Ignore Case", this)),
      decimals_(new QLineEdit(QString::number(s.DecPlaces), this)),
      network_(new QCheckBox("&Network", this)) {
  merge_->setObjectName("merge");
  merge_->setChecked(s.Merge != 0);
  auto* release = new QGroupBox("Output release", this);
  auto* release_layout = new QVBoxLayout(release);
  for (int i = 0; i < 3; ++i) {
    releases_[i]->setObjectName(QString("release_%1").arg(kReleaseCodes[i]));
    releases_[i]->setChecked(s.verDXF == kReleaseCodes[i]);
    release_layout->addWidget(releases_[i]);
  }
  auto* order = new QGroupBox("Sorting of text values", this);
  auto* order_layout = new QHBoxLayout(order);
  case_sensitive_->setChecked(s.SortMethod == 0);
  ignore_case_->setChecked(s.SortMethod != 0);
  order_layout->addWidget(case_sensitive_);
  order_layout->addWidget(ignore_case_);
  decimals_->setObjectName("decimals");
  network_->setObjectName("network");
  network_->setChecked(s.Network == 1);
  auto* schemes = new QPushButton("Edit &Color Schemes", this);
  schemes->setObjectName("edit_schemes");
  schemes->setEnabled(static_cast<bool>(edit_schemes));
  connect(schemes, &QPushButton::clicked, this, [this, edit_schemes] { edit_schemes(this); });
  auto* form = new QFormLayout;
  form->addRow("DXF Decimal Places (0-16):", decimals_);
  body()->addWidget(merge_);
  body()->addWidget(release);
  body()->addWidget(order);
  body()->addLayout(form);
  body()->addWidget(network_);
  body()->addWidget(schemes);
}

bool SettingsDialog::take_values() {
  int places = 0;
  if (!whole_number(decimals_, places) || places < 0 || places > kMaxDecPlaces) {
    show_error(QString::fromStdString(load_text(51)));
    return false;
  }
  s_.Merge = merge_->isChecked() ? 1 : 0;
  for (int i = 0; i < 3; ++i) {
    if (releases_[i]->isChecked()) s_.verDXF = kReleaseCodes[i];
  }
  s_.SortMethod = ignore_case_->isChecked() ? 1 : 0;
  // The number formats of the next conversion follow from DecPlaces.
  s_.DecPlaces = places;
  s_.Network = network_->isChecked() ? 1 : 0;
  return true;
}

ClassesDialog::ClassesDialog(QWidget* parent, int classes, HelpOpener help, int help_context)
    : OptionDialog(parent, "No. of Classes", help_context, DialogPlace::classes, std::move(help)),
      count_(new QLineEdit(QString::number(classes), this)),
      classes_(classes) {
  count_->setObjectName("classes");
  auto* form = new QFormLayout;
  form->addRow("No. Classes:", count_);
  body()->addLayout(form);
}

bool ClassesDialog::take_values() {
  int n = 0;
  if (!whole_number(count_, n) || n < 1 || n > kMaxClasses) {
    show_error(QString::fromStdString(
        format_printf("Number of Classes out of range (1-%d)", kMaxClasses)));
    return false;
  }
  classes_ = n;
  return true;
}

}  // namespace tsn::ui
