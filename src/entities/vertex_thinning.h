// The two vertex-thinning passes shared by the polyline and polygon generators.
//
// Both compact shape_rec.points in place, part by part, and rewrite the part starts and
// num_points; a part never grows and never moves right, so each pass is one forward sweep
// without a second buffer. The caller runs them only when the Merge setting is on.
#pragma once

#include <cstdint>

#include "input/shape_record.h"

namespace tsn {

// First pass: in every part of more than 3 points, a point is kept only when it lies at least
// `tolerance` away in X or in Y from the last kept point (the first point is always kept).
// Returns the new number of points.
std::int32_t merge_close_vertices(shape_rec& rec, double tolerance);

// Second pass: in every part of more than 4 points, a vertex between two segments whose slopes
// differ by no more than `slope_tolerance` is dropped; a turn back (a spike) keeps it. The first
// and last points of a part are always kept. Returns the new number of points.
std::int32_t drop_collinear_vertices(shape_rec& rec, double slope_tolerance);

}  // namespace tsn
