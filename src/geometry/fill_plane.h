// The plane a ring is triangulated in (a 3D ring is projected onto two of its coordinates) and
// the turning direction of a ring in that plane.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "geometry/label_anchor.h"
#include "input/shape_record.h"

namespace tsn {

// The coordinate pair kept by the projection: (x,y), (x,z) or (y,z).
enum class Plane : std::uint8_t { xy = 0, xz = 1, yz = 2 };

// Which planes a ring has been tried in, one mark per plane, indexed by Plane.
using PlaneMarks = std::array<bool, 3>;

inline PlanePoint project(const shape_point& p, Plane plane) {
  switch (plane) {
    case Plane::xz: return {p.x, p.z};
    case Plane::yz: return {p.y, p.z};
    case Plane::xy: break;
  }
  return {p.x, p.y};
}

// The plane in which the ring looks largest: from the normal (P2 - P1) x (P3 - P1) of its first
// three vertices, (x,y) when |n.z| >= |n.x| and |n.y| <= |n.z|, else (x,z) when |n.x| < |n.y|,
// else (y,z). When those three vertices give no normal (they coincide or lie on one line) the
// normal of the whole ring (Newell's sum) is used instead, so that a wall starting with a
// straight run is still seen edge-on from the right side. Indices must be valid in pool.
Plane choose_plane(std::span<const shape_point> pool, std::span<const std::int32_t> ring);

// The corner that tells a ring's turning direction: at the ring's first vertex V with the
// smallest x, with P and N the nearest vertices before and after V that do not lie on it, the
// y components of the unit vectors from V towards P and towards N.
struct LeftmostCorner {
  double towards_prev = 0.0;
  double towards_next = 0.0;
};

// The leftmost corner of a ring (not closed); nothing when no vertex lies off V.
template <typename Point>
std::optional<LeftmostCorner> leftmost_corner(std::span<const Point> ring) {
  const std::size_t n = ring.size();
  if (n == 0) return std::nullopt;
  std::size_t v = 0;
  for (std::size_t i = 1; i < n; ++i) {
    if (ring[i].x < ring[v].x) v = i;
  }
  const auto on_v = [&](std::size_t i) { return ring[i].x == ring[v].x && ring[i].y == ring[v].y; };
  std::size_t p = (v + n - 1) % n;
  while (p != v && on_v(p)) p = (p + n - 1) % n;
  std::size_t q = (v + 1) % n;
  while (q != v && on_v(q)) q = (q + 1) % n;
  if (p == v || q == v) return std::nullopt;
  const auto unit_y = [&](std::size_t i) {
    return (ring[i].y - ring[v].y) / std::hypot(ring[i].x - ring[v].x, ring[i].y - ring[v].y);
  };
  return LeftmostCorner{unit_y(p), unit_y(q)};
}

// True when the ring (not closed: its last point is not a copy of its first) turns
// counter-clockwise: at its first vertex V with the smallest x, with P before and N after it,
// the y component of the unit vector towards P exceeds that towards N. Neighbours lying on V
// are passed over; when the test cannot decide (a spike at V) the sign of the area decides.
bool ring_is_counter_clockwise(std::span<const PlanePoint> ring);

// Twice the signed area of the ring (positive counter-clockwise).
double ring_double_area(std::span<const PlanePoint> ring);

}  // namespace tsn
