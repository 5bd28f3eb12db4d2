// Hatch order of the outlines, the boundary paths and the HATCH entity of a polygon record.
#include "entities/polygon_hatch.h"

#include <cmath>

#include "entities/polygon_shape.h"

namespace tsn {
namespace {

constexpr double kSamePoint = 1e-10;

bool degenerate(const shape_point& a, const shape_point& b) {
  return std::fabs(a.x - b.x) < kSamePoint && std::fabs(a.y - b.y) < kSamePoint;
}

// Calls edge(from, to) for every edge of the ring's path, in ring order.
template <typename Edge>
void for_each_path_edge(const shape_rec& rec, std::int32_t ring, bool merge, Edge&& edge) {
  const std::span<const shape_point> p = rec.part_points(ring);
  const std::size_t n = p.size();
  for (std::size_t i = 0; i < n; ++i) {
    const shape_point& a = p[i];
    const shape_point& b = p[i + 1 < n ? i + 1 : 0];
    if (merge || !degenerate(a, b)) edge(a, b);
  }
}

}  // namespace

void hatch_path_rings(PolygonContext& ctx, int levels, std::vector<std::int32_t>& out) {
  std::vector<std::int32_t>& by_depth = ctx.fill.rings_by_depth;
  rings_by_depth(ctx.rings, levels, by_depth);
  out.clear();
  for (const std::int32_t r : by_depth) {
    const RingInfo& ring = ctx.rings[static_cast<std::size_t>(r)];
    if (ring.depth % 2 != 0) continue;
    out.push_back(r);
    for_each_child(ctx.rings, r, [&](std::int32_t h) { out.push_back(h); });
  }
}

std::int32_t hatch_path_edges(const shape_rec& rec, std::int32_t ring, bool merge) {
  std::int32_t count = 0;
  for_each_path_edge(rec, ring, merge, [&](const shape_point&, const shape_point&) { ++count; });
  return count;
}

// The boundary paths of the hatch: the edges of every ring, in path order.
static void hatch_paths(PolygonContext& ctx, const shape_rec& rec, bool merge) {
  std::vector<Point2>& edges = ctx.hatch_edges;
  edges.clear();
  for (const HatchRing& ring : ctx.hatch_rings) {
    for_each_path_edge(rec, ring.ring, merge, [&](const shape_point& a, const shape_point& b) {
      edges.push_back({a.x, a.y});
      edges.push_back({b.x, b.y});
    });
  }
  ctx.hatch_paths.clear();
  std::size_t at = 0;
  for (const HatchRing& ring : ctx.hatch_rings) {
    const auto n = static_cast<std::size_t>(ring.edges) * 2;
    ctx.hatch_paths.push_back({std::span<const Point2>(edges).subspan(at, n), ring.outline});
    at += n;
  }
}

int hatch_polygon(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec, int levels,
                  double elevation, double fill_z) {
  const FileSettings& cur = ctx.settings.cur;
  const bool merge = ctx.settings.Merge != 0;
  const bool outlines = cur.DrawOutlines != 0;
  const PreparedHatch& hatch = ctx.hatch;

  // Every ring is outlined in this order; a ring without a single edge bounds nothing and is
  // no path.
  std::vector<std::int32_t>& order = ctx.fill.rings_in_order;
  hatch_path_rings(ctx, levels, order);
  std::vector<HatchRing>& rings = ctx.hatch_rings;
  rings.clear();
  for (const std::int32_t r : order) {
    const std::int32_t edges = hatch_path_edges(rec, r, merge);
    if (edges > 0) rings.push_back({r, edges, {}});
  }

  const bool hatched = !rings.empty() && !hatch_too_small(hatch, rec.box);
  if (!hatched && !rings.empty()) ++ctx.counters.polygons_not_hatched;
  const EntityRef hatch_ref = hatched ? w.writer->reserve() : EntityRef{};
  const bool associative = hatched && outlines;

  if (outlines) {
    std::size_t path = 0;
    for (const std::int32_t r : order) {
      const bool bounds = path < rings.size() && rings[path].ring == r;
      EntityRef made;
      const EntityRef reactor = associative && bounds ? hatch_ref : EntityRef{};
      if (ring_outline(ctx, w, rec, r, elevation, ctx.outline_colour, reactor, &made) != 0) {
        return -1;
      }
      if (bounds) {
        if (associative) rings[path].outline = made;
        ++path;
      }
    }
  }
  if (!hatched) return 0;

  hatch_paths(ctx, rec, merge);
  std::array<HatchPatternLine, kMaxHatchLines> lines{};
  const auto count = static_cast<std::size_t>(hatch.pattern.line_count);
  for (std::size_t k = 0; k < count; ++k) {
    const HatchLine& l = hatch.pattern.lines[k];
    lines[k] = {l.angle, l.base_x, l.base_y, l.offset_x, l.offset_y,
                std::span<const double>(l.dashes.data(), static_cast<std::size_t>(l.dash_count))};
  }
  Entity e;
  e.look = {ctx.layer, ctx.fill_colour, rec.has_z};
  e.shape = HatchEntity{hatch_ref, fill_z, hatch.pattern.name, hatch.pattern.line_count == 0,
                        associative, ctx.hatch_paths, std::span(lines.data(), count)};
  if (w == ctx.out && ctx.annotations != nullptr) e.xdata = ctx.annotations->extended_data();
  return w.add(e);
}

}  // namespace tsn
