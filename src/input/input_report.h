// How the input readers tell the user about a problem: a warning beep and a status line (which
// the log copies), and, in interactive use, the question whether to go on.
#pragma once

#include <string>

namespace tsn {

// The warning beep, then the text as a line of the status list.
void report_input_problem(const std::string& text);
// Reports that row (1-based) of the table could not be read, with the system's reason when there
// is one (errno), else that the file ended early; kRowReadFailed.
int report_unreadable_row(const std::string& table, long row, int error);
// "Severe Warning": the text and "Continue anyway?"; true when the user answers Yes.
bool ask_continue(const std::string& text);

}  // namespace tsn
