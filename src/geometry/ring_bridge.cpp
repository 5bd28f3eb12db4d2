// Shared vertices, the bridge search with its cache of blocking edges, and the choice of the
// pass at an outline vertex that is visited more than once.
#include "geometry/ring_bridge.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>
#include <vector>

#include "geometry/segment_crossing.h"

namespace tsn {
namespace {

// Edges that blocked one candidate usually block its neighbours too, so they are tried first.
constexpr std::size_t kBlockingCacheSize = 100;
constexpr double kFullTurn = 2.0 * std::numbers::pi;

PlanePoint at(std::span<const shape_point> pool, std::int32_t index) {
  const shape_point& p = pool[static_cast<std::size_t>(index)];
  return {p.x, p.y};
}

bool same_place(PlanePoint a, PlanePoint b) { return a.x == b.x && a.y == b.y; }

double direction(PlanePoint from, PlanePoint to) {
  return std::atan2(to.y - from.y, to.x - from.x);
}

// The angle brought into [0, 2pi).
double wrap(double a) {
  a = std::fmod(a, kFullTurn);
  if (a < 0.0) a += kFullTurn;
  return a >= kFullTurn ? 0.0 : a;
}

// True when direction `dir` lies strictly inside the wedge turning counter-clockwise from
// direction `from` to direction `to`; a wedge of zero width (a spike) is the full turn.
bool in_wedge(double from, double to, double dir) {
  const double width = wrap(to - from);
  const double rel = wrap(dir - from);
  return rel > 0.0 && (width == 0.0 || rel < width);
}

// The outline runs clockwise, so its interior at the pass through position `pos` is the
// wedge from the direction to the previous vertex counter-clockwise to the direction to the
// next one.
bool pass_holds(std::span<const shape_point> pool, std::span<const std::int32_t> outline,
                std::size_t pos, double dir) {
  const std::size_t closing = outline.size() - 1;
  const PlanePoint v = at(pool, outline[pos]);
  const PlanePoint prev = at(pool, outline[pos > 0 ? pos - 1 : closing - 1]);
  const PlanePoint next = at(pool, outline[pos + 1]);
  return in_wedge(direction(v, prev), direction(v, next), dir);
}

// The pass at the place of outline position `given` whose interior holds direction `dir`:
// `given` itself when it does, else the first other such pass in outline order, else `given`.
// Attaching at any other pass would make the outline cross itself there.
std::size_t choose_pass(std::span<const shape_point> pool, std::span<const std::int32_t> outline,
                        std::size_t given, double dir) {
  if (pass_holds(pool, outline, given, dir)) return given;
  const PlanePoint v = at(pool, outline[given]);
  for (std::size_t pos = 0; pos + 1 < outline.size(); ++pos) {
    if (pos != given && same_place(at(pool, outline[pos]), v) &&
        pass_holds(pool, outline, pos, dir)) {
      return pos;
    }
  }
  return given;
}

// The middle of the hole's corner at position j. The hole runs counter-clockwise, so the
// corner turns counter-clockwise from the direction to the next vertex to that to the previous.
double corner_direction(std::span<const shape_point> pool, const HoleWalk& hole, std::size_t j) {
  const std::size_t n = hole.vertices.size();
  const PlanePoint v = at(pool, hole.vertices[j]);
  const double from = direction(v, at(pool, hole.vertices[(j + 1) % n]));
  const double to = direction(v, at(pool, hole.vertices[(j + n - 1) % n]));
  const double width = wrap(to - from);
  return from + (width == 0.0 ? kFullTurn : width) / 2.0;
}

// True when the hole edge from the anchor a to e lies along the bridge a-v.
bool runs_along(PlanePoint a, PlanePoint v, PlanePoint e) {
  const double cross = (v.x - a.x) * (e.y - a.y) - (v.y - a.y) * (e.x - a.x);
  const double dot = (v.x - a.x) * (e.x - a.x) + (v.y - a.y) * (e.y - a.y);
  return cross == 0.0 && dot > 0.0;
}

// What a bridge from the anchor must keep clear of, gathered once per hole.
struct BridgeObstacles {
  std::span<const shape_point> pool;
  OutlineEdges& outline;
  double reach = 0.0;                // X at or left of the anchor
  std::vector<Segment> hole_edges;   // the hole's own edges there
  std::span<const Segment> blockers;
  std::vector<Segment> cache;
};

bool bridge_clear(BridgeObstacles& obstacles, PlanePoint a, PlanePoint v) {
  // An outline edge ending at v meets the bridge only there.
  const auto ends_at_v = [v](const Segment& e) { return same_place(e.a, v) || same_place(e.b, v); };
  for (const Segment& e : obstacles.cache) {
    if (!ends_at_v(e) && segments_cross(a, v, e.a, e.b)) return false;
  }
  // Every outline edge takes part, the closing one included, except those lying wholly right
  // of the anchor: they cannot meet a bridge that runs leftwards from it. Only edges whose box
  // meets the bridge's can cross it.
  const bool clear = obstacles.outline.visit_near(
      {std::min(a.x, v.x), std::min(a.y, v.y)}, {std::max(a.x, v.x), std::max(a.y, v.y)},
      [&](PlanePoint ea, PlanePoint eb) {
        const Segment e{ea, eb};
        if (std::min(e.a.x, e.b.x) > obstacles.reach || ends_at_v(e)) return true;
        if (!segments_cross(a, v, e.a, e.b)) return true;
        if (obstacles.cache.size() < kBlockingCacheSize) obstacles.cache.push_back(e);
        return false;
      });
  if (!clear) return false;
  for (const Segment& e : obstacles.hole_edges) {
    if (same_place(e.a, a) || same_place(e.b, a)) {
      if (runs_along(a, v, same_place(e.a, a) ? e.b : e.a)) return false;
    } else if (segments_cross(a, v, e.a, e.b)) {
      return false;
    }
  }
  for (const Segment& e : obstacles.blockers) {
    if (segments_cross(a, v, e.a, e.b)) return false;
  }
  return true;
}

}  // namespace

std::optional<JoinPoint> find_shared_vertex(std::span<const shape_point> pool,
                                            std::span<const std::int32_t> outline,
                                            const HoleWalk& hole) {
  shape_box box{1e300, 1e300, -1e300, -1e300};
  for (const std::int32_t index : hole.vertices) {
    const PlanePoint p = at(pool, index);
    box = {std::min(box.xmin, p.x), std::min(box.ymin, p.y), std::max(box.xmax, p.x),
           std::max(box.ymax, p.y)};
  }
  // Outline vertices in the hole's box, sorted by X so that each hole vertex looks up its
  // neighbours by halves instead of comparing with all of them.
  std::vector<std::pair<double, std::size_t>> inside;
  for (std::size_t pos = 0; pos + 1 < outline.size(); ++pos) {
    const PlanePoint p = at(pool, outline[pos]);
    if (p.x >= box.xmin - kJoinTolerance && p.x <= box.xmax + kJoinTolerance &&
        p.y >= box.ymin - kJoinTolerance && p.y <= box.ymax + kJoinTolerance) {
      inside.emplace_back(p.x, pos);
    }
  }
  if (inside.empty()) return std::nullopt;
  std::sort(inside.begin(), inside.end());
  for (std::size_t j = 0; j < hole.vertices.size(); ++j) {
    const PlanePoint q = at(pool, hole.vertices[j]);
    auto it = std::lower_bound(inside.begin(), inside.end(),
                               std::pair<double, std::size_t>{q.x - kJoinTolerance, 0});
    for (; it != inside.end() && it->first <= q.x + kJoinTolerance; ++it) {
      if (join_near(at(pool, outline[it->second]), q)) {
        return JoinPoint{choose_pass(pool, outline, it->second, corner_direction(pool, hole, j)),
                         j};
      }
    }
  }
  return std::nullopt;
}

std::optional<std::size_t> find_bridge_end(std::span<const shape_point> pool,
                                           std::span<const std::int32_t> outline,
                                           OutlineEdges& edges, const HoleWalk& hole,
                                           std::span<const Segment> blockers) {
  const PlanePoint a = at(pool, hole.vertices[hole.anchor]);
  BridgeObstacles obstacles{pool, edges, a.x + kJoinTolerance, {}, blockers, {}};
  obstacles.cache.reserve(kBlockingCacheSize);
  const std::size_t n = hole.vertices.size();
  for (std::size_t j = 0; j < n; ++j) {
    const Segment e{at(pool, hole.vertices[j]), at(pool, hole.vertices[(j + 1) % n])};
    if (std::min(e.a.x, e.b.x) <= obstacles.reach) obstacles.hole_edges.push_back(e);
  }

  // Candidates nearest first (outline order among equals): a near vertex is the likeliest to
  // be seen. The nearest is found by one pass, which is usually all it takes; only when it is
  // blocked are the others put into a heap, drained as far as needed.
  std::vector<std::pair<double, std::size_t>> candidates;
  candidates.reserve(outline.size());
  std::size_t nearest = 0;
  for (std::size_t pos = 0; pos + 1 < outline.size(); ++pos) {
    const PlanePoint v = at(pool, outline[pos]);
    if (v.x < obstacles.reach) {
      const double dx = v.x - a.x;
      const double dy = v.y - a.y;
      candidates.emplace_back(dx * dx + dy * dy, pos);
      if (candidates.back() < candidates[nearest]) nearest = candidates.size() - 1;
    }
  }
  if (candidates.empty()) return std::nullopt;
  std::optional<PlanePoint> last_rejected;
  {
    const std::size_t pos = candidates[nearest].second;
    const PlanePoint v = at(pool, outline[pos]);
    if (bridge_clear(obstacles, a, v)) return choose_pass(pool, outline, pos, direction(v, a));
    last_rejected = v;
    candidates[nearest] = candidates.back();
    candidates.pop_back();
  }
  const auto later = std::greater<std::pair<double, std::size_t>>();
  std::make_heap(candidates.begin(), candidates.end(), later);
  while (!candidates.empty()) {
    std::pop_heap(candidates.begin(), candidates.end(), later);
    const std::size_t pos = candidates.back().second;
    candidates.pop_back();
    const PlanePoint v = at(pool, outline[pos]);
    // Passes of one place come one after another; a place that was blocked stays blocked.
    if (last_rejected && same_place(*last_rejected, v)) continue;
    if (bridge_clear(obstacles, a, v)) return choose_pass(pool, outline, pos, direction(v, a));
    last_rejected = v;
  }
  return std::nullopt;
}

}  // namespace tsn
