// Reports of the input readers.
#include "input/input_report.h"

#include "platform/host.h"
#include "run/messages.h"

namespace tsn {

void report_input_problem(const std::string& text) { status_error("\n" + text); }

bool ask_continue(const std::string& text) {
  return host().message_box("Severe Warning", text + "\n\nContinue anyway?", Icon::warning,
                            Buttons::yes_no, Answer::yes) == Answer::yes;
}

}  // namespace tsn
