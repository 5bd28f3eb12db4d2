// The plane a ring is triangulated in (a 3D ring is projected onto two of its coordinates) and
// the turning direction of a ring in that plane.
#pragma once

#include <array>
#include <cstdint>
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

// True when the ring (not closed: its last point is not a copy of its first) turns
// counter-clockwise: at its first vertex V with the smallest x, with P before and N after it,
// the y component of the unit vector towards P exceeds that towards N. Neighbours lying on V
// are passed over; when the test cannot decide (a spike at V) the sign of the area decides.
bool ring_is_counter_clockwise(std::span<const PlanePoint> ring);

// Twice the signed area of the ring (positive counter-clockwise).
double ring_double_area(std::span<const PlanePoint> ring);

}  // namespace tsn
