// Ring boxes, orientation, nesting by containment, and the self-touch order check.
#include "entities/polygon_rings.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <numeric>

#include "geometry/box_grid.h"
#include "geometry/fill_plane.h"
#include "geometry/ring_containment.h"
#include "platform/messages.h"

namespace tsn {
namespace {

constexpr int kInternalErrorOrientation = 13;

// The enclosed area by the shoelace sum about the first point, which keeps the digits of map
// coordinates.
double enclosed_area(std::span<const shape_point> p) {
  if (p.size() < 3) return 0.0;
  double sum = 0.0;
  const shape_point& o = p.front();
  for (std::size_t i = 1; i + 1 < p.size(); ++i) {
    sum += (p[i].x - o.x) * (p[i + 1].y - o.y) - (p[i + 1].x - o.x) * (p[i].y - o.y);
  }
  return std::fabs(sum) / 2.0;
}

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
  info.area = enclosed_area(rec.part_points(ring));
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

int nest_rings(const shape_rec& rec, std::vector<RingInfo>& rings) {
  const auto parts = static_cast<std::size_t>(std::max(rec.num_parts, 0));
  rings.assign(parts, RingInfo{});
  for (std::size_t r = 0; r < parts; ++r) measure(rec, static_cast<std::int32_t>(r), rings[r]);
  if (parts == 1) {
    rings[0].depth = 0;
    rings[0].parent = 0;
    return 1;
  }
  // Only a ring that comes earlier in this order can hold another, so the rings are placed in
  // it, each after its parent: the larger box first (a ring's box holds the boxes of the rings
  // inside it), then the larger area (a box can hold a smaller ring touching all its sides),
  // then part order. Boxes come first because the area of a ring that crosses itself can be
  // smaller than what it encloses.
  std::vector<std::int32_t> order(parts);
  std::iota(order.begin(), order.end(), 0);
  // (NaN coordinates sort last, so that the order stays one.)
  const auto number = [](double v) { return std::isnan(v) ? -1.0 : v; };
  std::vector<std::pair<double, double>> key(parts);
  for (std::size_t r = 0; r < parts; ++r) {
    const shape_box& b = rings[r].box;
    key[r] = {number((b.xmax - b.xmin) * (b.ymax - b.ymin)), number(rings[r].area)};
  }
  std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
    return key[static_cast<std::size_t>(a)] > key[static_cast<std::size_t>(b)];
  });
  std::vector<std::size_t> rank(parts);
  for (std::size_t k = 0; k < parts; ++k) rank[static_cast<std::size_t>(order[k])] = k;

  std::vector<shape_box> boxes(parts);
  for (std::size_t r = 0; r < parts; ++r) boxes[r] = rings[r].box;
  BoxGrid grid;
  grid.build(boxes);
  std::vector<std::unique_ptr<RingEdges>> edges(parts);  // built for rings that hold a box
  std::vector<std::int32_t> around;
  int deepest = 0;
  for (const std::int32_t i : order) {
    RingInfo& ring = rings[static_cast<std::size_t>(i)];
    around.clear();
    grid.visit_holding(ring.box, [&](std::int32_t j) {
      if (rank[static_cast<std::size_t>(j)] < rank[static_cast<std::size_t>(i)]) {
        around.push_back(j);
      }
    });
    // The smallest ring around it first: the first that holds it is its parent.
    std::sort(around.begin(), around.end(), [&](std::int32_t a, std::int32_t b) {
      return rank[static_cast<std::size_t>(a)] > rank[static_cast<std::size_t>(b)];
    });
    ring.depth = 0;
    ring.parent = i;
    for (const std::int32_t j : around) {
      std::unique_ptr<RingEdges>& e = edges[static_cast<std::size_t>(j)];
      if (!e) {
        e = std::make_unique<RingEdges>();
        e->build(rec.part_points(j), known_orientation(rec, rings, j));
      }
      if (ring_within(rec.part_points(i), *e)) {
        ring.parent = j;
        ring.depth = rings[static_cast<std::size_t>(j)].depth + 1;
        break;
      }
    }
    deepest = std::max(deepest, ring.depth);
  }
  for (std::size_t k = parts; k-- > 0;) {
    RingInfo& ring = rings[k];
    if (ring.parent == static_cast<int>(k)) continue;
    RingInfo& parent = rings[static_cast<std::size_t>(ring.parent)];
    ring.next_sibling = parent.first_child;
    parent.first_child = static_cast<int>(k);
  }
  return deepest + 1;
}

void rings_by_depth(const std::vector<RingInfo>& rings, int levels,
                    std::vector<std::int32_t>& out) {
  out.clear();
  out.reserve(rings.size());
  // Counting sort by depth keeps part order within a depth.
  std::vector<std::size_t> start(static_cast<std::size_t>(std::max(levels, 0)) + 1, 0);
  for (const RingInfo& r : rings) {
    if (r.depth >= 0 && r.depth < levels) ++start[static_cast<std::size_t>(r.depth) + 1];
  }
  for (std::size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
  out.resize(start.back());
  for (std::size_t k = 0; k < rings.size(); ++k) {
    const int d = rings[k].depth;
    if (d >= 0 && d < levels) {
      out[start[static_cast<std::size_t>(d)]++] = static_cast<std::int32_t>(k);
    }
  }
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
