// The host of the desktop front end: the status list, message boxes, progress bar, busy cursor
// and cancellation of the window that is the current status window.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <string>
#include <string_view>

#include "platform/host.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QWidget;

namespace tsn::ui {

// The widgets of a status window: the main window's or the batch window's.
struct StatusWindow {
  QWidget* owner = nullptr;          // owns the message boxes; right clicks on it cancel
  QPlainTextEdit* status = nullptr;  // the status list
  QProgressBar* progress = nullptr;
  QLabel* percent = nullptr;         // "%d %%" beside the bar
};

class QtHost final : public Host {
 public:
  QtHost();
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // Makes `window` the status window; widgets left null are not shown.
  void set_status_window(const StatusWindow& window);
  // The cancel request of a Cancel button or a right click, confirmed by the next poll.
  void request_cancel() { cancel_requested_ = true; }
  // What a request to end the process does while no conversion runs (the window's Quit).
  void on_end_request(std::function<void()> end) { end_request_ = std::move(end); }
  // Status writes since the list was last cleared.
  long status_lines() const { return lines_; }

  void status_append(std::string_view text) override;
  void status_clear() override;
  Answer message_box(std::string_view caption, std::string_view text, Icon icon,
                     Buttons buttons, Answer default_answer) override;
  void beep(Icon kind) override;
  void dialog_error(int dialog, std::string_view text) override;
  void progress_show() override;
  void progress_set(int percent) override;
  void progress_hide() override;
  bool poll_cancel() override;
  int cancel_signal() const override { return last_signal_; }
  void set_busy(bool busy) override;
  std::string_view cancel_gesture() const override {
    return "Click right mouse button or Cancel";
  }
  [[noreturn]] void end_process(int status) override;

 private:
  class RightClickFilter;

  StatusWindow window_;
  QElapsedTimer since_events_;
  RightClickFilter* filter_ = nullptr;
  QTimer signal_watch_;
  std::function<void()> end_request_;
  int last_signal_ = 0;
  bool cancel_requested_ = false;
  bool busy_ = false;
  long lines_ = 0;
};

}  // namespace tsn::ui
