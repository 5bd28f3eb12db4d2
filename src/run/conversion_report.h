// The lines that end a conversion: points processed, eliminations, skipped records, time.
#pragma once

#include "run/conversion_counters.h"

namespace tsn {

struct ReportFacts {
  int shape_class = 0;          // 0 points, 1 lines, 2 polygons
  bool has_z = false;           // the input's type carries Z
  bool merge_on = false;        // setting Merge
  bool eliminating_labels = false;  // ElimDoubleLabels is 1
  double seconds = 0.0;         // elapsed
  long elapsed_ms = 0;
};

// Writes the end-of-conversion lines to the status list (and the timing to the trace), then
// clears the points-processed, eliminated and not-finite counts.
void report_conversion_end(ConversionCounters& counters, const ReportFacts& facts);

// Milliseconds since the program's epoch (seconds - 819936000) * 1000 + milliseconds.
long conversion_clock_ms();

}  // namespace tsn
