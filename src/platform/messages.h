// Status lines, message boxes, the log and trace files, progress, cancellation and critical
// errors: the one place through which the converter reports to its user.
#pragma once

#include <string>
#include <string_view>

#include "platform/host.h"

#define TSN_PRINTF(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))

namespace tsn {

// Formats with printf rules, appends the text to the status list, copies it to the log and
// counts one status write.
void status_write(const char* format, ...) TSN_PRINTF(1, 2);
// The exclamation beep, then status_write of the text as it is.
void status_error(std::string_view text);
// Puts the text into the error line of a dialog and beeps.
void dialog_error(int dialog, std::string_view text);
// Written only while the file is open and its switch is on; flushed after every write.
void log_write(const char* format, ...) TSN_PRINTF(1, 2);
void trace_write(const char* format, ...) TSN_PRINTF(1, 2);

// Number of status writes since the list was last cleared.
int status_line_count();
// Clears the status list when more than 200 lines were written (start of a conversion).
void status_clear_if_full();

// Log (switch `Log`) and trace (switch `trace`) files; created anew, false when that failed.
bool open_log_file(const std::string& path, bool enabled);
bool open_trace_file(const std::string& path, bool enabled);
void close_diagnostic_files();

// 1 when the user asked to cancel since the last call, else 0.
int pump_messages();
// Asks "Abort current process ?"; -1 (after writing the abort message) when confirmed, else 0.
int ask_cancel();
// Polls for a cancel request: true when one came and holds. The user's request is confirmed
// with ask_cancel; a signal that asks the program to end (SIGTERM, SIGHUP, SIGQUIT) cancels
// at once with a status line naming it.
bool cancel_confirmed();
// After the output was put in place: a cancel request that came since the last poll is
// reported as too late, "Cancel request came too late: <path> was already written".
void report_late_cancel(const std::string& written_path);
// The signal behind a cancellation confirmed (or come too late) in this run; 0 when none did
// or when the user cancelled by the host's own gesture. The batch stops and the process ends
// with 128 + that signal.
int cancelling_signal();

void progress_start();
void progress_step_to(int percent);
void progress_end();

// A message box with a numbered caption and a numbered (or already formatted) text.
Answer show_message(int caption_id, std::string_view text, Icon icon,
                    Buttons buttons = Buttons::ok, Answer default_answer = Answer::ok);

// While one lives, nothing of a conversion reaches the user or the diagnostic files: status
// lines, message boxes (each takes its default answer), beeps, progress, the busy cursor, the
// log and the trace go nowhere, and no cancel request is polled, so no window event is
// handled meanwhile. A critical error still ends the process through the host it replaced.
// For a conversion run only to look at what it draws.
class QuietReports {
 public:
  QuietReports();
  ~QuietReports();
  QuietReports(const QuietReports&) = delete;
  QuietReports& operator=(const QuietReports&) = delete;

 private:
  Host* replaced_ = nullptr;  // null when an outer QuietReports is the one installed
};

// Critical error kinds: 1 read error (asks to retry), 3 disk full, 2/5/6 drawing database.
void critical_error(int type);

// The drawing database's last error, supplied by the database once it exists.
struct DatabaseError {
  int number = 0;
  std::string text;
};
using DatabaseErrorSource = DatabaseError (*)();
void set_database_error_source(DatabaseErrorSource source);
// A blank line, "%d:" with the step when tracing, then "Error is %d: %s".
void report_database_error(int step);

}  // namespace tsn
