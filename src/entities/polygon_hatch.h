// The release 14 fill of a polygon record: the outlines in hatch order, each pointing to the
// hatch it bounds, and one HATCH entity whose boundary paths are the record's rings.
#pragma once

#include <cstdint>
#include <vector>

#include "drawing/drawing_writer.h"
#include "input/shape_record.h"

namespace tsn {

struct PolygonContext;

// One boundary path of a hatch: its ring, its edge count and the ring's outline (none when the
// hatch is not associative).
struct HatchRing {
  std::int32_t ring = 0;
  std::int32_t edges = 0;
  EntityRef outline;
};

// The rings that bound the hatch, in path order: every ring of even depth followed by the rings
// directly inside it (none after a ring of the deepest level). Needs the nesting of the rings.
void hatch_path_rings(PolygonContext& ctx, int levels, std::vector<std::int32_t>& out);

// Edges of the boundary path of a ring: with Merge off the edges of the closed ring (its last
// point back to its first included) whose ends differ by 1e-10 or more in X or Y, with Merge on
// one edge per point.
std::int32_t hatch_path_edges(const shape_rec& rec, std::int32_t ring, bool merge);

// Outlines (when DrawOutlines is on) and the HATCH of a record on `w`, after nest_rings gave
// `levels` levels. A record smaller than one pattern repeat in both directions is counted and
// gets its outlines only. Outlines lie at `elevation`, the hatch at `fill_z`. 0 or -1.
int hatch_polygon(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec, int levels,
                  double elevation, double fill_z);

}  // namespace tsn
