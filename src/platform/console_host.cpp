// The console host: what a command-line run shows on stdout and stderr, and the signals that
// cancel a conversion.
#include "platform/console_host.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iterator>

namespace tsn {
namespace {

constexpr int kBarTrack = 40;

// "Error: Could not open file" under the caption "Error".
bool begins_with_caption(std::string_view text, std::string_view caption) {
  return text.size() > caption.size() && text.substr(0, caption.size()) == caption &&
         text[caption.size()] == ':';
}

// The signals that ask for cancellation: Ctrl-C, and the requests to end sent by a service
// manager, a closed terminal or Ctrl-\. Each is a cancellation, so that the conversion
// unwinds and removes what it made.
constexpr int kCancelSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Pending signals as a bit mask, set by the handler, taken by poll_cancel(). Only a
// lock-free atomic may be touched from a signal handler.
std::atomic<unsigned> g_pending{0};
static_assert(std::atomic<unsigned>::is_always_lock_free);
// The signal behind the request poll_cancel() last reported.
int g_last_signal = 0;

// Handler bookkeeping; changed only outside the handler.
bool g_handler_installed = false;
struct Disposition {
  struct sigaction previous {};
  bool ignored = false;  // found ignored (a background job, nohup): stays so
};
Disposition g_dispositions[std::size(kCancelSignals)];

void on_cancel_signal(int signal) { g_pending.fetch_or(1u << signal); }

void arm_handler(int signal) {
  struct sigaction action {};
  action.sa_handler = on_cancel_signal;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND puts back the default disposition as the handler starts, which is what
  // lets a second signal of the kind end the process. SA_RESTART keeps reads from failing
  // with EINTR.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(signal, &action, nullptr);
}

bool is_question(Buttons buttons) { return buttons != Buttons::ok; }

// The default answer when it names one of the buttons, else the first button.
Answer answer_for(Buttons buttons, Answer default_answer) {
  switch (buttons) {
    case Buttons::yes_no:
      return default_answer == Answer::no ? Answer::no : Answer::yes;
    case Buttons::ok_cancel:
      return default_answer == Answer::cancel ? Answer::cancel : Answer::ok;
    case Buttons::ok:
      break;
  }
  return Answer::ok;
}

std::string_view answer_name(Answer answer) {
  switch (answer) {
    case Answer::ok: return "OK";
    case Answer::yes: return "Yes";
    case Answer::no: return "No";
    case Answer::cancel: return "Cancel";
  }
  return "";
}

bool is_terminal(std::FILE* stream) { return stream != nullptr && isatty(fileno(stream)) == 1; }

// Both streams end up in the same place (one terminal, or one file or pipe as with "2>&1"), so
// a message must start on a line of its own after a status line.
bool same_destination(std::FILE* a, std::FILE* b) {
  if (a == nullptr || b == nullptr) return false;
  if (is_terminal(a) && is_terminal(b)) return true;
  struct stat sa {}, sb {};
  if (fstat(fileno(a), &sa) != 0 || fstat(fileno(b), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

std::string progress_bar_text(int percent) {
  percent = std::clamp(percent, 0, 100);
  const int filled = percent * kBarTrack / 100;
  std::string text = "[";
  text.append(static_cast<std::size_t>(filled), '#');
  text.append(static_cast<std::size_t>(kBarTrack - filled), ' ');
  char number[16];
  std::snprintf(number, sizeof number, "] %3d %%", percent);
  text += number;
  return text;
}

ConsoleHost::ConsoleHost() : ConsoleHost(stdout, stderr) {}

ConsoleHost::ConsoleHost(std::FILE* out, std::FILE* err)
    : out_(out),
      err_(err),
      err_is_terminal_(is_terminal(err)),
      same_terminal_(same_destination(out, err)) {}

void ConsoleHost::write_err(std::string_view text) {
  if (text.empty()) return;
  std::fwrite(text.data(), 1, text.size(), err_);
  std::fflush(err_);
  if (err_is_terminal_ || same_terminal_) at_line_start_ = text.back() == '\n';
}

void ConsoleHost::status_append(std::string_view text) {
  if (quiet_ || text.empty()) return;
  erase_bar();
  std::fwrite(text.data(), 1, text.size(), out_);
  std::fflush(out_);
  if (same_terminal_) at_line_start_ = text.back() == '\n';
}

Answer ConsoleHost::message_box(std::string_view caption, std::string_view text, Icon,
                                Buttons buttons, Answer default_answer) {
  erase_bar();
  const Answer answer = answer_for(buttons, default_answer);
  std::string line;
  // Status lines end where the next begins, so a message on the same terminal needs its own.
  if ((err_is_terminal_ || same_terminal_) && !at_line_start_) line += '\n';
  // Many message texts already begin with their caption ("Error: ..."): it is said once.
  if (!caption.empty() && !begins_with_caption(text, caption)) {
    line += caption;
    line += ": ";
  }
  line += text;
  if (is_question(buttons)) {
    line += " -> ";
    line += answer_name(answer);
  }
  line += '\n';
  write_err(line);
  return answer;
}

void ConsoleHost::dialog_error(int, std::string_view text) {
  erase_bar();
  std::string line(text);
  line += '\n';
  write_err(line);
}

void ConsoleHost::progress_show() {
  if (!err_is_terminal_) return;
  bar_visible_ = true;
  bar_percent_ = 0;
  draw_bar();
}

void ConsoleHost::progress_set(int percent) {
  if (!bar_visible_) return;
  percent = std::clamp(percent, 0, 100);
  if (percent == bar_percent_ && bar_on_screen_) return;
  bar_percent_ = percent;
  draw_bar();
}

void ConsoleHost::progress_hide() {
  erase_bar();
  bar_visible_ = false;
}

void ConsoleHost::draw_bar() {
  std::string frame;
  if (bar_on_screen_) {
    frame = "\r";
  } else if (!at_line_start_) {
    frame = "\n";
  }
  frame += progress_bar_text(bar_percent_);
  write_err(frame);
  bar_on_screen_ = true;
}

void ConsoleHost::erase_bar() {
  if (!bar_on_screen_) return;
  std::string blank = "\r";
  blank.append(progress_bar_text(100).size(), ' ');
  blank += '\r';
  write_err(blank);
  bar_on_screen_ = false;
  at_line_start_ = true;
}

bool ConsoleHost::poll_cancel() {
  const unsigned pending = g_pending.exchange(0);
  if (pending == 0) return false;
  // A request to end outweighs a Ctrl-C that came with it.
  g_last_signal = 0;
  for (std::size_t i = 0; i < std::size(kCancelSignals); ++i) {
    const int signal = kCancelSignals[i];
    if ((pending & (1u << signal)) == 0) continue;
    if (g_last_signal == 0 || g_last_signal == SIGINT) g_last_signal = signal;
    if (g_handler_installed && !g_dispositions[i].ignored) arm_handler(signal);
  }
  return true;
}

int ConsoleHost::cancel_signal() const { return g_last_signal; }

void ConsoleHost::end_process(int status) {
  erase_bar();
  if (err_is_terminal_ && !at_line_start_) write_err("\n");
  std::fflush(out_);
  std::fflush(err_);
  std::exit(status);
}

void ConsoleHost::install_interrupt_handler() {
  if (g_handler_installed) return;
  g_handler_installed = true;
  g_pending.store(0);
  g_last_signal = 0;
  for (std::size_t i = 0; i < std::size(kCancelSignals); ++i) {
    Disposition& d = g_dispositions[i];
    sigaction(kCancelSignals[i], nullptr, &d.previous);
    d.ignored = (d.previous.sa_flags & SA_SIGINFO) == 0 && d.previous.sa_handler == SIG_IGN;
    if (!d.ignored) arm_handler(kCancelSignals[i]);
  }
}

void ConsoleHost::remove_interrupt_handler() {
  if (!g_handler_installed) return;
  for (std::size_t i = 0; i < std::size(kCancelSignals); ++i) {
    sigaction(kCancelSignals[i], &g_dispositions[i].previous, nullptr);
  }
  g_handler_installed = false;
  g_pending.store(0);
  g_last_signal = 0;
}

ConsoleHost& console_host() {
  static ConsoleHost instance;
  return instance;
}

}  // namespace tsn
