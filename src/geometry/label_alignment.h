// Text aligned with a polyline: where it stands on the first part and how it is turned.
#pragma once

#include <span>

#include "geometry/label_anchor.h"
#include "input/shape_record.h"

namespace tsn {

struct AlignedAnchor {
  PlanePoint point;
  double rotation = 0.0;  // radians, in (-pi/2, pi/2]: text never stands upside down
  bool on_part = false;   // false: no segment crosses the chord's bisector, the chord is used
};

// The direction of a -> b turned by a half turn where needed so that text along it reads from
// left to right: an angle in (-pi/2, pi/2]; a vertical line gives pi/2.
double upright_angle(PlanePoint a, PlanePoint b);

// The chord of the part (first to last vertex) is bisected by a perpendicular line reaching
// twice the larger side of the box to either side; the first segment crossing it gives the
// point (the crossing) and the rotation (the segment's upright angle). Without a crossing, the
// chord's midpoint and upright angle. The part must hold at least one point.
AlignedAnchor align_with_part(std::span<const shape_point> part, const shape_box& box);

}  // namespace tsn
