// Colours as widgets: a cell of a colour grid that paints its colour number, a swatch button
// that shows a setting's colour and opens the picker, and the picker ("Colours") itself.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QIcon>
#include <QPushButton>
#include <functional>

#include "ui/option_dialog.h"

class QLineEdit;

namespace tsn::ui {

// A drawing colour number as the screen shows it, and as a small square for lists.
QColor qcolour(int colour);
QIcon colour_icon(int colour);

// One colour number painted as a small square; clicked, it tells its number.
class ColourCell final : public QAbstractButton {
 public:
  ColourCell(QWidget* parent, int colour);
  int colour() const { return colour_; }
  QSize sizeHint() const override { return {16, 16}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int colour_;
};

// "Colours": one colour number, typed or picked from the grey shades, the standard and the
// extended colours of the palette.
class ColourPicker final : public OptionDialog {
 public:
  ColourPicker(QWidget* parent, int colour, HelpOpener help, int help_context);
  int colour() const { return colour_; }
  void set_number_text(const QString& text);

 protected:
  bool take_values() override;

 private:
  QLineEdit* number_;
  int colour_;
};

// A push button that is a swatch of its colour number and opens the picker when pressed.
class ColourSwatch final : public QPushButton {
 public:
  ColourSwatch(QWidget* parent, int colour, HelpOpener help, int help_context);
  int colour() const { return colour_; }
  void set_colour(int colour);
  // Called when the picker gave the swatch another colour.
  std::function<void(int)> on_changed;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int colour_;
};

}  // namespace tsn::ui
