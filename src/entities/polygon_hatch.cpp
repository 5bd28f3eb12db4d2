// Hatch order of the outlines, the boundary paths and the HATCH entity of a polygon record.
#include "entities/polygon_hatch.h"

#include <cmath>

#include "dxf/hatch_groups.h"
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

void write_path(DxfWriter& w, const shape_rec& rec, const HatchPath& path, bool merge) {
  dxf_prefixed_int(w, 92, 0);
  dxf_prefixed_int(w, 93, path.edges);
  for_each_path_edge(rec, path.ring, merge, [&](const shape_point& a, const shape_point& b) {
    dxf_prefixed_int(w, 72, 1);  // a line edge
    dxf_point2(w, 10, a.x, a.y);
    dxf_point2(w, 11, b.x, b.y);
  });
  dxf_prefixed_int(w, 97, path.outline != 0 ? 1 : 0);
  if (path.outline != 0) dxf_soft_pointer(w, path.outline);
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

int hatch_polygon(PolygonContext& ctx, DxfWriter& w, const shape_rec& rec, int levels,
                  double elevation, double fill_z) {
  DxfState& s = w.state;
  const FileSettings& cur = ctx.settings.cur;
  const bool merge = ctx.settings.Merge != 0;
  const bool outlines = cur.DrawOutlines != 0;
  const PreparedHatch& hatch = ctx.hatch;

  // Every ring is outlined in this order; a ring without a single edge bounds nothing and is
  // no path.
  std::vector<std::int32_t>& order = ctx.fill.rings_in_order;
  hatch_path_rings(ctx, levels, order);
  std::vector<HatchPath>& paths = ctx.hatch_paths;
  paths.clear();
  for (const std::int32_t r : order) {
    const std::int32_t edges = hatch_path_edges(rec, r, merge);
    if (edges > 0) paths.push_back({r, edges, 0});
  }

  const bool hatched = !paths.empty() && !hatch_too_small(hatch, rec.box);
  if (!hatched && !paths.empty()) ++ctx.counters.polygons_not_hatched;
  const std::uint32_t hatch_handle = hatched ? dxf_reserve_handle(s) : 0;
  const bool associative = hatched && outlines;

  if (outlines) {
    std::size_t path = 0;
    for (const std::int32_t r : order) {
      const bool bounds = path < paths.size() && paths[path].ring == r;
      if (associative && bounds) s.reactor_owner = hatch_handle;
      const std::uint32_t before = s.n_last_handle;
      const int result = ring_outline(ctx, w, rec, r, elevation, ctx.outline_colour);
      s.reactor_owner = 0;
      if (result != 0) return -1;
      if (bounds) {
        // The outline's own handle is the first one issued for it.
        if (associative && s.n_last_handle != before) paths[path].outline = before + 1;
        ++path;
      }
    }
  }
  if (!hatched) return 0;

  DxfHatchHeader header;
  header.layer = ctx.layer;
  header.colour = ctx.fill_colour;
  header.elevation = fill_z;
  header.pattern_name = hatch.pattern.name;
  header.solid = hatch.pattern.line_count == 0;
  header.associative = associative;
  header.path_count = static_cast<long>(paths.size());
  if (write_hatch_header(w, header) != 0) return -1;
  for (const HatchPath& path : paths) write_path(w, rec, path, merge);
  std::array<DxfHatchLine, kMaxHatchLines> lines{};
  const auto count = static_cast<std::size_t>(hatch.pattern.line_count);
  for (std::size_t k = 0; k < count; ++k) {
    const HatchLine& l = hatch.pattern.lines[k];
    lines[k] = {l.angle, l.base_x, l.base_y, l.offset_x, l.offset_y,
                std::span<const double>(l.dashes.data(), static_cast<std::size_t>(l.dash_count))};
  }
  if (write_hatch_pattern(w, header.solid, std::span(lines.data(), count)) != 0) return -1;
  if (&w == &ctx.out && ctx.annotations != nullptr) ctx.annotations->attach_extended_data(w);
  return 0;
}

}  // namespace tsn
