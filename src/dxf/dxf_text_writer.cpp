// Typed entities to DXF text, through the group primitives, onto the stream each belongs to.
#include "dxf/dxf_text_writer.h"

#include <array>
#include <numbers>
#include <utility>

#include "drawing/overloaded.h"
#include "dxf/basic_entities.h"
#include "dxf/blocks_section.h"
#include "dxf/entity_types.h"
#include "dxf/hatch_groups.h"
#include "dxf/header_section.h"
#include "dxf/tables_section.h"
#include "dxf/text_entities.h"

namespace tsn {
namespace {


int classic_polyline(DxfWriter& w, const EntityLook& look, const PolylineEntity& p,
                     std::span<const XdataItem> xdata) {
  const int flags = (p.closed ? kPolylineClosed : 0) | (look.has_z ? kPolyline3d : 0);
  if (dxf_entity_start(w, kEntPolyline, look.layer, look.colour) != 0) return -1;
  dxf_subclass(w, (flags & kPolyline3d) != 0 ? "3dPolyline" : "2dPolyline");
  dxf_point(w, 10, 0.0, 0.0, p.elevation);
  dxf_prefixed_int(w, 66, 1);
  dxf_prefixed_int(w, 70, flags);
  for (const XdataItem& item : xdata) dxf_group(w, item.code, item.text);
  for (const Point3& v : p.vertices) {
    if (dxf_vertex(w, v.x, v.y, v.z, look.layer, p.vertex_colour) != 0) return -1;
  }
  return dxf_sequence_end(w);
}

int light_weight_polyline(DxfWriter& w, const EntityLook& look, const PolylineEntity& p,
                          std::span<const XdataItem> xdata) {
  if (dxf_entity_start(w, kEntLwpolyline, look.layer, look.colour) != 0) return -1;
  dxf_prefixed_int(w, 90, static_cast<long>(p.vertices.size()));
  if (p.closed) dxf_prefixed_int(w, 70, kPolylineClosed);
  dxf_real(w, 38, p.elevation);
  for (const Point3& v : p.vertices) dxf_point2(w, 10, v.x, v.y);
  for (const XdataItem& item : xdata) dxf_group(w, item.code, item.text);
  return 0;
}

int hatch(DxfWriter& w, const EntityLook& look, const HatchEntity& h) {
  w.state.n_reserved_handle = h.reserved.id;
  DxfHatchHeader header;
  header.layer = look.layer;
  header.colour = look.colour;
  header.elevation = h.elevation;
  header.pattern_name = h.pattern_name;
  header.solid = h.solid;
  header.associative = h.associative;
  header.path_count = static_cast<long>(h.paths.size());
  if (write_hatch_header(w, header) != 0) return -1;
  for (const HatchPath& path : h.paths) {
    dxf_prefixed_int(w, 92, 0);
    dxf_prefixed_int(w, 93, static_cast<long>(path.edge_points.size() / 2));
    for (std::size_t i = 0; i + 1 < path.edge_points.size(); i += 2) {
      dxf_prefixed_int(w, 72, 1);  // a line edge
      dxf_point2(w, 10, path.edge_points[i].x, path.edge_points[i].y);
      dxf_point2(w, 11, path.edge_points[i + 1].x, path.edge_points[i + 1].y);
    }
    dxf_prefixed_int(w, 97, path.outline ? 1 : 0);
    if (path.outline) dxf_soft_pointer(w, path.outline.id);
  }
  return write_hatch_pattern(w, h.solid, h.lines);
}

TextLook text_look(const EntityLook& look, double height, std::string_view style) {
  return TextLook{look.layer, look.colour, height, style};
}

}  // namespace

DxfTextWriter::DxfTextWriter(const ConvSettings& s, LayerNameRule clean_layer_name)
    : settings_(s) {
  dxf_configure(state_, s, false);
  state_.clean_layer_name = clean_layer_name;
}

int DxfTextWriter::open(const std::string& output_path, const std::string& temp_dir,
                        bool keep_working_files) {
  if (files_.open(output_path, temp_dir, keep_working_files) != 0) return -1;
  main_.emplace(DxfWriter{state_, &files_.sink(DxfStream::main)});
  blocks_.emplace(DxfWriter{state_, &files_.sink(DxfStream::blocks)});
  blocks2_.emplace(DxfWriter{state_, &files_.sink(DxfStream::blocks2)});
  entities_.emplace(DxfWriter{state_, &files_.sink(DxfStream::entities)});
  labels_.emplace(DxfWriter{state_, &files_.sink(DxfStream::labels)});
  return 0;
}

void DxfTextWriter::write_streams_to(GroupSink& main, GroupSink& blocks, GroupSink& fill_blocks,
                                     GroupSink& entities, GroupSink& labels,
                                     bool handles_after_header) {
  main_.emplace(DxfWriter{state_, &main});
  blocks_.emplace(DxfWriter{state_, &blocks});
  blocks2_.emplace(DxfWriter{state_, &fill_blocks});
  entities_.emplace(DxfWriter{state_, &entities});
  labels_.emplace(DxfWriter{state_, &labels});
  if (handles_after_header) dxf_reset_handles(state_);
}

DxfWriter& DxfTextWriter::writer(DrawingStream stream) {
  switch (stream) {
    case DrawingStream::labels: return *labels_;
    case DrawingStream::blocks: return *blocks_;
    case DrawingStream::fill_blocks: return *blocks2_;
    case DrawingStream::entities: break;
  }
  return *entities_;
}

int DxfTextWriter::begin_drawing(const DrawingSetup& setup) {
  // The settings may have changed since the writer was made ("2D" with point elevations).
  dxf_configure(state_, settings_, false);
  if (write_dxf_header(state_, files_.sink(DxfStream::main), settings_, setup.extents,
                       files_.handseed()) != 0) {
    return -1;
  }
  TablesInput tables;
  tables.layers = setup.layers;
  tables.class_layers = setup.class_layers;
  tables.styles = setup.styles;
  tables.extents = setup.extents;
  if (write_dxf_tables(*main_, tables) != 0) return -1;
  open_block_record_table(*main_, setup.expected_blocks);
  BlockStreams streams{*main_, *blocks_, *blocks2_};
  if (open_blocks_section(streams) != 0) return -1;
  dxf_write(*entities_, "  0\nSECTION\n  2\nENTITIES\n");
  return 0;
}

int DxfTextWriter::begin_block(DrawingStream stream, const BlockDef& block) {
  state_.record_has_z = block.has_z;
  return tsn::begin_block(writer(stream), *main_, block.name, block.base, block.flags);
}

int DxfTextWriter::end_block(DrawingStream stream) { return dxf_endblk(writer(stream)); }

EntityRef DxfTextWriter::reserve() { return EntityRef{dxf_reserve_handle(state_)}; }

int DxfTextWriter::add(DrawingStream stream, const Entity& entity, EntityRef* made) {
  DxfWriter& w = writer(stream);
  state_.record_has_z = entity.look.has_z;
  state_.reactor_owner = entity.reactor.id;
  const std::uint32_t before = state_.n_last_handle;
  const int result = write_entity(w, entity);
  state_.reactor_owner = 0;
  // An entity's own handle is the first one issued for it.
  if (made != nullptr) *made = EntityRef{state_.n_last_handle != before ? before + 1 : 0};
  return result;
}

int DxfTextWriter::write_entity(DxfWriter& w, const Entity& e) {
  const EntityLook& look = e.look;
  const auto xdata = [&w, &e] {
    for (const XdataItem& item : e.xdata) dxf_group(w, item.code, item.text);
  };
  const int result = std::visit(
      Overloaded{
          [&](const PointEntity& p) { return dxf_point_entity(w, look.layer, look.colour, p.at); },
          [&](const LineEntity& l) { return dxf_line(w, look.layer, look.colour, l.from, l.to); },
          [&](const CircleEntity& c) {
            return dxf_circle(w, look.layer, look.colour, c.centre, c.radius);
          },
          [&](const TextEntity& t) {
            return dxf_placed_text(w, text_look(look, t.height, t.style), t.at, t.text);
          },
          [&](const InsertEntity& i) {
            const int r = dxf_insert(w, i.block, look.layer, look.colour, i.at, i.scale);
            if (r == 0 && i.attributes_follow) dxf_attributes_follow(w);
            return r;
          },
          [&](const AttribEntity& a) {
            return dxf_attrib(w, text_look(look, a.height, a.style), a.at, a.value, a.tag,
                              a.visible);
          },
          [&](const AttdefEntity& a) { return dxf_attdef(w, a.y, a.height, a.tag, a.width); },
          [&](const SequenceEnd&) { return dxf_sequence_end(w); },
          [&](const SolidEntity& s) { return dxf_solid(w, look.layer, look.colour, s.corners); },
          [&](const FaceEntity& f) {
            return dxf_3dface(w, look.layer, look.colour, f.corners, f.invisible_edges);
          },
          [&](const PolylineEntity& p) {
            // The extended data of a classic polyline goes on its header, before the vertices.
            return p.classic ? classic_polyline(w, look, p, e.xdata)
                             : light_weight_polyline(w, look, p, e.xdata);
          },
          [&](const HatchEntity& h) { return hatch(w, look, h); },
          [&](const FilledDisc& d) {
            return dxf_filled_disc(w, look.layer, look.colour, d.radius);
          },
      },
      e.shape);
  if (result == 0 && !std::holds_alternative<PolylineEntity>(e.shape)) xdata();
  return result;
}

int DxfTextWriter::finish(bool (*cancelled)()) {
  dxf_group(*labels_, 0, "ENDSEC");
  close_blocks_section(*blocks2_);
  int result = files_.assemble_dxf(state_, cancelled != nullptr ? CancelCheck(cancelled)
                                                                : CancelCheck());
  if (state_.write_failures > 0 && result == 0) result = -1;
  if (result != 0) files_.discard_output();
  files_.close();
  files_.delete_temporary_files();
  return result;
}

void DxfTextWriter::discard() {
  files_.discard_output();
  files_.close();
  files_.delete_temporary_files();
}

}  // namespace tsn
