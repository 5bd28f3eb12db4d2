// Ring boxes, orientation, nesting by containment, and the self-touch order check.
#include "entities/polygon_rings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geometry/fill_plane.h"
#include "run/messages.h"

namespace tsn {
namespace {

constexpr double kSamePoint = 1e-10;  // vertices closer than this in X and Y are one
constexpr int kInternalErrorOrientation = 13;

void measure(const shape_rec& rec, std::int32_t ring, RingInfo& info) {
  const shape_point* p = rec.part_points(ring).data();
  const std::int32_t n = rec.points_in_part(ring);
  info.box = {1e30, 1e30, -1e30, -1e30};
  info.leftmost = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    info.box.xmin = std::min(info.box.xmin, p[i].x);
    info.box.ymin = std::min(info.box.ymin, p[i].y);
    info.box.xmax = std::max(info.box.xmax, p[i].x);
    info.box.ymax = std::max(info.box.ymax, p[i].y);
    if (p[i].x < p[info.leftmost].x) info.leftmost = i;
  }
}

bool same_point(const shape_point& a, const shape_point& b) {
  return std::fabs(a.x - b.x) < kSamePoint && std::fabs(a.y - b.y) < kSamePoint;
}

bool is_vertex_of(const shape_point& q, const shape_point* ring, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) {
    if (same_point(q, ring[i])) return true;
  }
  return false;
}

// Signed crossings of the ray from q towards +X with the ring's edges: -1 for an edge going
// up, +1 for one going down (so a point inside a counter-clockwise ring counts -1). Each edge
// is taken as half open, its lower end on the ray counting as above it, so that a vertex on
// the ray is counted once when the ring crosses there and not at all when it only touches.
int signed_crossings(const shape_point& q, const shape_point* ring, std::int32_t n) {
  int count = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    const shape_point& a = ring[i];
    const shape_point& b = ring[(i + 1) % n];
    const bool up = a.y <= q.y && b.y > q.y;
    const bool down = b.y <= q.y && a.y > q.y;
    if (!up && !down) continue;
    const double x_at = a.x + (q.y - a.y) * (b.x - a.x) / (b.y - a.y);
    if (x_at > q.x) count += up ? -1 : 1;
  }
  return count;
}

// Direction angle from p to q, by the rules of the loop check.
double direction(const shape_point& p, const shape_point& q) {
  const double dx = q.x - p.x;
  const double dy = q.y - p.y;
  if (std::fabs(dx) < 1e-6) return dy >= 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
  if (std::fabs(dy) < 1e-6) return dx >= 0 ? 0.0 : std::numbers::pi;
  return std::atan(dy / dx) + (dx < 0 ? std::numbers::pi : 0.0);
}

double relative_to(double angle, double base) {
  double a = angle - base;
  while (a < 0) a += 2 * std::numbers::pi;
  while (a >= 2 * std::numbers::pi) a -= 2 * std::numbers::pi;
  return a;
}

}  // namespace

int ring_orientation(const shape_rec& rec, std::int32_t ring) {
  std::span<const shape_point> p = rec.part_points(ring);
  if (p.size() > 1 && p.front().x == p.back().x && p.front().y == p.back().y) {
    p = p.first(p.size() - 1);  // without the closing point
  }
  if (p.size() < 3) return 1;
  // Neighbours repeating the leftmost vertex are passed over: real data has them, and they
  // must not turn a clockwise ring into a hole.
  const auto corner = leftmost_corner(p);
  if (!corner) {
    status_write("\nWarning: Unexpected internal software error occured (%d)",
                 kInternalErrorOrientation);
    return 1;
  }
  return corner->towards_prev <= corner->towards_next ? -1 : 1;
}

int known_orientation(const shape_rec& rec, std::vector<RingInfo>& rings, std::int32_t ring) {
  int& o = rings[static_cast<std::size_t>(ring)].orientation;
  if (o == 0) o = ring_orientation(rec, ring);
  return o;
}

bool ring_inside(const shape_rec& rec, std::vector<RingInfo>& rings, std::int32_t inner,
                 std::int32_t outer) {
  const shape_box& i = rings[static_cast<std::size_t>(inner)].box;
  const shape_box& o = rings[static_cast<std::size_t>(outer)].box;
  if (i.xmin < o.xmin || i.ymin < o.ymin || i.xmax > o.xmax || i.ymax > o.ymax) return false;
  const shape_point* a = rec.part_points(inner).data();
  const shape_point* b = rec.part_points(outer).data();
  const std::int32_t na = rec.points_in_part(inner);
  const std::int32_t nb = rec.points_in_part(outer);
  for (std::int32_t k = 0; k < na; ++k) {
    if (is_vertex_of(a[k], b, nb)) continue;
    const int count = signed_crossings(a[k], b, nb);
    return known_orientation(rec, rings, outer) == -1 ? count > 0 : count < 0;
  }
  return true;  // every vertex is one of the outer ring's
}

int nest_rings(const shape_rec& rec, std::vector<RingInfo>& rings) {
  const auto parts = static_cast<std::size_t>(std::max(rec.num_parts, 0));
  rings.assign(parts, RingInfo{});
  for (std::size_t r = 0; r < parts; ++r) measure(rec, static_cast<std::int32_t>(r), rings[r]);
  if (parts == 1) {
    rings[0].depth = 0;
    rings[0].parent = 0;
    return 1;
  }
  int level = -1;
  std::size_t unassigned = parts;
  while (unassigned > 0) {
    std::vector<std::size_t> this_level;
    for (std::size_t i = 0; i < parts; ++i) {
      if (rings[i].depth != kDepthUnassigned) continue;
      bool contained = false;
      for (std::size_t j = 0; j < parts && !contained; ++j) {
        contained = j != i && rings[j].depth == kDepthUnassigned &&
                    ring_inside(rec, rings, static_cast<std::int32_t>(i),
                                static_cast<std::int32_t>(j));
      }
      if (!contained) this_level.push_back(i);
    }
    if (this_level.empty()) {
      // Rings that all contain each other (identical rings): the first of them goes next.
      for (std::size_t i = 0; i < parts; ++i) {
        if (rings[i].depth == kDepthUnassigned) {
          this_level.push_back(i);
          break;
        }
      }
    }
    for (const std::size_t i : this_level) {
      rings[i].depth = level + 1;
      rings[i].parent = static_cast<int>(i);
      if (level >= 0) {
        rings[i].parent = -1;
        for (std::size_t k = 0; k < parts; ++k) {
          if (rings[k].depth == level && ring_inside(rec, rings, static_cast<std::int32_t>(i),
                                                     static_cast<std::int32_t>(k))) {
            rings[i].parent = static_cast<int>(k);
            break;
          }
        }
      }
      --unassigned;
    }
    ++level;
  }
  return level + 1;  // one pass per level
}

int check_ring_loops(const shape_rec& rec) {
  int warnings = 0;
  struct Entry {
    double x, y;
    std::int32_t index;
  };
  for (std::int32_t ring = 0; ring < rec.num_parts; ++ring) {
    const shape_point* p = rec.part_points(ring).data();
    const std::int32_t n = rec.points_in_part(ring);
    if (n < 4) continue;
    std::vector<Entry> list;
    list.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) list.push_back({p[i].x, p[i].y, i});
    std::sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) {
      return a.x != b.x ? a.x < b.x : (a.y != b.y ? a.y < b.y : a.index < b.index);
    });
    const std::size_t max_pairs = static_cast<std::size_t>(std::max<std::int32_t>(n / 10, 100));
    std::size_t pairs = 0;
    for (std::size_t k = 0; k + 1 < list.size() && pairs < max_pairs; ++k) {
      const Entry& e1 = list[k];
      const Entry& e2 = list[k + 1];
      if (e1.x != e2.x || e1.y != e2.y) continue;
      const std::int32_t a = std::min(e1.index, e2.index);
      const std::int32_t b = std::max(e1.index, e2.index);
      if (a == 0 || b == n - 1 || b - a <= 2) continue;  // the closing point, or a spike
      ++pairs;
      const shape_point& at = p[a];
      const auto prev = [&](std::int32_t i) { return p[i == 0 ? n - 1 : i - 1]; };
      const auto next = [&](std::int32_t i) { return p[i == n - 1 ? 0 : i + 1]; };
      const double v = direction(at, prev(a));
      const double w = relative_to(direction(at, next(a)), v);
      const double x = relative_to(direction(at, prev(b)), v);
      const double y = relative_to(direction(at, next(b)), v);
      const bool valid = (w <= x && x <= y) || (y <= x && x <= w);
      if (!valid) {
        status_write("\nWARNING: Polygon Shape %ld has invalid points order.",
                     static_cast<long>(rec.record_number));
        ++warnings;
      }
    }
  }
  return warnings;
}

}  // namespace tsn
