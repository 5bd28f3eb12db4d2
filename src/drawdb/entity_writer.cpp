// Writing an entity by walking its kind's field declarations.
#include <array>
#include <vector>

#include "drawdb/entity_fields.h"
#include "drawdb/entity_slots.h"
#include "drawdb/releases.h"
#include "drawdb/save_context.h"

namespace tsn {
namespace {

// A stored entity and the record that owns it.
struct EntityView : StoredEntity {
  std::uint32_t owner;
};

bool wanted(const EntityView& v, const FieldDecl& f) {
  switch (f.when) {
    case When::always: return true;
    case When::nonzero:
      return slot_reals(f.slot) == 1 ? v.real(f.slot) != 0.0 : v.integer(f.slot) != 0;
    case When::not_one: return v.real(f.slot) != 1.0;
    case When::justified:
      return v.rec.ints[kIntHJust] != 0 || v.rec.ints[kIntVJust] != 0;
    case When::is_3d: return (v.rec.ints[kIntVertex] & (kDbPolyline3d | kDbVertex3d)) != 0;
    case When::is_2d: return (v.rec.ints[kIntVertex] & (kDbPolyline3d | kDbVertex3d)) == 0;
  }
  return false;
}

void write_reactors(SaveContext& c, const EntityRec& rec) {
  if (rec.aux == kNone || c.d.aux[rec.aux].reactor_count == 0) return;
  const AuxRec& a = c.d.aux[rec.aux];
  c.out.group(102, "{ACAD_REACTORS");
  for (std::uint32_t i = 0; i < a.reactor_count; ++i) c.out.hex(330, c.d.refs[a.reactors + i]);
  c.out.group(102, "}");
}

void write_xdata(SaveContext& c, const EntityRec& rec) {
  if (rec.xdata == kNone) return;
  const auto [first, count] = c.d.xdata_ranges[rec.xdata];
  for (std::uint32_t i = 0; i < count; ++i) {
    const XdataRec& x = c.d.xdata[first + i];
    if (xdata_text_code(x.code)) {
      c.out.group(x.code, c.d.strings.get(x.text));
    } else if (x.code >= 1040 && x.code <= 1042) {
      c.out.real(x.code, x.real);
    } else {
      c.out.integer(x.code, x.integer);
    }
  }
}


void write_hatch_body(SaveContext& c, const EntityRec& rec);
void write_vertices(SaveContext& c, const EntityView& v);

void write_field(SaveContext& c, const EntityView& v, const FieldDecl& f) {
  const EntityRec& r = v.rec;
  DxfOut& o = c.out;
  switch (f.type) {
    case FieldType::entity_name:
      o.group(0, c.r12() && !v.kind.r12_name.empty() ? v.kind.r12_name : v.kind.name);
      break;
    case FieldType::handle: o.hex(5, r.handle); break;
    case FieldType::reactors: write_reactors(c, r); break;
    case FieldType::owner: o.hex(330, v.owner); break;
    case FieldType::layer: o.group(8, c.d.strings.get(c.d.layers[r.layer].name)); break;
    case FieldType::colour:
      if (r.colour != kDbColourByLayer) o.integer(62, r.colour);
      break;
    case FieldType::subclass:
    case FieldType::constant: o.group(f.code, f.text); break;
    case FieldType::point: o.point(f.code, v.reals(f.slot)); break;
    case FieldType::point3: o.point3(f.code, v.reals(f.slot)); break;
    case FieldType::elevation_point:
    case FieldType::elevation_point3: {
      const double p[3] = {0.0, 0.0, v.real(f.slot)};
      f.type == FieldType::elevation_point ? o.point(f.code, p) : o.point3(f.code, p);
      break;
    }
    case FieldType::real: o.real(f.code, v.real(f.slot)); break;
    case FieldType::integer: o.integer(f.code, v.integer(f.slot)); break;
    case FieldType::text:
      o.group(f.code, v.text(f.slot));
      break;
    case FieldType::style_name: o.group(f.code, c.d.styles[r.ref].name); break;
    case FieldType::block_name: o.group(f.code, block_name(c, r.ref)); break;
    case FieldType::vertex_count: o.integer(f.code, r.vertex_count); break;
    case FieldType::lw_vertices:
      for (std::uint32_t i = 0; i < r.vertex_count; ++i) {
        const double* p = c.d.reals.data() + r.verts + 2 * i;
        o.point2(10, p[0], p[1]);
        if (const double b = v.bulge(2, i); b != 0.0) o.real(42, b);
      }
      break;
    case FieldType::hatch_body: write_hatch_body(c, r); break;
    case FieldType::xdata: write_xdata(c, r); break;
    case FieldType::poly_vertices: break;  // written after the entity, see write_entity
  }
}

// Classic polyline vertices follow the whole header entity, its extended data included.
bool follows(const SaveContext& c, const FieldDecl& f) {
  return f.type == FieldType::poly_vertices || (f.type == FieldType::lw_vertices && c.r12());
}

void walk(SaveContext& c, const EntityView& v, std::span<const FieldDecl> fields) {
  for (const FieldDecl& f : fields) {
    if ((f.releases & c.out.release()) == 0 || follows(c, f) || !wanted(v, f)) continue;
    write_field(c, v, f);
  }
}

void write_view(SaveContext& c, const EntityView& v) {
  walk(c, v, common_head_fields());
  for (const auto part : v.kind.parts) walk(c, v, part);
  walk(c, v, common_tail_fields());
  for_each_field(v.kind, [&](const FieldDecl& f) {
    if ((f.releases & c.out.release()) != 0 && follows(c, f)) write_vertices(c, v);
  });
}

// The fields of a kind this release writes, in order, less those that follow the entity.
void plan_fields(const SaveContext& c, const EntityKind& kind,
                 std::vector<const FieldDecl*>& plan) {
  const auto add = [&](std::span<const FieldDecl> fields) {
    for (const FieldDecl& f : fields) {
      if ((f.releases & c.out.release()) != 0 && !follows(c, f)) plan.push_back(&f);
    }
  };
  add(common_head_fields());
  for (const auto part : kind.parts) add(part);
  add(common_tail_fields());
}

// VERTEX records made from the vertex array, then SEQEND, owned by the polyline. The vertices,
// by far the most numerous records, walk the fields planned once for the save.
void write_vertices(SaveContext& c, const EntityView& v) {
  const bool light = v.rec.type == kDbLwpolyline;
  const std::uint32_t per = light ? 2 : 3;
  const int flags = (v.rec.ints[kIntVertex] & kDbPolyline3d) != 0 ? kDbVertex3d : 0;
  EntityRec vertex;
  vertex.type = kDbVertex;
  vertex.layer = v.rec.layer;
  vertex.colour = kDbColourByLayer;
  vertex.ints[kIntVertex] = static_cast<std::int16_t>(flags);
  const EntityKind& kind = *find_kind(kDbVertex);
  if (c.vertex_fields.empty()) plan_fields(c, kind, c.vertex_fields);
  const double elevation = light ? v.real(Slot::elevation) : 0.0;
  for (std::uint32_t i = 0; i < v.rec.vertex_count; ++i) {
    const double* p = c.d.reals.data() + v.rec.verts + per * i;
    // In the VERTEX kind's real order: the point, then the bulge.
    const double values[4] = {p[0], p[1], light ? elevation : p[2], v.bulge(per, i)};
    vertex.handle = c.next_handle++;
    const EntityView view{{c.d, vertex, kind, values}, v.rec.handle};
    for (const FieldDecl* f : c.vertex_fields) {
      if (wanted(view, *f)) write_field(c, view, *f);
    }
  }
  EntityRec seqend = vertex;
  seqend.type = kDbSeqend;
  seqend.handle = c.next_handle++;
  write_view(c, EntityView{{c.d, seqend, *find_kind(kDbSeqend), nullptr}, v.rec.handle});
}

void write_hatch_paths(SaveContext& c, const AuxRec& a) {
  DxfOut& o = c.out;
  for (std::uint32_t i = 0; i < a.path_count; ++i) {
    const HatchPathRec& p = c.d.hatch_paths[a.paths + i];
    o.integer(92, 1);  // external boundary of edges
    o.integer(93, p.vertex_count == 0 ? 1 : p.vertex_count);
    if (p.vertex_count == 0) {  // one circular-arc edge all the way round, counter-clockwise
      const double* circle = c.d.reals.data() + p.verts;
      o.integer(72, 2);
      o.point2(10, circle[0], circle[1]);
      o.real(40, circle[2]);
      o.real(50, 0.0);
      o.real(51, 360.0);
      o.integer(73, 1);
    }
    for (std::uint32_t e = 0; e < p.vertex_count; ++e) {
      const double* from = c.d.reals.data() + p.verts + 2 * e;
      const double* to = c.d.reals.data() + p.verts + 2 * ((e + 1) % p.vertex_count);
      o.integer(72, 1);
      o.point2(10, from[0], from[1]);
      o.point2(11, to[0], to[1]);
    }
    o.integer(97, p.source_count);
    for (std::uint32_t s = 0; s < p.source_count; ++s) o.hex(330, c.d.refs[p.sources + s]);
  }
}

void write_hatch_pattern(SaveContext& c, const AuxRec& a) {
  DxfOut& o = c.out;
  o.integer(75, 0);  // odd parity
  o.integer(76, 1);  // predefined pattern
  if (a.solid == 0) {
    o.real(52, 0.0);
    o.real(41, 1.0);
    o.integer(77, 0);
    o.integer(78, a.line_count);
    std::size_t at = a.lines;
    for (std::uint32_t i = 0; i < a.line_count; ++i) {
      const double* l = c.d.reals.data() + at;
      o.real(53, l[0]);
      o.real(43, l[1]);
      o.real(44, l[2]);
      o.real(45, l[3]);
      o.real(46, l[4]);
      const auto dashes = static_cast<std::size_t>(l[5]);
      o.integer(79, static_cast<long>(dashes));
      for (std::size_t k = 0; k < dashes; ++k) o.real(49, l[6 + k]);
      at += 6 + dashes;
    }
  }
  o.integer(98, 1);
  o.point2(10, 0.0, 0.0);  // seed point
}

void write_hatch_body(SaveContext& c, const EntityRec& rec) {
  static const AuxRec kEmpty{};
  const AuxRec& a = rec.aux == kNone ? kEmpty : c.d.aux[rec.aux];
  c.out.group(2, a.pattern_name == kNone ? "SOLID" : c.d.strings.get(a.pattern_name));
  c.out.integer(70, a.solid);
  c.out.integer(71, a.associative);
  c.out.integer(91, a.path_count);
  write_hatch_paths(c, a);
  write_hatch_pattern(c, a);
}

}  // namespace

void write_entity(SaveContext& c, const EntityRec& rec, std::uint32_t owner) {
  const EntityKind& kind = *find_kind(rec.type);
  if ((kind.releases & c.out.release()) == 0) return;
  write_view(c, EntityView{{c.d, rec, kind, c.d.reals.data() + rec.values}, owner});
}

}  // namespace tsn
