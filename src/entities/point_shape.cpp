// Point records, table rows and multipoints to POINT, INSERT or TEXT entities.
#include "entities/point_shape.h"

#include "entities/drawable_record.h"
#include "input/shapefile_reader.h"
#include "platform/messages.h"

namespace tsn {
namespace {

constexpr int kPointZ = 11;

Point3 point3(const shape_point& p) { return {p.x, p.y, p.z}; }

// Labels and attributes of the record: its box goes to the annotation writers.
void annotate(PointContext& ctx, const shape_box& box,
              std::optional<double> shape_z = std::nullopt) {
  if (ctx.annotations != nullptr) ctx.annotations->record_done(box, shape_z, false);
}

// The point of a record or row, then what its attributes add: ATTRIBs after an insertion that
// carries them, or extended data on the entity.
int record_point(PointContext& ctx, const shape_point& p, bool has_z) {
  const PointForm form = ctx.drawing.form;
  const EntityLook look{ctx.layer, ctx.colour, has_z};
  const EntityShape shape = point_entity(ctx.drawing, form, p);
  if (ctx.annotations == nullptr) return ctx.out.add(look, shape);
  if (form == PointForm::marker_insert || form == PointForm::point_block) {
    return ctx.annotations->add_insert(ctx.out, look, std::get<InsertEntity>(shape));
  }
  Entity e{look, shape, {}, ctx.annotations->extended_data()};
  return ctx.out.add(e);
}

}  // namespace

PointDrawing point_drawing(const FileSettings& cur, const MarkerChoice& choice) {
  PointDrawing d;
  d.block = point_block_name(choice);
  d.text_style = choice.style;
  d.character = static_cast<char>(choice.character);
  d.marker_height = cur.MarkerHeight;
  if (cur.PointsTranslate != 0) {
    // The marker block, unless the character marker is wanted as plain text.
    const bool as_text = cur.Marker == kMarkerCharacter && !block_attributes(cur);
    d.form = as_text ? PointForm::character_text : PointForm::marker_insert;
    const bool multipoint_text = cur.Marker == kMarkerCharacter && !attributes_wanted(cur);
    d.multipoint_form = multipoint_text ? PointForm::character_text : PointForm::marker_insert;
  } else {
    d.form = block_attributes(cur) && choice.table_open ? PointForm::point_block
                                                        : PointForm::point;
    d.multipoint_form = PointForm::point;
  }
  // A marker kind without a block of its own draws plain points.
  if (d.block.empty()) {
    if (d.form == PointForm::marker_insert || d.form == PointForm::point_block) {
      d.form = PointForm::point;
    }
    if (d.multipoint_form == PointForm::marker_insert) d.multipoint_form = PointForm::point;
  }
  return d;
}

EntityShape point_entity(const PointDrawing& drawing, PointForm form, const shape_point& p) {
  switch (form) {
    case PointForm::marker_insert:
      return InsertEntity{drawing.block, point3(p), drawing.marker_height, false};
    case PointForm::character_text:
      return TextEntity{TextPlacement{point3(p), {}, {}, 0}, drawing.marker_height,
                        drawing.text_style, std::string_view(&drawing.character, 1)};
    case PointForm::point_block:
      return InsertEntity{drawing.block, point3(p), std::nullopt, false};
    case PointForm::point:
      break;
  }
  return PointEntity{point3(p)};
}

int point_record(PointContext& ctx, const shape_rec& rec, int shape_type) {
  const FileSettings& cur = ctx.settings.cur;
  shape_point p = rec.points[0];
  const bool has_z = shape_type == kPointZ;
  if (has_z) {
    if (cur.flgScaleZ != 0) p.z *= cur.ElevFactor;
  } else {
    p.z = record_elevation(ctx.elevation);  // a PointM's measure never shows
  }
  annotate(ctx, rec.box, has_z ? std::optional<double>(p.z) : std::nullopt);
  ++ctx.counters.points_processed;
  return record_point(ctx, p, has_z);
}

int table_point(PointContext& ctx, double x, double y) {
  const shape_point p{x, y, record_elevation(ctx.elevation)};
  annotate(ctx, {x, y, x, y});
  ++ctx.counters.points_processed;
  return record_point(ctx, p, false);
}

int multipoint_record(PointContext& ctx, const shape_rec& rec) {
  const FileSettings& cur = ctx.settings.cur;
  const double elevation = record_elevation(ctx.elevation);
  annotate(ctx, rec.box);
  if (rec.num_points == 0) {
    status_write("\nSkipping empty shape record (#%d)", rec.record_number);
    ++ctx.counters.records_skipped;
    return 0;
  }
  const bool in_block = (attributes_wanted(cur) && ctx.table_open) || cur.MultipointBlock != 0;
  const DrawingOut* w = &ctx.out;
  std::string block_name;
  if (in_block) {
    if (ctx.block_writer == nullptr || ctx.blocks.writer == nullptr || ctx.names == nullptr) {
      trace_write("SHOULD NOT HAPPEN: multipoint block without a block writer\n");
      return -1;
    }
    w = &ctx.blocks;
    block_name = ctx.names->next_name(NameKind::multipoint);
    const shape_point base{rec.box.xmin, rec.box.ymin, 0.0};
    if (ctx.block_writer->begin_block(*w, block_name, base, false) != 0) return -1;
  }
  // Inside the block the points lie at Z 0 in colour 0; the insertion carries both.
  const double z = in_block ? 0.0 : elevation;
  const int colour = in_block ? 0 : ctx.colour;
  for (std::int32_t i = 0; i < rec.num_points; ++i) {
    const shape_point p{rec.points[i].x, rec.points[i].y, z};
    if (w->add({ctx.layer, colour, false}, point_entity(ctx.drawing, ctx.drawing.multipoint_form, p)) !=
        0) {
      return -1;
    }
  }
  if (in_block) {
    if (ctx.block_writer->end_block(*w) != 0) return -1;
    const shape_point at{rec.box.xmin, rec.box.ymin, elevation};
    if (ctx.block_writer->insert_block(ctx.out, block_name, {ctx.layer, ctx.colour, false}, at) !=
        0) {
      return -1;
    }
  }
  ctx.counters.points_processed += rec.num_points;
  return 0;
}

int point_shape(PointContext& ctx, ShapefileReader& reader, shape_rec& rec, int shape_type) {
  if (read_drawable_record(reader, rec, ctx.settings.cur, ctx.elevation, ctx.counters) != 0) {
    return -1;
  }
  return shape_type == 8 ? multipoint_record(ctx, rec) : point_record(ctx, rec, shape_type);
}

}  // namespace tsn
