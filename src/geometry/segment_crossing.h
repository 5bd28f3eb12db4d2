// Crossing of two straight segments in the plane, touching included.
#pragma once

#include "geometry/label_anchor.h"

namespace tsn {

// True when segment p1-p2 and segment q1-q2 have a point in common: a proper crossing, an end
// on the other segment, or a shared stretch of two collinear segments. The boxes of the two
// segments are compared first.
bool segments_cross(PlanePoint p1, PlanePoint p2, PlanePoint q1, PlanePoint q2);

}  // namespace tsn
