// Joins the holes of a filled polygon part into its outer ring, one hole at a time in order of
// their smallest X, so that the fill can triangulate one outline.
#include "geometry/ring_joining.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <numeric>

#include "geometry/ring_bridge.h"

namespace tsn {
namespace {

bool valid_ring(std::span<const shape_point> pool, PoolRing ring) {
  if (ring.first < 0 || ring.count < 0 ||
      static_cast<std::size_t>(ring.first) + static_cast<std::size_t>(ring.count) > pool.size() ||
      static_cast<std::int64_t>(ring.first) + ring.count >
          std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  const auto begin = pool.begin() + ring.first;
  return std::all_of(begin, begin + ring.count, [](const shape_point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
  });
}

bool same_place(const shape_point& a, const shape_point& b) { return a.x == b.x && a.y == b.y; }

// The ring's pool indices without repeated points (a zero-length edge) and without the closing
// repeat of its first point.
std::vector<std::int32_t> distinct_vertices(std::span<const shape_point> pool, PoolRing ring) {
  std::vector<std::int32_t> v;
  v.reserve(static_cast<std::size_t>(ring.count));
  for (std::int32_t i = ring.first; i < ring.first + ring.count; ++i) {
    if (v.empty() || !same_place(pool[static_cast<std::size_t>(v.back())],
                                 pool[static_cast<std::size_t>(i)])) {
      v.push_back(i);
    }
  }
  while (v.size() > 1) {
    const shape_point& first = pool[static_cast<std::size_t>(v.front())];
    const shape_point& last = pool[static_cast<std::size_t>(v.back())];
    if (!join_near({first.x, first.y}, {last.x, last.y})) break;
    v.pop_back();
  }
  return v;
}

double x_of(std::span<const shape_point> pool, std::int32_t index) {
  return pool[static_cast<std::size_t>(index)].x;
}

std::size_t leftmost(std::span<const shape_point> pool, std::span<const std::int32_t> ring) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < ring.size(); ++i) {
    if (x_of(pool, ring[i]) < x_of(pool, ring[best])) best = i;
  }
  return best;
}

// Holes still to come whose smallest X equals the anchor's: a bridge running straight up or
// down from the anchor could run through them. Their edges at the anchor's place are left out,
// as such a hole will be spliced in there.
std::vector<Segment> later_hole_edges(std::span<const shape_point> pool,
                                      const std::vector<std::vector<std::int32_t>>& walks,
                                      const std::vector<double>& min_x,
                                      std::span<const std::size_t> later, PlanePoint anchor) {
  std::vector<Segment> edges;
  const double reach = anchor.x + kJoinTolerance;
  const auto near_anchor = [anchor](PlanePoint p) { return join_near(p, anchor); };
  for (const std::size_t h : later) {
    if (min_x[h] > reach) break;
    const std::vector<std::int32_t>& w = walks[h];
    if (w.size() < 3) continue;  // left out, as it has no area
    for (std::size_t j = 0; j < w.size(); ++j) {
      const shape_point& p = pool[static_cast<std::size_t>(w[j])];
      const shape_point& q = pool[static_cast<std::size_t>(w[(j + 1) % w.size()])];
      const Segment e{{p.x, p.y}, {q.x, q.y}};
      if (std::min(p.x, q.x) <= reach && !near_anchor(e.a) && !near_anchor(e.b)) {
        edges.push_back(e);
      }
    }
  }
  return edges;
}

// After position p: the hole from its anchor round to the anchor again, then back along the
// bridge to the outline vertex at p.
void splice_bridge(std::vector<std::int32_t>& outline, OutlineEdges& edges, std::size_t p,
                   const HoleWalk& hole) {
  const std::size_t n = hole.vertices.size();
  std::vector<std::int32_t> piece;
  piece.reserve(n + 2);
  for (std::size_t t = 0; t <= n; ++t) piece.push_back(hole.vertices[(hole.anchor + t) % n]);
  piece.push_back(outline[p]);
  outline.insert(outline.begin() + static_cast<std::ptrdiff_t>(p + 1), piece.begin(), piece.end());
  // The edge from the bridge's end on to the outline's next vertex is the one that was there.
  for (std::size_t q = p; q < p + piece.size(); ++q) edges.add(outline[q], outline[q + 1]);
}

// After position p, the place the hole shares: the hole from the vertex after the shared one
// round to the shared one, which stands in for the outline's second pass there.
void splice_shared(std::vector<std::int32_t>& outline, OutlineEdges& edges, const JoinPoint& at,
                   const HoleWalk& hole) {
  const std::size_t n = hole.vertices.size();
  const std::size_t p = at.outline_pos;
  std::vector<std::int32_t> piece;
  piece.reserve(n);
  for (std::size_t t = 1; t <= n; ++t) piece.push_back(hole.vertices[(at.hole_pos + t) % n]);
  edges.remove(outline[p], outline[p + 1]);
  outline.insert(outline.begin() + static_cast<std::ptrdiff_t>(p + 1), piece.begin(),
                 piece.end());
  for (std::size_t q = p; q <= p + n; ++q) edges.add(outline[q], outline[q + 1]);
}

void fail(JoinedOutline& out) {
  out.result = kJoinFailed;
  out.outline.clear();
  out.trace.emplace_back("Error in create_single_poly");
  out.message = "Could not create single polygon for part. Colour fill for part ignored";
}

void join(std::span<const shape_point> pool, PoolRing outer, std::span<const JoinHole> holes,
          bool reverse_outer, JoinedOutline& out) {
  if (!valid_ring(pool, outer)) return fail(out);
  for (const JoinHole& hole : holes) {
    if (!valid_ring(pool, hole.ring)) return fail(out);
  }
  out.outline = distinct_vertices(pool, outer);
  if (out.outline.empty()) return;
  if (reverse_outer) std::reverse(out.outline.begin() + 1, out.outline.end());
  out.outline.push_back(out.outline.front());
  if (out.outline.size() < 4) return;  // no area: nothing for the holes to cut

  std::vector<std::vector<std::int32_t>> walks(holes.size());
  std::vector<double> min_x(holes.size());
  std::size_t capacity = out.outline.size();
  for (std::size_t h = 0; h < holes.size(); ++h) {
    walks[h] = distinct_vertices(pool, holes[h].ring);
    min_x[h] = walks[h].empty() ? 0.0 : x_of(pool, walks[h][leftmost(pool, walks[h])]);
    capacity += walks[h].size() + 3;
  }
  out.outline.reserve(capacity);
  shape_box extent{1e300, 1e300, -1e300, -1e300};
  const auto take = [&](PoolRing ring) {
    for (std::int32_t i = ring.first; i < ring.first + ring.count; ++i) {
      const shape_point& p = pool[static_cast<std::size_t>(i)];
      extent = {std::min(extent.xmin, p.x), std::min(extent.ymin, p.y),
                std::max(extent.xmax, p.x), std::max(extent.ymax, p.y)};
    }
  };
  take(outer);
  for (const JoinHole& hole : holes) take(hole.ring);
  OutlineEdges edges;
  edges.build(pool, out.outline, extent, capacity);
  std::vector<std::size_t> order(holes.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&min_x](std::size_t l, std::size_t r) { return min_x[l] < min_x[r]; });

  for (std::size_t s = 0; s < order.size(); ++s) {
    const std::size_t h = order[s];
    std::vector<std::int32_t>& walk = walks[h];
    if (walk.size() < 3) continue;  // no area to cut out
    if (holes[h].orientation == -1) {
      std::reverse(walk.begin(), walk.end());
      out.trace.emplace_back("SHOULD NEVER GET HERE");
    }
    const HoleWalk hole{walk, leftmost(pool, walk)};
    if (const auto shared = find_shared_vertex(pool, out.outline, hole)) {
      splice_shared(out.outline, edges, *shared, hole);
      continue;
    }
    const shape_point& a = pool[static_cast<std::size_t>(walk[hole.anchor])];
    const std::vector<Segment> blockers = later_hole_edges(
        pool, walks, min_x, std::span<const std::size_t>(order).subspan(s + 1), {a.x, a.y});
    const auto end = find_bridge_end(pool, out.outline, edges, hole, blockers);
    if (!end) return fail(out);
    splice_bridge(out.outline, edges, *end, hole);
  }
}

}  // namespace

JoinedOutline create_single_poly(std::span<const shape_point> pool, PoolRing outer,
                                 std::span<const JoinHole> holes, bool reverse_outer) {
  JoinedOutline out;
  try {
    join(pool, outer, holes, reverse_outer, out);
  } catch (const std::bad_alloc&) {
    std::vector<std::int32_t>().swap(out.outline);  // give the memory back before reporting
    out.result = kJoinNoMemory;
    out.trace.emplace_back("ALLOC ERR 07");
    out.message = "Error: Unable ot Allocate Memory";
  }
  return out;
}

}  // namespace tsn
