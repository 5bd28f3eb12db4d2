// Status list, message boxes, progress and cancellation in Qt widgets.
#include "ui/qt_host.h"

#include "platform/console_host.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tsn::ui {

// While a conversion runs, a right click anywhere in the status window asks to cancel; the
// click does nothing else then (no context menu).
class QtHost::RightClickFilter final : public QObject {
 public:
  explicit RightClickFilter(QtHost& host) : host_(host) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!host_.busy_ || event->type() != QEvent::MouseButtonPress) return false;
    if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* owner = host_.window_.owner;
    if (widget == nullptr || owner == nullptr || (widget != owner && !owner->isAncestorOf(widget))) {
      return false;
    }
    host_.request_cancel();
    return true;
  }

 private:
  QtHost& host_;
};

namespace {

QString text_of(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon box_icon(Icon icon) {
  switch (icon) {
    case Icon::information: return QMessageBox::Information;
    case Icon::warning: return QMessageBox::Warning;
    case Icon::error: return QMessageBox::Critical;
    case Icon::question: return QMessageBox::Question;
    case Icon::none: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtHost::QtHost() : filter_(new RightClickFilter(*this)) {
  qApp->installEventFilter(filter_);
  // Between conversions nothing polls: a request to end (SIGTERM, Ctrl-C in the terminal)
  // is looked for here and ends the run the way its window's Exit or Quit would.
  constexpr int kSignalPollMs = 200;
  QObject::connect(&signal_watch_, &QTimer::timeout, [this] {
    // A dialog that is open (a question, Save As) is answered first.
    if (busy_ || !end_request_ || QApplication::activeModalWidget() != nullptr) return;
    if (console_host().poll_cancel()) end_request_();
  });
  signal_watch_.start(kSignalPollMs);
}

QtHost::~QtHost() {
  if (qApp != nullptr) qApp->removeEventFilter(filter_);
  delete filter_;
  if (busy_) QApplication::restoreOverrideCursor();
}

void QtHost::set_status_window(const StatusWindow& window) { window_ = window; }

void QtHost::status_append(std::string_view text) {
  ++lines_;
  if (window_.status == nullptr) return;
  QTextCursor end(window_.status->document());
  end.movePosition(QTextCursor::End);
  end.insertText(text_of(text));
  window_.status->ensureCursorVisible();
}

void QtHost::status_clear() {
  lines_ = 0;
  if (window_.status != nullptr) window_.status->clear();
}

Answer QtHost::message_box(std::string_view caption, std::string_view text, Icon icon,
                           Buttons buttons, Answer default_answer) {
  struct Choice {
    QMessageBox::StandardButton button;
    Answer answer;
  };
  std::vector<Choice> choices;
  switch (buttons) {
    case Buttons::ok: choices = {{QMessageBox::Ok, Answer::ok}}; break;
    case Buttons::yes_no: choices = {{QMessageBox::Yes, Answer::yes}, {QMessageBox::No, Answer::no}}; break;
    case Buttons::ok_cancel:
      choices = {{QMessageBox::Ok, Answer::ok}, {QMessageBox::Cancel, Answer::cancel}};
      break;
  }
  QMessageBox box(box_icon(icon), text_of(caption), text_of(text), QMessageBox::NoButton,
                  window_.owner);
  std::vector<QAbstractButton*> added;
  for (const Choice& c : choices) {
    QPushButton* button = box.addButton(c.button);
    if (c.answer == default_answer || added.empty()) box.setDefaultButton(button);
    added.push_back(button);
  }
  // A question is answered with the ordinary pointer, even in the middle of work.
  if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (busy_) QApplication::restoreOverrideCursor();
  for (std::size_t i = 0; i < added.size(); ++i) {
    if (box.clickedButton() == added[i]) return choices[i].answer;
  }
  // Closed by the window manager or Escape: the way out of the question, its last button.
  return choices.back().answer;
}

void QtHost::beep(Icon) { QApplication::beep(); }

void QtHost::dialog_error(int, std::string_view text) {
  // Dialogs without an error line of their own say it in the status list.
  beep(Icon::warning);
  status_append("\n" + std::string(text));
}

void QtHost::progress_show() {
  if (window_.progress != nullptr) window_.progress->show();
  if (window_.percent != nullptr) window_.percent->show();
  progress_set(0);
}

void QtHost::progress_set(int percent) {
  if (window_.progress != nullptr && window_.progress->value() != percent) {
    window_.progress->setValue(percent);
  }
  if (window_.percent != nullptr) window_.percent->setText(QString("%1 %").arg(percent));
}

void QtHost::progress_hide() {
  if (window_.progress != nullptr) window_.progress->hide();
  if (window_.percent != nullptr) window_.percent->hide();
}

bool QtHost::poll_cancel() {
  // Repaints, the progress bar and the Cancel button stay alive between units of work; a
  // record takes microseconds, so events are taken every few milliseconds only.
  constexpr qint64 kEventInterval = 15;
  if (!since_events_.isValid() || since_events_.elapsed() >= kEventInterval) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    since_events_.start();
  }
  // A signal cancels the conversion as it would on the console.
  const bool signalled = console_host().poll_cancel();
  last_signal_ = signalled ? console_host().cancel_signal() : 0;
  const bool asked = cancel_requested_ || signalled;
  cancel_requested_ = false;
  return asked;
}

void QtHost::set_busy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::BusyCursor);  // busy, yet Cancel still answers
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtHost::end_process(int status) {
  std::fflush(nullptr);
  std::exit(status);
}

}  // namespace tsn::ui
