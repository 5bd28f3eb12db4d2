// Segment crossing by orientation signs, which needs no division and so treats touching ends
// and collinear segments exactly.
#include "geometry/segment_crossing.h"

#include <algorithm>

namespace tsn {
namespace {

// Sign of the turn a -> b -> c: > 0 left, < 0 right, 0 collinear.
double turn(PlanePoint a, PlanePoint b, PlanePoint c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

int sign(double v) { return v > 0.0 ? 1 : (v < 0.0 ? -1 : 0); }

}  // namespace

bool segments_cross(PlanePoint p1, PlanePoint p2, PlanePoint q1, PlanePoint q2) {
  if (std::max(p1.x, p2.x) < std::min(q1.x, q2.x) || std::max(q1.x, q2.x) < std::min(p1.x, p2.x) ||
      std::max(p1.y, p2.y) < std::min(q1.y, q2.y) || std::max(q1.y, q2.y) < std::min(p1.y, p2.y)) {
    return false;
  }
  // NaN coordinates fail every comparison above and would pass here: they never cross.
  if (!(p1.x == p1.x && p1.y == p1.y && p2.x == p2.x && p2.y == p2.y && q1.x == q1.x &&
        q1.y == q1.y && q2.x == q2.x && q2.y == q2.y)) {
    return false;
  }
  const int d1 = sign(turn(q1, q2, p1));
  const int d2 = sign(turn(q1, q2, p2));
  const int d3 = sign(turn(p1, p2, q1));
  const int d4 = sign(turn(p1, p2, q2));
  // With the boxes overlapping, a zero turn means that end lies on the other segment (or all
  // four points are collinear with overlapping extents): touching counts.
  return d1 * d2 <= 0 && d3 * d4 <= 0;
}

}  // namespace tsn
