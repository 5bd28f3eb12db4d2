// The colour scheme editor: "Edit Color Schemes" (the schemes, their names and a strip of the
// selected one's colours), the "Colours" of one scheme with undo and redo, and the dialog that
// asks a scheme's name. One editing session runs while "Edit Color Schemes" is open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/scheme_colour_editor.h"
#include "settings/scheme_editor.h"
#include "ui/option_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;

namespace tsn::ui {

class ColourGrid;

// Asks the name of a new or renamed scheme; refuses one the session cannot use.
class SchemeNameDialog final : public OptionDialog {
 public:
  // `except` is the scheme being renamed (SIZE_MAX for a new one), whose own name stays usable.
  SchemeNameDialog(QWidget* parent, const SchemeEditor& editor, std::size_t except,
                   const QString& name, HelpOpener help);
  std::string name() const { return name_; }

 protected:
  bool take_values() override;

 private:
  const SchemeEditor& editor_;
  std::size_t except_;
  QLineEdit* edit_;
  std::string name_;
};

// "Colours": the colours of one scheme, edited through SchemeColourEditor; OK stores them in
// the session's working copy.
class SchemeColoursDialog final : public OptionDialog {
 public:
  SchemeColoursDialog(QWidget* parent, SchemeEditor& schemes, std::size_t index,
                      HelpOpener help);
  const SchemeColourEditor& editor() const { return colours_; }

 protected:
  bool take_values() override;

 private:
  // Shows the operation's message (with the beep) or clears the error line, then the list.
  void said(const std::string& message);
  void refresh();
  void change_colour(std::size_t entry);

  SchemeEditor& schemes_;
  std::size_t index_;
  SchemeColourEditor colours_;
  HelpOpener help_;
  ColourGrid* grid_;
  QScrollArea* scroll_;
  QLabel* entry_;
  QCheckBox* graded_;
};

// "Edit Color Schemes": begin() when it opens, ok() on OK (a failure keeps it open), cancel()
// on Cancel or close. When the working copy cannot be made nothing can be edited and OK
// leaves the schemes file as it is.
class SchemesDialog final : public OptionDialog {
 public:
  SchemesDialog(QWidget* parent, ConvSettings& s, HelpOpener help);
  ~SchemesDialog() override;
  bool editing() const { return began_; }

 protected:
  bool take_values() override;
  void done(int result) override;

 private:
  // The named scheme selected, or SIZE_MAX for the mapping entry or none.
  std::size_t selected() const;
  void fill(int row);
  void show_selected();
  void add();
  void rename();
  void remove();
  void edit_colours();

  ConvSettings& s_;
  SchemeEditor editor_;
  HelpOpener help_;
  bool began_;
  bool closed_ = false;
  QListWidget* list_;
  ColourGrid* strip_;
  QScrollArea* strip_scroll_;
  QPushButton* new_;
  QPushButton* rename_;
  QPushButton* delete_;
  QPushButton* colours_;
};

// Runs "Edit Color Schemes" over s; true when OK wrote the schemes file. Suits a
// SchemeEditorOpener: [&](QWidget* w) { open_scheme_editor(w, s, help); }.
bool open_scheme_editor(QWidget* parent, ConvSettings& s, HelpOpener help);

}  // namespace tsn::ui
