// Anchor and rotation of text aligned with the first part of a polyline.
#include "geometry/label_alignment.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geometry/segment_crossing.h"

namespace tsn {
namespace {

PlanePoint plane(const shape_point& p) { return {p.x, p.y}; }

// Where segment a-b meets the line through r1 and r2 (known to touch it). A segment lying
// along the line gives its point nearest to `centre`.
PlanePoint meeting_point(PlanePoint a, PlanePoint b, PlanePoint r1, PlanePoint r2,
                         PlanePoint centre) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double rx = r2.x - r1.x;
  const double ry = r2.y - r1.y;
  const double denom = dx * ry - dy * rx;
  if (denom != 0.0) {
    const double t = std::clamp(((r1.x - a.x) * ry - (r1.y - a.y) * rx) / denom, 0.0, 1.0);
    return {a.x + t * dx, a.y + t * dy};
  }
  const double length2 = dx * dx + dy * dy;
  if (length2 == 0.0) return a;
  const double t = std::clamp(((centre.x - a.x) * dx + (centre.y - a.y) * dy) / length2, 0.0, 1.0);
  return {a.x + t * dx, a.y + t * dy};
}

}  // namespace

double upright_angle(PlanePoint a, PlanePoint b) {
  double angle = std::atan2(b.y - a.y, b.x - a.x);  // (-pi, pi]
  if (angle > std::numbers::pi / 2) angle -= std::numbers::pi;
  if (angle <= -std::numbers::pi / 2) angle += std::numbers::pi;
  return angle;
}

AlignedAnchor align_with_part(std::span<const shape_point> part, const shape_box& box) {
  const PlanePoint first = plane(part.front());
  const PlanePoint last = plane(part.back());
  const PlanePoint mid{(first.x + last.x) / 2.0, (first.y + last.y) / 2.0};
  const double chord_angle = upright_angle(first, last);

  const double reach = 2.0 * std::max(box.xmax - box.xmin, box.ymax - box.ymin);
  const double px = -std::sin(chord_angle) * reach;
  const double py = std::cos(chord_angle) * reach;
  const PlanePoint r1{mid.x - px, mid.y - py};
  const PlanePoint r2{mid.x + px, mid.y + py};

  for (std::size_t i = 0; i + 1 < part.size(); ++i) {
    const PlanePoint a = plane(part[i]);
    const PlanePoint b = plane(part[i + 1]);
    if (!segments_cross(a, b, r1, r2)) continue;
    // A segment of no length has no direction of its own: the chord's is used.
    const bool has_length = a.x != b.x || a.y != b.y;
    return {meeting_point(a, b, r1, r2, mid), has_length ? upright_angle(a, b) : chord_angle,
            true};
  }
  return {mid, chord_angle, false};
}

}  // namespace tsn
