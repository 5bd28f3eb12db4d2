// What every option dialog shares: its error line (a refused value is said there with a beep
// and the dialog stays open), OK, Cancel and Help, its help context and its remembered place.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QVBoxLayout;

namespace tsn::ui {

// Opens the manual at a help context, in a viewer owned by the dialog asking.
using HelpOpener = std::function<void(QWidget* dialog, int context)>;

// Places remembered for the run, one per dialog (the main window's is 0, the batch window's 1).
enum class DialogPlace {
  layers = 2, polygon_colours, point_colours, point_options, marker, labels, text_position,
  attributes, attribute_properties, legend, settings, styles, classes, range, colour_picker,
  schemes, scheme_colours, scheme_name
};

class OptionDialog : public QDialog {
 public:
  OptionDialog(QWidget* parent, const QString& title, int help_context, DialogPlace place,
               HelpOpener help);

  int help_context() const { return help_context_; }
  QString error_text() const;

 protected:
  // The dialog's own controls go above the error line and the buttons.
  QVBoxLayout* body() const { return body_; }
  // Checks and takes the values; false after show_error(), the dialog then stays open.
  virtual bool take_values() = 0;
  void show_error(const QString& text);
  void clear_error();
  void done(int result) override;

 private:
  QVBoxLayout* body_;
  QLabel* error_;
  int help_context_;
  DialogPlace place_;
};

}  // namespace tsn::ui
