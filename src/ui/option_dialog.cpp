// The frame of an option dialog: error line, buttons, help and remembered place.
#include "ui/option_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "run/conv_state.h"

namespace tsn::ui {

namespace {

WindowPosition& place_of(DialogPlace place) {
  return conv_state.settings.window_positions[static_cast<std::size_t>(place)];
}

// The desktop the window is on, all of it inside.
bool inside_desktop(const QRect& frame) {
  const QScreen* screen = QGuiApplication::screenAt(frame.center());
  return screen != nullptr && screen->availableGeometry().contains(frame);
}

}  // namespace

OptionDialog::OptionDialog(QWidget* parent, const QString& title, int help_context,
                           DialogPlace place, HelpOpener help)
    : QDialog(parent),
      body_(new QVBoxLayout),
      error_(new QLabel(this)),
      help_context_(help_context),
      place_(place) {
  setWindowTitle(title);
  setObjectName("option_dialog");
  error_->setObjectName("error_line");
  error_->setStyleSheet("color: #b00020");
  error_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Help (and F1) open the manual at this dialog's settings; the dialog stays open.
  const auto open_help = [this, help] {
    if (help) help(this, help_context_);
  };
  connect(buttons, &QDialogButtonBox::helpRequested, this, open_help);
  new QShortcut(QKeySequence::HelpContents, this, open_help);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body_, 1);
  layout->addWidget(error_);
  layout->addWidget(buttons);
  const WindowPosition& at = place_of(place_);
  if (at.x >= 0 && at.y >= 0) {
    // Moved only when it fits there (the size is the dialog's own).
    const QRect frame(QPoint(at.x, at.y), sizeHint());
    if (inside_desktop(frame)) move(at.x, at.y);
  }
}

QString OptionDialog::error_text() const { return error_->text(); }

void OptionDialog::show_error(const QString& text) {
  QApplication::beep();
  error_->setText(text);
}

void OptionDialog::clear_error() { error_->clear(); }

void OptionDialog::done(int result) {
  if (result == QDialog::Accepted && !take_values()) return;
  if (inside_desktop(frameGeometry()) && pos().x() >= 0 && pos().y() >= 0) {
    place_of(place_) = {pos().x(), pos().y()};
  }
  QDialog::done(result);
}

}  // namespace tsn::ui
