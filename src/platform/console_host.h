// The console host: status text on stdout, message boxes and the progress bar on stderr,
// questions answered with their default button, Ctrl-C and the requests to end as cancellation.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/host.h"

namespace tsn {

class ConsoleHost final : public Host {
 public:
  ConsoleHost();  // stdout and stderr
  // The streams are not owned and must outlive the host.
  ConsoleHost(std::FILE* out, std::FILE* err);

  // A hidden run writes no status text; message boxes still go to the error stream.
  void set_quiet(bool quiet) { quiet_ = quiet; }
  bool quiet() const { return quiet_; }

  void status_append(std::string_view text) override;
  void status_clear() override {}
  // Prints "Caption: text"; a question also prints the answer taken, "... -> No".
  Answer message_box(std::string_view caption, std::string_view text, Icon icon, Buttons buttons,
                     Answer default_answer) override;
  void beep(Icon) override {}
  void dialog_error(int dialog, std::string_view text) override;

  // The bar is drawn only when the error stream is a terminal, and redrawn only when the
  // percentage changes.
  void progress_show() override;
  void progress_set(int percent) override;
  void progress_hide() override;

  // True once for the cancelling signals received since the last call (SIGINT, SIGTERM,
  // SIGHUP, SIGQUIT); re-arms their handlers.
  bool poll_cancel() override;
  int cancel_signal() const override;
  void set_busy(bool) override {}
  std::string_view cancel_gesture() const override { return "Ctrl-C"; }

  [[noreturn]] void end_process(int status) override;

  // Turns SIGINT, SIGTERM, SIGHUP and SIGQUIT into cancel requests while the console host is
  // in use. A handler resets itself when it runs, so a second signal of the kind before
  // poll_cancel() ends the process the usual way. A signal that is ignored (a background
  // job, nohup) stays ignored.
  static void install_interrupt_handler();
  // Restores the dispositions found by install_interrupt_handler().
  static void remove_interrupt_handler();

 private:
  void write_err(std::string_view text);
  void draw_bar();
  void erase_bar();

  std::FILE* out_;
  std::FILE* err_;
  bool quiet_ = false;
  bool err_is_terminal_ = false;
  bool same_terminal_ = false;   // out and err go to one terminal, file or pipe
  bool at_line_start_ = true;    // the terminal's cursor, as far as this host knows
  bool bar_visible_ = false;     // between progress_show and progress_hide
  bool bar_on_screen_ = false;   // the bar occupies the cursor's line
  int bar_percent_ = 0;
};

// The process's console host on stdout and stderr.
ConsoleHost& console_host();

// One frame of the text progress bar: "[#####     ]  50 %" with a 40-character track.
std::string progress_bar_text(int percent);

}  // namespace tsn
