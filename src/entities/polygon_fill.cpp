// FIL blocks of SOLIDs, TIN faces and the 3DFACEs of 3D rings.
#include "entities/polygon_fill.h"

#include <algorithm>

#include "entities/polygon_shape.h"
#include "geometry/fill_chunks.h"
#include "geometry/fill_faces.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "platform/string_table.h"

namespace tsn {
namespace {

std::span<const shape_point> pool_of(const shape_rec& rec) {
  const auto n = std::min<std::size_t>(rec.points.size(),
                                       static_cast<std::size_t>(std::max(rec.num_points, 0)));
  return {rec.points.data(), n};
}

PoolRing pool_ring(const shape_rec& rec, std::int32_t ring) {
  return {rec.part_starts[static_cast<std::size_t>(ring)], rec.points_in_part(ring)};
}

void announce_long_outline(std::size_t points) {
  if (points <= kLongFillOutline) return;
  status_write("%s", format_printf(complete_spelling(
                                       "\nTriangulate polygon for c%s fill (%ld outer ring "
                                       "points) ...")
                                       .c_str(),
                                   static_cast<long>(points))
                         .c_str());
}

// The joined outline of the part, clockwise; empty when the part cannot be filled.
// -1 when memory ran out.
int joined_outline(PolygonContext& ctx, const shape_rec& rec, std::int32_t outer,
                   std::span<const std::int32_t> holes, std::vector<std::int32_t>& outline) {
  FillBuffers& b = ctx.fill;
  b.holes.clear();
  for (const std::int32_t h : holes) {
    b.holes.push_back({pool_ring(rec, h), known_orientation(rec, ctx.rings, h)});
  }
  // A counter-clockwise outer ring (a ring in no other, from a program that winds outer rings
  // the other way, or any ring of TIN and comma-delimited input) is walked the other way, before
  // its holes are joined in.
  const bool reverse = known_orientation(rec, ctx.rings, outer) == 1;
  JoinedOutline joined =
      create_single_poly(pool_of(rec), pool_ring(rec, outer), b.holes, reverse);
  for (const std::string& line : joined.trace) trace_write("%s\n", line.c_str());
  if (joined.result == kJoinNoMemory) {
    status_write("\n%s", joined.message.c_str());
    return -1;
  }
  outline.clear();
  if (joined.result != kJoinDone) {
    if (!joined.message.empty()) status_write("\n%s", joined.message.c_str());
    return 0;
  }
  outline = std::move(joined.outline);
  return 0;
}

Point3 at(const shape_point& p, double dx, double dy, double z) {
  return {p.x - dx, p.y - dy, z};
}

// The faces as 3DFACEs in the fill colour: height(index, point) gives a corner's Z and
// invisible(face) the face's invisible-edge flags.
template <typename Height, typename Invisible>
int write_faces(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec,
                std::span<const Face> faces, Height&& height, Invisible&& invisible) {
  for (const Face& f : faces) {
    const auto c = face_corners(f);
    FaceEntity face;
    for (std::size_t k = 0; k < 4; ++k) {
      const shape_point& p = rec.points[static_cast<std::size_t>(c[k])];
      face.corners[k] = {p.x, p.y, height(c[k], p)};
    }
    face.invisible_edges = invisible(f);
    if (w.add({ctx.layer, ctx.fill_colour, rec.has_z}, face) != 0) return -1;
  }
  return 0;
}

// A TIN triangle's faces: their corners take the record's three elevations.
int write_tin_faces(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec,
                    std::int32_t first, std::span<const Face> faces) {
  const std::array<double, 3> z = tin_heights(ctx);
  const auto height = [&](std::int32_t index, const shape_point&) {
    const std::int32_t k = index - first;
    return k >= 0 && k < 3 ? z[static_cast<std::size_t>(k)] : 0.0;
  };
  // Every edge of a TIN triangle is its own.
  return write_faces(ctx, w, rec, faces, height, [](const Face&) { return 0; });
}

// Clips every chunk; hands each face to `emit`. Faces of a chunk that fails stand.
template <typename Emit>
int clip_chunks(FillBuffers& b, std::span<const shape_point> pool, Emit&& emit) {
  for (const std::vector<std::int32_t>& chunk : b.chunks) {
    PlaneMarks tried{};
    triangulate_begin(b.triangulation, pool, chunk, TriangulateOptions{}, tried);
    Face face;
    while (triangulate_next(b.triangulation, face) == TriangulateStep::face) {
      if (emit(face) != 0) return -1;
    }
  }
  return 0;
}

}  // namespace

int fill_polygon_part(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec,
                      std::int32_t outer, std::span<const std::int32_t> holes, double fill_z) {
  FillBuffers& b = ctx.fill;
  const std::span<const shape_point> pool = pool_of(rec);
  announce_long_outline(static_cast<std::size_t>(rec.points_in_part(outer)));
  if (joined_outline(ctx, rec, outer, holes, b.ring) != 0) return -1;
  if (b.ring.size() < 4) return 0;  // no three distinct corners: nothing to fill
  const ChunkSplit split = split_into_chunks(pool, b.ring, ctx.settings.InternChunkSize, b.chunks);
  if (!split.ok) {
    status_write("\nError occurred , Could not split chunk==%ld",
                 static_cast<long>(split.failed_chunk));
  }

  if (ctx.settings.cur.TIN != 0) {
    b.faces.clear();
    if (clip_chunks(b, pool, [&](const Face& f) {
          b.faces.push_back(f);
          return 0;
        }) != 0) {
      return -1;
    }
    return write_tin_faces(ctx, w, rec, pool_ring(rec, outer).first, b.faces);
  }

  if (ctx.fill_blocks.writer == nullptr || ctx.names == nullptr || ctx.block_writer == nullptr) {
    trace_write("SHOULD NOT HAPPEN: polygon fill without a fill block stream\n");
    return -1;
  }
  const shape_box& box = ctx.rings[static_cast<std::size_t>(outer)].box;
  const std::string name = ctx.names->next_name(NameKind::fill);
  const DrawingOut& blocks = ctx.fill_blocks;
  if (ctx.block_writer->begin_block(blocks, name, {0.0, 0.0, 0.0}, rec.has_z) != 0) return -1;
  const int clipped = clip_chunks(b, pool, [&](const Face& f) {
    const auto c = solid_corners(f);
    SolidEntity solid;
    for (std::size_t k = 0; k < 4; ++k) {
      solid.corners[k] = at(rec.points[static_cast<std::size_t>(c[k])], box.xmin, box.ymin, 0.0);
    }
    return blocks.add({ctx.layer, 0, rec.has_z}, solid);
  });
  if (clipped != 0 || ctx.block_writer->end_block(blocks) != 0) return -1;

  const shape_point corner{box.xmin, box.ymin, fill_z};
  // The fill carries the record's attributes when no outline does; inside the record's own
  // block the block's insertion carries them.
  const bool carries_attributes =
      w == ctx.out && ctx.settings.cur.DrawOutlines == 0 && ctx.annotations != nullptr;
  const EntityLook look{ctx.layer, ctx.fill_colour, rec.has_z};
  if (carries_attributes) return ctx.block_writer->insert_block(w, name, look, corner);
  return w.add(look, InsertEntity{name, {corner.x, corner.y, corner.z}, std::nullopt, false});
}

int fill_ring_faces(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec, std::int32_t ring) {
  FillBuffers& b = ctx.fill;
  const PoolRing r = pool_ring(rec, ring);
  announce_long_outline(static_cast<std::size_t>(std::max(r.count, 0)));
  b.ring.resize(static_cast<std::size_t>(std::max(r.count, 0)));
  for (std::int32_t i = 0; i < r.count; ++i) b.ring[static_cast<std::size_t>(i)] = r.first + i;
  const std::span<const shape_point> pool = pool_of(rec);
  if (!ring_faces(b.triangulation, pool, b.ring, b.faces)) return 0;
  const int draw_edges = ctx.settings.cur.DrawEdges;
  return write_faces(
      ctx, w, rec, b.faces,
      [&](std::int32_t, const shape_point& p) { return ring_vertex_z(ctx, rec, p, 0.0); },
      [draw_edges](const Face& f) { return ring_face_invisible_edges(f, draw_edges); });
}

}  // namespace tsn
