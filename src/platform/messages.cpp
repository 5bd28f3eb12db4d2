// Status lines, the log and trace files, message boxes, progress, cancellation and critical
// errors, all shown through the host in use.
#include "platform/messages.h"

#include <algorithm>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/format.h"
#include "platform/string_table.h"

namespace tsn {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// A diagnostic file and its settings switch. A write needs both the open file and the switch.
struct DiagnosticFile {
  FileHandle file;
  bool enabled = false;

  void write(std::string_view text) {
    if (!file || !enabled || text.empty()) return;
    std::fwrite(text.data(), 1, text.size(), file.get());
    std::fflush(file.get());
  }

  bool open(const std::string& path, bool on) {
    file.reset();
    enabled = on;
    if (!on) return true;
    file.reset(std::fopen(path.c_str(), "w"));
    return file != nullptr;
  }
};

DiagnosticFile g_log;
DiagnosticFile g_trace;
int g_status_lines = 0;
DatabaseErrorSource g_database_error_source = nullptr;
int g_cancelling_signal = 0;

constexpr int kStatusClearThreshold = 200;

// The host of a quiet conversion: it shows nothing and asks nothing.
class QuietHost final : public SilentHostBase {
 public:
  Host* replaced = nullptr;

  [[noreturn]] void end_process(int status) override {
    replaced->end_process(status);
    std::abort();  // not reached: the host it replaced ends the process
  }
};

QuietHost g_quiet_host;
bool quiet() { return g_quiet_host.replaced != nullptr; }

void write_status(std::string_view text) {
  if (quiet()) return;
  host().status_append(text);
  g_log.write(text);
  ++g_status_lines;
}

DatabaseError current_database_error() {
  return g_database_error_source != nullptr ? g_database_error_source() : DatabaseError{};
}

}  // namespace

void status_write(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = vformat_printf(format, args);
  va_end(args);
  write_status(text);
}

void status_error(std::string_view text) {
  host().beep(Icon::warning);
  write_status(text);
}

void dialog_error(int dialog, std::string_view text) {
  host().dialog_error(dialog, text);
  host().beep(Icon::warning);
}

void log_write(const char* format, ...) {
  if (!g_log.file || !g_log.enabled || quiet()) return;
  va_list args;
  va_start(args, format);
  const std::string text = vformat_printf(format, args);
  va_end(args);
  g_log.write(text);
}

void trace_write(const char* format, ...) {
  if (!g_trace.file || !g_trace.enabled || quiet()) return;
  va_list args;
  va_start(args, format);
  const std::string text = vformat_printf(format, args);
  va_end(args);
  g_trace.write(text);
}

int status_line_count() { return g_status_lines; }

void status_clear_if_full() {
  // A quiet conversion leaves the list, and so its count, as they are.
  if (quiet() || g_status_lines <= kStatusClearThreshold) return;
  host().status_clear();
  g_status_lines = 0;
}

bool open_log_file(const std::string& path, bool enabled) { return g_log.open(path, enabled); }

bool open_trace_file(const std::string& path, bool enabled) {
  if (!g_trace.open(path, enabled)) return false;
  g_trace.write(kTraceStart);
  return true;
}

void close_diagnostic_files() {
  g_log = DiagnosticFile{};
  g_trace = DiagnosticFile{};
}

int pump_messages() {
  host().set_busy(true);
  const bool cancel = host().poll_cancel();
  host().set_busy(true);
  return cancel ? 1 : 0;
}

int ask_cancel() {
  const Answer answer =
      show_message(72, load_text(71), Icon::question, Buttons::yes_no, Answer::yes);
  if (answer != Answer::yes) return 0;
  write_status(load_status_text(70));
  return -1;
}

bool cancel_confirmed() {
  if (pump_messages() == 0) return false;
  const int signal = host().cancel_signal();
  if (signal != 0 && signal != SIGINT) {
    const char* name = sigabbrev_np(signal);
    write_status(format_printf("\nProcess aborted: the program received SIG%s.",
                               name != nullptr ? name : "?"));
  } else if (ask_cancel() != -1) {
    return false;
  }
  g_cancelling_signal = signal;
  return true;
}

void report_late_cancel(const std::string& written_path) {
  if (pump_messages() == 0) return;
  if (host().cancel_signal() != 0) g_cancelling_signal = host().cancel_signal();
  write_status(format_printf("\nCancel request came too late: %s was already written",
                             written_path.c_str()));
}

int cancelling_signal() { return g_cancelling_signal; }

void progress_start() {
  host().progress_show();
  host().progress_set(0);
}

void progress_step_to(int percent) { host().progress_set(std::clamp(percent, 0, 100)); }

void progress_end() { host().progress_hide(); }

Answer show_message(int caption_id, std::string_view text, Icon icon, Buttons buttons,
                    Answer default_answer) {
  return host().message_box(load_text(caption_id), text, icon, buttons, default_answer);
}

void critical_error(int type) {
  // The mark is for developers: the trace has it, the user sees only the message box.
  trace_write("%s\n", kCriticalErrorMark.data());
  switch (type) {
    case 1:
      if (show_message(7, load_text(86), Icon::warning, Buttons::yes_no, Answer::no) ==
          Answer::yes) {
        return;  // the caller retries the read
      }
      break;
    case 3:
      show_message(7, load_text(256), Icon::error);
      break;
    case 2:
    case 5:
    case 6: {
      const DatabaseError error = current_database_error();
      show_message(7, format_printf(load_text(136).c_str(), type, error.number, error.text.c_str()),
                   Icon::error);
      break;
    }
    default:
      return;
  }
  host().end_process(1);
}

QuietReports::QuietReports() {
  if (quiet()) return;
  replaced_ = &host();
  g_quiet_host.replaced = replaced_;
  set_host(&g_quiet_host);
}

QuietReports::~QuietReports() {
  if (replaced_ == nullptr) return;
  set_host(replaced_);
  g_quiet_host.replaced = nullptr;
}

void set_database_error_source(DatabaseErrorSource source) { g_database_error_source = source; }

void report_database_error(int step) {
  const DatabaseError error = current_database_error();
  status_write("\n");
  if (g_trace.enabled) status_write("%d:", step);
  write_status(format_printf(load_text(138).c_str(), error.number, error.text.c_str()));
}

}  // namespace tsn
