// How the input readers tell the user about a problem: a warning beep and a status line (which
// the log copies), and, in interactive use, the question whether to go on.
#pragma once

#include <string>

namespace tsn {

// The warning beep, then the text as a line of the status list.
void report_input_problem(const std::string& text);
// "Severe Warning": the text and "Continue anyway?"; true when the user answers Yes.
bool ask_continue(const std::string& text);

}  // namespace tsn
