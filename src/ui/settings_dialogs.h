// The dialogs of single values: "Global Settings" (program-wide settings) and "No. of Classes".
#pragma once

#include <functional>

#include "run/conv_state.h"
#include "ui/option_dialog.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tsn::ui {

// "Global Settings": merging, the release, the sort order, decimal places and the network
// setting. The settings change only on OK; `edit_schemes` opens the scheme editor.
// Opens the scheme editor from the dialog given; empty while there is none.
using SchemeEditorOpener = std::function<void(QWidget*)>;

class SettingsDialog final : public OptionDialog {
 public:
  SettingsDialog(QWidget* parent, ConvSettings& s, SchemeEditorOpener edit_schemes,
                 HelpOpener help);

 protected:
  bool take_values() override;

 private:
  ConvSettings& s_;
  QCheckBox* merge_;
  QRadioButton* releases_[3];
  QRadioButton* case_sensitive_;
  QRadioButton* ignore_case_;
  QLineEdit* decimals_;
  QCheckBox* network_;
};

// "No. of Classes": 1 to 1024.
class ClassesDialog final : public OptionDialog {
 public:
  ClassesDialog(QWidget* parent, int classes, HelpOpener help, int help_context);
  int classes() const { return classes_; }

 protected:
  bool take_values() override;

 private:
  QLineEdit* count_;
  int classes_;
};

}  // namespace tsn::ui
