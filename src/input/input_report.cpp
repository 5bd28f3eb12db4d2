// Reports of the input readers.
#include "input/input_report.h"

#include <cstring>

#include "input/table_reader.h"
#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"

namespace tsn {

void report_input_problem(const std::string& text) { status_error("\n" + text); }

int report_unreadable_row(const std::string& table, long row, int error) {
  const std::string reason =
      error != 0 ? std::strerror(error)
                 : "the file ends before it; it may have been cut short while it was read";
  report_input_problem(
      format_printf("Could not read row %ld of table %s: %s.", row, table.c_str(), reason.c_str()));
  return kRowReadFailed;
}

bool ask_continue(const std::string& text) {
  return host().message_box("Severe Warning", text + "\n\nContinue anyway?", Icon::warning,
                            Buttons::yes_no, Answer::yes) == Answer::yes;
}

}  // namespace tsn
