// Polygon records to closed outlines and multipatch faces.
#include "entities/polygon_shape.h"

#include <array>

#include "drawing/release_traits.h"
#include "entities/polygon_hatch.h"
#include "entities/polyline_writer.h"
#include "entities/vertex_thinning.h"
#include "geometry/fill_faces.h"
#include "entities/drawable_record.h"
#include "input/shapefile_reader.h"
#include "platform/host.h"
#include "platform/messages.h"

namespace tsn {
namespace {

enum MultipatchPart { kStrip = 0, kFan = 1, kOuterRing = 2, kLastRingType = 5 };

// Invisible-edge bits of a strip or fan triangle: the pattern's visible edges, and the outer
// edges `first` of the first face and `last` of the last.
int edges(int draw_edges, std::array<bool, 4> visible, int face, int faces, std::size_t first,
          std::size_t last) {
  if ((draw_edges & kDrawEdgesShown) == 0) return invisible_edge_bits({}, true);
  if ((draw_edges & kDrawEdgesPattern) == 0) {
    return invisible_edge_bits({true, true, true, true}, true);
  }
  if (face == 0) visible[first] = true;
  if (face == faces - 1) visible[last] = true;
  return invisible_edge_bits(visible, true);
}

// A closed 3D polyline through three points (a multipatch triangle's outline).
int triangle_outline(PolygonContext& ctx, const DrawingOut& w, const shape_point& a,
                     const shape_point& b, const shape_point& c) {
  const Point3 corners[3] = {{a.x, a.y, a.z}, {b.x, b.y, b.z}, {c.x, c.y, c.z}};
  const PolylineEntity outline{corners, 0.0, true, polyline_vertex_list_form(ctx.settings, true),
                               ctx.outline_colour};
  return w.add({ctx.layer, ctx.outline_colour, true}, outline);
}

int face(PolygonContext& ctx, const DrawingOut& w, const shape_point& a, const shape_point& b,
         const shape_point& c, int invisible, bool has_z) {
  const FaceEntity f{{{a.x, a.y, a.z}, {b.x, b.y, b.z}, {c.x, c.y, c.z}, {c.x, c.y, c.z}},
                     invisible};
  return w.add({ctx.layer, ctx.fill_colour, has_z}, f);
}

// Skips empty records; true when the record was skipped.
bool skip_empty(PolygonContext& ctx, const shape_rec& rec) {
  if (rec.num_points != 0 && rec.num_parts != 0) return false;
  status_write("\nSkipping empty shape record (#%d)", rec.record_number);
  ++ctx.counters.records_skipped;
  return true;
}

// A TIN file holds triangles only: a record of several parts must have four points.
bool conforming_tin(const PolygonContext& ctx, const shape_rec& rec) {
  if (ctx.settings.cur.TIN == 0 || rec.num_parts < 2 || rec.num_points == 4) return true;
  host().beep(Icon::warning);
  status_write(
      "\nFATAL ERROR: Shapefile is not a special conforming TIN Shapefile.  Translation "
      "aborted.");
  return false;
}

// The record's attribute block, begun when attributes go into blocks; the stream to write to.
struct RecordBlock {
  const DrawingOut* w = nullptr;
  std::string name;
};

// Attributes go into a block of the record when they are block attributes and something in
// the block can stand for the record: outlines, or a release 14 hatch. A release 12 fill alone
// carries them on its own insertion instead.
bool record_block_wanted(const PolygonContext& ctx) {
  const FileSettings& cur = ctx.settings.cur;
  return block_attributes(cur) &&
         (cur.DrawOutlines != 0 || cur.Fill == 0 || release_traits(ctx.settings.verDXF).hatch);
}

int begin_record_block(PolygonContext& ctx, const shape_rec& rec, bool wanted, RecordBlock& b) {
  b.w = &ctx.out;
  if (!wanted) return 0;
  if (ctx.block_writer == nullptr || ctx.blocks.writer == nullptr || ctx.names == nullptr) {
    trace_write("SHOULD NOT HAPPEN: polygon block without a block writer\n");
    return -1;
  }
  b.w = &ctx.blocks;
  b.name = ctx.names->next_name(NameKind::polygon);
  return ctx.block_writer->begin_block(*b.w, b.name, {rec.box.xmin, rec.box.ymin, rec.zmin},
                                       rec.has_z);
}

int end_record_block(PolygonContext& ctx, const shape_rec& rec, const RecordBlock& b,
                     double elevation) {
  if (b.name.empty()) return 0;
  if (ctx.block_writer->end_block(*b.w) != 0) return -1;
  // On the block's base point, raised by the elevation: every vertex lands where it would
  // without the block.
  return ctx.block_writer->insert_block(ctx.out, b.name,
                                        {ctx.layer, ctx.outline_colour, rec.has_z},
                                        {rec.box.xmin, rec.box.ymin, rec.zmin + elevation});
}

// Whether a ring inside another is filled, its parent's role known. A ring in no other ring is
// filled whichever way it turns. Inside a filled ring, a ring is filled again only when both
// turn clockwise: a counter-clockwise ring there is a hole, and so is a clockwise ring inside a
// counter-clockwise outer ring, from a program that winds every ring the other way. Inside a
// hole, a ring is an island when it turns clockwise or the other way from the hole.
bool inner_ring_filled(const RingInfo& ring, const RingInfo& parent, bool parent_filled) {
  constexpr int kClockwise = -1;
  if (parent_filled) return ring.orientation == kClockwise && parent.orientation == kClockwise;
  return ring.orientation == kClockwise || ring.orientation != parent.orientation;
}

// The triangulated fill (release 12 and TIN input), level by level: each ring's fill with its
// direct holes cut out, then its outline. Files wound the usual way (clockwise outer rings,
// counter-clockwise holes) and files wound the other way throughout fill alike. In TIN and
// comma-delimited input every ring is a shape of its own and filled.
int triangulated_fill(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec, int levels,
                      double elevation, double fill_z) {
  const bool every_ring = ctx.comma_delimited || ctx.settings.cur.TIN != 0;
  const bool outlines = ctx.settings.cur.DrawOutlines != 0;
  std::vector<std::int32_t>& holes = ctx.fill.part_holes;
  std::vector<std::int32_t>& order = ctx.fill.rings_in_order;
  std::vector<char>& filled = ctx.fill.ring_filled;
  rings_by_depth(ctx.rings, levels, order);
  filled.assign(ctx.rings.size(), 0);
  // By depth, so that a ring's parent is decided before the ring.
  for (const std::int32_t r : order) {
    const RingInfo& ring = ctx.rings[static_cast<std::size_t>(r)];
    holes.clear();
    for_each_child(ctx.rings, r, [&](std::int32_t h) { holes.push_back(h); });
    const auto parent = static_cast<std::size_t>(ring.parent);
    const bool outer = every_ring || ring.depth == 0 || ring.parent < 0 ||
                       inner_ring_filled(ring, ctx.rings[parent], filled[parent] != 0);
    filled[static_cast<std::size_t>(r)] = outer;
    if (outer && fill_polygon_part(ctx, w, rec, r, holes, fill_z) != 0) return -1;
    if (outlines && ring_outline(ctx, w, rec, r, elevation, ctx.outline_colour) != 0) return -1;
  }
  return 0;
}

// Outlines, and the fill when asked for, of a Polygon or PolygonM record.
int polygon_rings(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec, double elevation,
                  double fill_z) {
  const FileSettings& cur = ctx.settings.cur;
  if (cur.Fill == 0) {
    for (std::int32_t r = 0; r < rec.num_parts; ++r) {
      if (ring_outline(ctx, w, rec, r, elevation, ctx.outline_colour) != 0) return -1;
    }
    return 0;
  }
  const int levels = nest_rings(rec, ctx.rings);
  if (!ctx.comma_delimited && cur.TIN == 0) {
    for (std::int32_t r = 0; r < rec.num_parts; ++r) known_orientation(rec, ctx.rings, r);
  }
  if (release_traits(ctx.settings.verDXF).hatch && cur.TIN == 0) {
    return hatch_polygon(ctx, w, rec, levels, elevation, fill_z);
  }
  return triangulated_fill(ctx, w, rec, levels, elevation, fill_z);
}

// Each ring of a PolygonZ record or ring part of a MultiPatch: its faces, then its outline.
int ring_with_faces(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec, std::int32_t ring) {
  const FileSettings& cur = ctx.settings.cur;
  if (cur.Fill != 0 && fill_ring_faces(ctx, w, rec, ring) != 0) return -1;
  if (cur.Fill != 0 && cur.DrawOutlines == 0) return 0;
  return ring_outline(ctx, w, rec, ring, 0.0, ctx.outline_colour);
}

}  // namespace

double ring_vertex_z(const PolygonContext& ctx, const shape_rec& rec, const shape_point& p,
                     double elevation) {
  if (!rec.has_z) return elevation;
  const FileSettings& cur = ctx.settings.cur;
  return cur.flgScaleZ != 0 ? p.z * cur.ElevFactor : p.z;
}

std::array<double, 3> tin_heights(const PolygonContext& ctx) {
  std::array<double, 3> z{};
  if (ctx.table == nullptr) return z;
  const FileSettings& cur = ctx.settings.cur;
  const std::string* keys[3] = {&cur.Z1Key, &cur.Z2Key, &cur.Z3Key};
  for (std::size_t i = 0; i < 3; ++i) {
    const int field = find_field(ctx.table->fields(), *keys[i]);
    if (field >= 0) z[i] = table_elevation(*ctx.table, field, cur.ElevFactor);
  }
  return z;
}

int strip_face_edges(int draw_edges, int face, int faces) {
  return edges(draw_edges, {false, false, true, true}, face, faces, 0, 1);
}

int fan_face_edges(int draw_edges, int face, int faces) {
  // The fourth flag is left open: a fan face is a triangle, whose fourth edge is its third.
  return edges(draw_edges, {false, true, false, false}, face, faces, 0, 2);
}

int ring_outline(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec, std::int32_t ring,
                 double elevation, int colour, EntityRef reactor, EntityRef* made) {
  // Outlines inside a record's block carry nothing: the block's INSERT carries the attributes.
  const bool in_block = !(w == ctx.out);
  const bool tin = ctx.settings.cur.TIN != 0;
  const shape_point* p = rec.part_points(ring).data();
  std::int32_t n = rec.points_in_part(ring);
  const bool has_z = rec.has_z || tin;  // a TIN ring is a 3D polyline
  const bool classic = polyline_vertex_list_form(ctx.settings, has_z);
  std::vector<Point3>& v = ctx.outline;
  v.clear();
  if (classic) {
    std::array<double, 3> tin_z{};
    if (tin) {
      n = std::min<std::int32_t>(n, 3);
      tin_z = tin_heights(ctx);
    }
    for (std::int32_t i = 0; i < n; ++i) {
      const double z =
          tin ? tin_z[static_cast<std::size_t>(i)] : ring_vertex_z(ctx, rec, p[i], elevation);
      v.push_back({p[i].x, p[i].y, z});
    }
  } else if (n >= 2) {
    // The closing point, which repeats the first, is left out.
    for (std::int32_t i = 0; i + 1 < n; ++i) v.push_back({p[i].x, p[i].y, p[i].z});
  } else {
    return 0;
  }
  Entity e;
  e.look = {ctx.layer, colour, has_z};
  e.shape = PolylineEntity{v, elevation, true, classic, colour};
  e.reactor = reactor;
  if (!in_block && ctx.annotations != nullptr) e.xdata = ctx.annotations->extended_data();
  return w.add(e, made);
}

int polygon_record(PolygonContext& ctx, shape_rec& rec) {
  if (!conforming_tin(ctx, rec)) return kTinNotConforming;
  if (skip_empty(ctx, rec)) return 0;
  const ConvSettings& s = ctx.settings;
  const FileSettings& cur = s.cur;
  ctx.counters.points_processed += rec.num_points;
  double elevation = 0.0;
  if (!rec.has_z && cur.TIN == 0) {
    if (s.CheckForBadLoops != 0) check_ring_loops(rec);
    if (s.Merge != 0) {
      const std::int32_t before = rec.num_points;
      merge_close_vertices(rec, s.VerticesMergeTol);
      drop_collinear_vertices(rec, s.MergeTolerance);
      ctx.counters.points_eliminated += before - rec.num_points;
    }
    elevation = record_elevation(ctx.elevation);
  }
  if (ctx.annotations != nullptr) ctx.annotations->anchor_from_box(rec.box, true, true);

  RecordBlock block;
  if (begin_record_block(ctx, rec, record_block_wanted(ctx), block) != 0) return -1;
  // Inside the record's block everything lies at 0; the block's insertion carries the height.
  const double ring_elevation = block.name.empty() ? elevation : 0.0;
  if (polygon_rings(ctx, *block.w, rec, ring_elevation, ring_elevation - s.zFill) != 0) {
    return -1;
  }
  if (end_record_block(ctx, rec, block, elevation) != 0) return -1;
  if (ctx.annotations != nullptr) ctx.annotations->record_done(rec.box, shape_z(rec), rec.has_z);
  return 0;
}

int polygon_z_record(PolygonContext& ctx, shape_rec& rec) {
  if (!conforming_tin(ctx, rec)) return kTinNotConforming;
  if (skip_empty(ctx, rec)) return 0;
  ctx.counters.points_processed += rec.num_points;
  if (ctx.annotations != nullptr) ctx.annotations->anchor_from_box(rec.box, true, true);
  RecordBlock block;
  if (begin_record_block(ctx, rec, record_block_wanted(ctx), block) != 0) return -1;
  for (std::int32_t r = 0; r < rec.num_parts; ++r) {
    if (ring_with_faces(ctx, *block.w, rec, r) != 0) return -1;
  }
  if (end_record_block(ctx, rec, block, 0.0) != 0) return -1;
  if (ctx.annotations != nullptr) ctx.annotations->record_done(rec.box, shape_z(rec), rec.has_z);
  return 0;
}

int multipatch_record(PolygonContext& ctx, shape_rec& rec) {
  if (skip_empty(ctx, rec)) return 0;
  const FileSettings& cur = ctx.settings.cur;
  const bool faces = cur.Fill != 0;
  const bool outlines = cur.DrawOutlines != 0 || !faces;
  if (ctx.annotations != nullptr) ctx.annotations->anchor_from_box(rec.box, true, true);
  RecordBlock block;
  if (begin_record_block(ctx, rec, record_block_wanted(ctx), block) != 0) return -1;
  const DrawingOut& w = *block.w;
  for (std::int32_t part = 0; part < rec.num_parts; ++part) {
    const int type = rec.part_types[static_cast<std::size_t>(part)];
    const shape_point* p = rec.part_points(part).data();
    const std::int32_t n = rec.points_in_part(part);
    if (type == kStrip || type == kFan) {
      const int count = n - 2;
      for (int i = 0; i < count; ++i) {
        const shape_point& a = type == kStrip ? p[i] : p[0];
        const shape_point& b = p[i + 1];
        const shape_point& c = p[i + 2];
        const int invisible = type == kStrip ? strip_face_edges(cur.DrawEdges, i, count)
                                             : fan_face_edges(cur.DrawEdges, i, count);
        if (faces && face(ctx, w, a, b, c, invisible, rec.has_z) != 0) return -1;
        if (outlines && triangle_outline(ctx, w, a, b, c) != 0) return -1;
      }
    } else if (type >= kOuterRing && type <= kLastRingType) {
      if (ring_with_faces(ctx, w, rec, part) != 0) return -1;
    }
  }
  if (end_record_block(ctx, rec, block, 0.0) != 0) return -1;
  if (ctx.annotations != nullptr) ctx.annotations->record_done(rec.box, shape_z(rec), rec.has_z);
  return 0;
}

int polygon_shape(PolygonContext& ctx, ShapefileReader& reader, shape_rec& rec, int shape_type) {
  if (read_drawable_record(reader, rec, ctx.settings.cur, ctx.elevation, ctx.counters) != 0) {
    return -1;
  }
  switch (shape_type) {
    case 15: return polygon_z_record(ctx, rec);
    case 31: return multipatch_record(ctx, rec);
    default: return polygon_record(ctx, rec);
  }
}

}  // namespace tsn
