// Plane choice for 3D rings and the turning direction of a projected ring.
#include "geometry/fill_plane.h"

#include <cmath>
#include <cstddef>

namespace tsn {
namespace {

struct Normal {
  double x = 0.0, y = 0.0, z = 0.0;
  bool usable() const {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z) &&
           (x != 0.0 || y != 0.0 || z != 0.0);
  }
};

Normal first_three_normal(std::span<const shape_point> pool, std::span<const std::int32_t> ring) {
  if (ring.size() < 3) return {};
  const shape_point& p1 = pool[static_cast<std::size_t>(ring[0])];
  const shape_point& p2 = pool[static_cast<std::size_t>(ring[1])];
  const shape_point& p3 = pool[static_cast<std::size_t>(ring[2])];
  const double ux = p2.x - p1.x, uy = p2.y - p1.y, uz = p2.z - p1.z;
  const double vx = p3.x - p1.x, vy = p3.y - p1.y, vz = p3.z - p1.z;
  return {uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
}

// Newell's normal: exact for a plane ring whatever its first vertices look like.
Normal ring_normal(std::span<const shape_point> pool, std::span<const std::int32_t> ring) {
  Normal n;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const shape_point& a = pool[static_cast<std::size_t>(ring[i])];
    const shape_point& b = pool[static_cast<std::size_t>(ring[(i + 1) % ring.size()])];
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

}  // namespace

Plane choose_plane(std::span<const shape_point> pool, std::span<const std::int32_t> ring) {
  Normal n = first_three_normal(pool, ring);
  if (!n.usable()) n = ring_normal(pool, ring);
  const double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
  if (az >= ax && ay <= az) return Plane::xy;
  if (ax < ay) return Plane::xz;
  return Plane::yz;
}

double ring_double_area(std::span<const PlanePoint> ring) {
  double sum = 0.0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const PlanePoint a = ring[i];
    const PlanePoint b = ring[(i + 1) % ring.size()];
    sum += a.x * b.y - b.x * a.y;
  }
  return sum;
}

bool ring_is_counter_clockwise(std::span<const PlanePoint> ring) {
  if (ring.size() < 3) return false;
  const auto corner = leftmost_corner(ring);
  if (corner && corner->towards_prev != corner->towards_next) {
    return corner->towards_prev > corner->towards_next;
  }
  return ring_double_area(ring) > 0.0;
}

}  // namespace tsn
