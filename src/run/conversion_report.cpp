// The lines that end a conversion.
#include "run/conversion_report.h"

#include <chrono>

#include "platform/format.h"
#include "platform/messages.h"
#include "platform/string_table.h"

namespace tsn {

namespace {

void status_message(int id, long value) {
  status_write("%s", format_printf(load_status_text(id).c_str(), value).c_str());
}

}  // namespace

long conversion_clock_ms() {
  using namespace std::chrono;
  const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<long>(now - 819936000LL * 1000);
}

void report_conversion_end(ConversionCounters& c, const ReportFacts& facts) {
  status_message(29, c.points_processed);
  if (facts.shape_class != 0 && !facts.has_z && facts.merge_on) {
    status_message(36, c.points_eliminated);
  }
  if (facts.eliminating_labels) status_message(154, c.labels_eliminated);
  if (c.polygons_not_hatched > 0) status_message(186, c.polygons_not_hatched);
  if (c.records_skipped > 0) {
    status_message(187, c.records_skipped);
    if (c.skipped_by_colour_ranges > 0) status_message(283, c.skipped_by_colour_ranges);
    if (c.skipped_by_layer_ranges > 0) status_message(284, c.skipped_by_layer_ranges);
  }
  // Records refused for a number that is not finite have a line of their own.
  const long malformed = c.records_refused - c.records_refused_nonfinite;
  if (malformed > 0) status_write("\nRecords refused as malformed = %ld", malformed);
  if (c.records_refused_nonfinite > 0) {
    status_write("\nRecords with a number that is not finite, not drawn = %ld",
                 c.records_refused_nonfinite);
  }
  if (c.non_finite_reals > 0) {
    status_write("\nComputed numbers that were not finite, written as 0 = %ld",
                 c.non_finite_reals);
  }
  trace_write("1:TIME==%ld\n", facts.elapsed_ms);
  trace_write("time taken==%lf\n", facts.seconds);
  status_write("%s", format_printf(load_status_text(31).c_str(), facts.seconds).c_str());
  c.points_processed = 0;
  c.points_eliminated = 0;
  c.records_refused_nonfinite = 0;
  c.non_finite_reals = 0;
}

}  // namespace tsn
