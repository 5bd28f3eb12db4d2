// The triangulated fill of polygons: a part's outer ring joined with its holes, cut into chunks
// and clipped into triangles that become the SOLIDs of a FIL block inserted at the part's corner
// (3DFACEs for TIN input), and the 3DFACEs of one ring of a PolygonZ or MultiPatch shape.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "drawing/drawing_writer.h"
#include "geometry/ring_joining.h"
#include "geometry/triangulation.h"
#include "input/shape_record.h"

namespace tsn {

struct PolygonContext;

// Rings longer than this are announced before they are triangulated.
inline constexpr std::size_t kLongFillOutline = 2000;

// Working arrays of the fill, kept from part to part.
struct FillBuffers {
  Triangulation triangulation;
  std::vector<std::vector<std::int32_t>> chunks;
  std::vector<Face> faces;
  std::vector<JoinHole> holes;
  std::vector<std::int32_t> ring;
  std::vector<std::int32_t> part_holes;  // ring numbers of the holes of the part being filled
  std::vector<std::int32_t> rings_in_order;  // the rings in fill or hatch order
  std::vector<char> ring_filled;             // per ring: filled (1) or a hole (0)
  std::vector<std::int32_t> rings_by_depth;  // all rings by depth, for the hatch order
};

// Fills ring `outer` of rec, with the rings `holes` cut out of it, on `w` (the entity stream or
// the record's block): a FIL block of SOLIDs (colour by block, corners relative to the part's
// lower-left corner) on the second block stream and its INSERT in the fill colour at
// (xmin, ymin, fill_z); for TIN input the triangles are 3DFACEs with the record's three
// elevations instead. A counter-clockwise outer ring is filled too, walked the other way. A part
// whose holes cannot be joined gets no fill (its outline is the caller's). 0, or -1 when writing
// failed or memory ran out.
int fill_polygon_part(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec,
                      std::int32_t outer, std::span<const std::int32_t> holes, double fill_z);

// The 3DFACEs of ring `ring` of a PolygonZ or MultiPatch record, in the fill colour, with the
// edges along the ring visible when DrawEdges asks for edges. A ring that fails in all three
// planes gets no faces. 0, or -1 when writing failed.
int fill_ring_faces(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec, std::int32_t ring);

}  // namespace tsn
