// "Text Styles": the styles of the styles file (name and font file), added, changed and
// removed in the dialog and written back on OK.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/conv_settings.h"
#include "ui/option_dialog.h"

class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace tsn::ui {

using TextStyles = std::vector<std::pair<std::string, std::string>>;

class StylesDialog final : public OptionDialog {
 public:
  StylesDialog(QWidget* parent, ConvSettings& s, HelpOpener help, int help_context);
  const TextStyles& styles() const { return styles_; }

 protected:
  // Writes the styles file and loads it again; a failed write keeps the dialog open.
  bool take_values() override;

 private:
  int selected() const;
  void fill(int row);
  void show_selected();
  // The typed name and font file when they may stand as style `except` (-1: a new one).
  bool typed(int except, std::pair<std::string, std::string>& style);
  void add();
  void edit();
  void remove();

  ConvSettings& s_;
  TextStyles styles_;
  QTreeWidget* list_;
  QLineEdit* name_;
  QLineEdit* font_;
};

// Runs "Text Styles" over s; true when OK wrote the styles file, s.text_styles and the current
// style names having followed it. The caller's style boxes are then filled again.
bool open_text_styles(QWidget* parent, ConvSettings& s, HelpOpener help, int help_context);

// Fills a style box made by style_box() again from s.text_styles, keeping its current text
// (added when no style has that name any more).
void refill_style_box(QComboBox* box, const ConvSettings& s);

// A style box with a "Styles..." button beside it that opens "Text Styles" and fills the box
// again after a change; the row to put in the dialog's form.
QWidget* with_styles_button(QComboBox* box, ConvSettings& s, HelpOpener help, int help_context);

}  // namespace tsn::ui
