// Line records to polylines: skipping, thinning, elevation, attribute blocks, per-part output.
#include "entities/polyline_shape.h"

#include "entities/polyline_writer.h"
#include "entities/vertex_thinning.h"
#include "entities/drawable_record.h"
#include "input/shapefile_reader.h"
#include "platform/messages.h"

namespace tsn {
namespace {

constexpr int kLineClass = 1;

// Which annotations the record hands over, from the label and attribute options of lines.
struct AnnotationPlan {
  bool labels_aligned = false;
  bool labels_move_close = false;
  bool attribs_aligned = false;
  bool attribs_move_close = false;
  bool extended_data = false;
};

AnnotationPlan plan_annotations(const FileSettings& cur) {
  AnnotationPlan p;
  const bool labels = cur.TextLabels != 0;
  p.labels_aligned = labels && cur.AlignText != 0;
  p.labels_move_close = labels && cur.AlignText == 0 && cur.label_move_close[kLineClass] != 0;
  const bool attrib_text = polyline_attribute_blocks(cur);
  p.attribs_aligned = attrib_text && cur.AlignAttrib != 0;
  p.attribs_move_close =
      attrib_text && cur.AlignAttrib == 0 && cur.attrib_move_close[kLineClass] != 0;
  p.extended_data = attributes_wanted(cur) && !block_attributes(cur);
  return p;
}

// Step 3: a record whose parts do not leave room for two points in a part, or that has no
// part, is logged and skipped.
bool skip_record(PolylineContext& ctx, const shape_rec& rec) {
  if (rec.num_parts >= rec.num_points) {
    status_write("\nSkipping single vertex polyline (Shape record number %ld)",
                 static_cast<long>(rec.record_number));
  } else if (rec.num_parts == 0) {
    status_write("\nSkipping empty shape record (#%d)", rec.record_number);
  } else {
    return false;
  }
  ++ctx.counters.records_skipped;
  return true;
}

// Step 4 for 2D records: the two passes when Merge is on, then the table elevation.
double thin_and_elevate(PolylineContext& ctx, shape_rec& rec) {
  const ConvSettings& s = ctx.settings;
  const std::int32_t before = rec.num_points;
  if (s.Merge != 0) {
    merge_close_vertices(rec, s.VerticesMergeTol);
    drop_collinear_vertices(rec, s.MergeTolerance);
  }
  ctx.counters.points_after_thinning += rec.num_points;
  ctx.counters.points_eliminated += before - rec.num_points;
  return record_elevation(ctx.elevation);
}

// One part: one polyline.
int write_part(PolylineContext& ctx, const DrawingOut& w, const shape_rec& rec, std::int32_t part,
               double elevation, int colour, const AnnotationPlan& plan) {
  const FileSettings& cur = ctx.settings.cur;
  const std::span<const shape_point> pts = rec.part_points(part);
  if (ctx.annotations != nullptr) {
    if (part == 0 && (plan.labels_aligned || plan.attribs_aligned)) {
      ctx.annotations->align_with_part(pts, plan.labels_aligned, plan.attribs_aligned);
    }
    if (plan.labels_move_close || plan.attribs_move_close) {
      ctx.annotations->move_close_to_part(pts, plan.labels_move_close, plan.attribs_move_close);
    }
  }
  const double z_scale = cur.flgScaleZ != 0 ? cur.ElevFactor : 1.0;
  std::vector<Point3>& vertices = ctx.vertices;
  vertices.clear();
  for (const shape_point& p : pts) {
    vertices.push_back({p.x, p.y, rec.has_z ? p.z * z_scale : elevation});
  }
  Entity e;
  e.look = {ctx.layer, colour, rec.has_z};
  e.shape = PolylineEntity{vertices, elevation, ctx.settings.ClosePolys != 0,
                           polyline_vertex_list_form(ctx.settings, rec.has_z), -1};
  if (plan.extended_data && ctx.annotations != nullptr) e.xdata = ctx.annotations->extended_data();
  return w.add(e);
}

}  // namespace

ElevationSource elevation_source(const FileSettings& cur, TableReader* table,
                                 bool comma_delimited, int chosen_field) {
  ElevationSource src;
  src.factor = cur.ElevFactor;
  if (cur.PointsElev == 0 || table == nullptr || comma_delimited) return src;
  if (chosen_field >= 0) {
    src.field = chosen_field < static_cast<int>(table->fields().size()) ? chosen_field : -1;
  } else {
    src.field = find_field(table->fields(), cur.ElevKey);
  }
  if (src.field >= 0) src.table = table;
  return src;
}

double record_elevation(const ElevationSource& source) {
  if (source.table == nullptr || source.field < 0) return 0.0;
  return table_elevation(*source.table, source.field, source.factor);
}

bool polyline_attribute_blocks(const FileSettings& cur) { return block_attributes(cur); }

int polyline_record(PolylineContext& ctx, shape_rec& rec) {
  if (skip_record(ctx, rec)) return 0;
  const FileSettings& cur = ctx.settings.cur;
  ctx.counters.points_processed += rec.num_points;
  const double elevation = rec.has_z ? 0.0 : thin_and_elevate(ctx, rec);

  const AnnotationPlan plan = plan_annotations(cur);
  if (ctx.annotations != nullptr && (plan.labels_move_close || plan.attribs_move_close)) {
    ctx.annotations->anchor_from_box(rec.box, plan.labels_move_close, plan.attribs_move_close);
  }

  const bool in_block = polyline_attribute_blocks(cur);
  const DrawingOut* w = &ctx.out;
  std::string block_name;
  if (in_block) {
    if (ctx.block_writer == nullptr || ctx.blocks.writer == nullptr || ctx.names == nullptr) {
      trace_write("SHOULD NOT HAPPEN: attribute block without a block writer\n");
      return -1;
    }
    w = &ctx.blocks;
    block_name = ctx.names->next_name(NameKind::arc);
    const shape_point base{rec.box.xmin, rec.box.ymin, rec.zmin};
    if (ctx.block_writer->begin_block(*w, block_name, base, rec.has_z) != 0) return -1;
  }

  const int colour = in_block ? 0 : ctx.colour;
  const double part_elevation = in_block ? 0.0 : elevation;
  for (std::int32_t i = 0; i < rec.num_parts; ++i) {
    if (write_part(ctx, *w, rec, i, part_elevation, colour, plan) != 0) return -1;
  }

  if (in_block) {
    if (ctx.block_writer->end_block(*w) != 0) return -1;
    // The insertion stands on the block's base point, raised by the elevation, so that every
    // vertex lands where it would without the block.
    const shape_point at{rec.box.xmin, rec.box.ymin, rec.zmin + elevation};
    if (ctx.block_writer->insert_block(ctx.out, block_name, {ctx.layer, ctx.colour, rec.has_z},
                                       at) != 0) {
      return -1;
    }
  }
  if (ctx.annotations != nullptr) ctx.annotations->record_done(rec.box, shape_z(rec), rec.has_z);
  return 0;
}

int polyline_shape(PolylineContext& ctx, ShapefileReader& reader, shape_rec& rec) {
  if (read_drawable_record(reader, rec, ctx.settings.cur, ctx.elevation, ctx.counters) != 0) {
    return -1;
  }
  return polyline_record(ctx, rec);
}

}  // namespace tsn
