// The host interface: everything the converter shows to or asks of its user goes through it
// (status list, message boxes, beeps, progress, cancellation, the busy cursor, ending the process).
#pragma once

#include <string_view>

namespace tsn {

enum class Icon { none, information, warning, error, question };
enum class Buttons { ok, yes_no, ok_cancel };
enum class Answer { ok, yes, no, cancel };

class Host {
 public:
  virtual ~Host() = default;

  // Appends text to the status list; "\n" in the text starts a new line.
  virtual void status_append(std::string_view text) = 0;
  virtual void status_clear() = 0;
  // Shows a message box and returns the button chosen. A host that cannot ask (an unattended
  // console) returns default_answer and says which answer it took.
  virtual Answer message_box(std::string_view caption, std::string_view text, Icon icon,
                             Buttons buttons, Answer default_answer) = 0;
  virtual void beep(Icon kind) = 0;
  // Shows text in the error line of an open dialog.
  virtual void dialog_error(int dialog, std::string_view text) = 0;

  virtual void progress_show() = 0;
  virtual void progress_set(int percent) = 0;
  virtual void progress_hide() = 0;

  // Processes pending user input; true when the user asked to cancel since the last call.
  virtual bool poll_cancel() = 0;
  // The signal behind the request poll_cancel() last reported; 0 for the user's own gesture.
  // A signal other than SIGINT asks the program to end: it cancels without a question.
  virtual int cancel_signal() const { return 0; }
  virtual void set_busy(bool busy) = 0;
  // How the user asks to cancel, as progress messages name it ("%s to stop").
  virtual std::string_view cancel_gesture() const { return "Click right mouse button"; }

  // Ends the process with the given status after flushing what the host shows.
  [[noreturn]] virtual void end_process(int status) = 0;
};

// A host that shows nothing and asks nothing: every question takes its default answer and no
// cancel is ever asked for. How the process ends is left to the one who uses it.
class SilentHostBase : public Host {
 public:
  void status_append(std::string_view) override {}
  void status_clear() override {}
  Answer message_box(std::string_view, std::string_view, Icon, Buttons,
                     Answer default_answer) override {
    return default_answer;
  }
  void beep(Icon) override {}
  void dialog_error(int, std::string_view) override {}
  void progress_show() override {}
  void progress_set(int) override {}
  void progress_hide() override {}
  bool poll_cancel() override { return false; }
  void set_busy(bool) override {}
};

// The host in use; a console host until another is installed.
Host& host();
// Installs a host (not owned); nullptr restores the console host.
void set_host(Host* h);

}  // namespace tsn
