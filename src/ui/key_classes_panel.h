// The part the layer and colour dialogs share: a key field, its classification method and
// class count, the classes it gives (labels or values shown, a double click edits one), the
// range skipping switch, and legend range files loaded into or saved from the list.
#pragma once

#include <QIcon>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "input/dbf_field.h"
#include "run/conv_state.h"
#include "run/interactive_session.h"
#include "ui/option_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;

namespace tsn::ui {

// The classes a key field, method and class count give for the input.
using KeyPreviewer =
    std::function<KeyPreview(const std::string& field, int method, int classes)>;

struct KeyPanelSetup {
  bool layer_key = true;  // the layer key (classes are layer names) or the colour key
  std::string key;        // the field chosen now
  int method = 0;
  int requested = 5;
  bool ignore_outside = true;
  const RangeSet* current = nullptr;  // the input's own classes, shown first when there are any
  int help_context = 0;
};

class KeyClassesPanel final : public QWidget {
 public:
  KeyClassesPanel(QWidget* parent, ConvSettings& s, const std::vector<dbf_field>& fields,
                  const KeyPanelSetup& setup, KeyPreviewer preview, HelpOpener help);

  // Called after the list changed (another key, method or count, an edit, a loaded file).
  std::function<void()> on_classes_changed;
  // An icon for a row of the list (the colour dialog shows each class's colour).
  std::function<QIcon(int row)> row_icon;

  // Builds the classes again from the key, method and count chosen.
  void refresh();
  void show_classes();
  void set_keyed(bool keyed);
  void set_class_count(int classes);
  // Opens Edit Range on a class of the list (what a double click does).
  void edit_class(int row);
  // A legend range file into the list, or the list into one; the error text, empty when done.
  QString load_legend(const std::string& path);
  QString save_legend(const std::string& path) const;

  const KeyPreview& shown() const { return shown_; }
  std::string key() const;
  int requested() const { return requested_; }
  bool ignore_outside() const;
  int selected_row() const;
  // The error text of the last load or save by the buttons, for the dialog's error line.
  std::function<void(const QString&)> on_error;

 private:
  void choose_legend_file(bool save);

  ConvSettings& s_;
  bool layer_key_;
  int help_context_;
  KeyPreviewer preview_;
  HelpOpener help_;
  QComboBox* key_;
  QRadioButton* methods_[3];
  QLabel* count_;
  QListWidget* classes_;
  QRadioButton* show_labels_;
  QRadioButton* show_values_;
  QCheckBox* ignore_outside_;
  KeyPreview shown_;
  int requested_;
};

}  // namespace tsn::ui
