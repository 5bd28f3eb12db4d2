// The counters of one conversion, reported at its end and written to the trace.
#pragma once

#include <array>

namespace tsn {

struct ConversionCounters {
  long records_processed = 0;
  long points_processed = 0;
  long points_eliminated = 0;      // by merging straight runs
  long labels_eliminated = 0;      // overlapping labels
  long polygons_not_hatched = 0;   // too small to hatch
  long records_skipped = 0;        // out of range, empty or invalid
  long skipped_by_colour_ranges = 0;
  long skipped_by_layer_ranges = 0;
  // Records whose shape could not be drawn because their content is malformed (each reported
  // where it was found): kept until the end of the run for its summary.
  long records_refused = 0;
  long records_refused_nonfinite = 0;  // of those, records with a number not finite
  long non_finite_reals = 0;           // computed values that overflowed, written as 0
  // it0 .. it7, it2a, it2b, it6a, it6b: iteration counts for the trace.
  std::array<long, 12> iterations{};
};

}  // namespace tsn
