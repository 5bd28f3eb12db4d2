// Compact entity storage: reals in the drawing's one array, strings interned, side tables.
#include "drawdb/entity_store.h"

#include <algorithm>
#include <cstring>

#include "drawdb/entity_slots.h"

namespace tsn {
namespace {

std::int16_t to_int16(int v) {
  return static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
}

std::uint32_t size32(std::size_t n) { return static_cast<std::uint32_t>(n); }

void store_pattern(Drawing& d, const DbAux& aux, AuxRec& a) {
  a.lines = size32(d.reals.size());
  a.line_count = size32(aux.pattern.size());
  for (const DbHatchLine& l : aux.pattern) {
    d.reals.insert(d.reals.end(), {l.angle, l.base_x, l.base_y, l.offset_x, l.offset_y,
                                   static_cast<double>(l.dashes.size())});
    d.reals.insert(d.reals.end(), l.dashes.begin(), l.dashes.end());
  }
}

void store_paths(Drawing& d, const DbAux& aux, AuxRec& a) {
  a.paths = size32(d.hatch_paths.size());
  a.path_count = size32(aux.paths.size());
  for (const DbHatchPath& p : aux.paths) {
    HatchPathRec r{size32(d.reals.size()), size32(p.vertices.size()), size32(d.refs.size()),
                   size32(p.sources.size())};
    for (const auto& v : p.vertices) d.reals.insert(d.reals.end(), {v[0], v[1]});
    if (p.circle) d.reals.insert(d.reals.end(), {p.circle->centre[0], p.circle->centre[1],
                                                 p.circle->radius});
    for (const DbHandle& h : p.sources) d.refs.push_back(size32(handle_value(h)));
    d.hatch_paths.push_back(r);
  }
}

}  // namespace

void store_fields(Drawing& d, const EntityKind& kind, DbEntity& e, EntityRec& rec) {
  rec.values = size32(d.reals.size());
  d.reals.resize(d.reals.size() + kind.real_count);
  for (int s = 0; s < kSlotCount; ++s) {
    const int offset = kind.real_offset[s];
    if (offset < 0) continue;
    const double* from = entity_reals(e, static_cast<Slot>(s));
    std::copy_n(from, slot_reals(static_cast<Slot>(s)), d.reals.begin() + rec.values + offset);
  }
  for_each_field(kind, [&](const FieldDecl& f) {
    if (const int i = int_slot(f.slot); i >= 0) rec.ints[i] = to_int16(*entity_int(e, f.slot));
    if (const int i = string_slot(f.slot); i >= 0) {
      rec.strings[i] = d.strings.intern(*entity_text(e, f.slot));
    }
  });
  rec.closed = e.closed ? 1 : 0;
}

void store_aux(Drawing& d, const DbAux& aux, EntityRec& rec) {
  const bool hatch = rec.type == kDbHatch;
  if (!hatch && aux.reactors.empty()) return;
  AuxRec a;
  if (hatch) {
    a.pattern_name = d.strings.intern(aux.pattern_name.empty() ? "SOLID" : aux.pattern_name);
    a.solid = aux.solid ? 1 : 0;
    a.associative = aux.associative ? 1 : 0;
    store_pattern(d, aux, a);
    store_paths(d, aux, a);
  }
  a.reactors = size32(d.refs.size());
  a.reactor_count = size32(aux.reactors.size());
  for (const DbHandle& h : aux.reactors) d.refs.push_back(size32(handle_value(h)));
  rec.aux = size32(d.aux.size());
  d.aux.push_back(a);
}

void store_xdata(Drawing& d, const DbEntity& e, EntityRec& rec) {
  if (e.xdata.empty()) return;
  rec.xdata = size32(d.xdata_ranges.size());
  d.xdata_ranges.emplace_back(size32(d.xdata.size()), size32(e.xdata.size()));
  for (const DbXdataItem& x : e.xdata) {
    const bool text = xdata_text_code(x.code);
    d.xdata.push_back({static_cast<std::int16_t>(x.code), text ? d.strings.intern(x.text) : kNone,
                       x.real, static_cast<std::int32_t>(x.integer)});
  }
}

void store_lw_vertices(Drawing& d, std::span<const double> xy, EntityRec& rec) {
  rec.verts = size32(d.reals.size());
  rec.vertex_count = size32(xy.size() / 2);
  d.reals.insert(d.reals.end(), xy.begin(), xy.end());
}

void store_list_vertices(Drawing& d, const std::vector<std::uint8_t>& bytes, EntityRec& rec) {
  rec.verts = size32(d.reals.size());
  rec.vertex_count = size32(bytes.size() / 16);
  d.reals.resize(d.reals.size() + 2 * rec.vertex_count);
  std::memcpy(d.reals.data() + rec.verts, bytes.data(), 16 * std::size_t{rec.vertex_count});
}

void store_bulges(Drawing& d, std::span<const double> bulges, EntityRec& rec) {
  if (std::all_of(bulges.begin(), bulges.end(), [](double b) { return b == 0.0; })) return;
  rec.bulged = 1;
  d.reals.insert(d.reals.end(), bulges.begin(), bulges.end());
}

namespace {

void load_aux(const Drawing& d, const EntityRec& rec, DbAux& out) {
  out = DbAux{};
  const std::size_t per = rec.type == kDbPolyline ? 3 : 2;
  out.vertices.assign(d.reals.begin() + rec.verts,
                      d.reals.begin() + rec.verts + per * rec.vertex_count);
  if (rec.bulged != 0) {
    const auto first = d.reals.begin() + rec.verts + per * rec.vertex_count;
    out.bulges.assign(first, first + rec.vertex_count);
  }
  if (rec.aux == kNone) return;
  const AuxRec& a = d.aux[rec.aux];
  for (std::uint32_t i = 0; i < a.reactor_count; ++i) {
    out.reactors.push_back(make_handle(d.refs[a.reactors + i]));
  }
  if (rec.type != kDbHatch) return;
  out.pattern_name = std::string(d.strings.get(a.pattern_name));
  out.solid = a.solid != 0;
  out.associative = a.associative != 0;
  std::size_t at = a.lines;
  for (std::uint32_t i = 0; i < a.line_count; ++i) {
    const double* r = d.reals.data() + at;
    DbHatchLine l{r[0], r[1], r[2], r[3], r[4], {}};
    const auto dashes = static_cast<std::size_t>(r[5]);
    l.dashes.assign(r + 6, r + 6 + dashes);
    at += 6 + dashes;
    out.pattern.push_back(std::move(l));
  }
  for (std::uint32_t i = 0; i < a.path_count; ++i) {
    const HatchPathRec& p = d.hatch_paths[a.paths + i];
    DbHatchPath path;
    for (std::uint32_t v = 0; v < p.vertex_count; ++v) {
      path.vertices.push_back({d.reals[p.verts + 2 * v], d.reals[p.verts + 2 * v + 1]});
    }
    if (p.vertex_count == 0) {
      const double* c = d.reals.data() + p.verts;
      path.circle = DbHatchCircle{{c[0], c[1]}, c[2]};
    }
    for (std::uint32_t s = 0; s < p.source_count; ++s) {
      path.sources.push_back(make_handle(d.refs[p.sources + s]));
    }
    out.paths.push_back(std::move(path));
  }
}

void load_xdata(const Drawing& d, const EntityRec& rec, DbEntity& e) {
  if (rec.xdata == kNone) return;
  const auto [first, count] = d.xdata_ranges[rec.xdata];
  for (std::uint32_t i = 0; i < count; ++i) {
    const XdataRec& x = d.xdata[first + i];
    e.xdata.push_back({x.code, std::string(d.strings.get(x.text)), x.real, x.integer});
  }
}

}  // namespace

void load_entity(const Drawing& d, const EntityRec& rec, DbEntity& e, DbAux* aux) {
  e = DbEntity{};
  e.type = rec.type;
  e.handle = make_handle(rec.handle);
  e.layer = make_handle(d.layers[rec.layer].handle);
  e.colour = rec.colour;
  const EntityKind* kind = find_kind(rec.type);
  for (int s = 0; s < kSlotCount; ++s) {
    const int offset = kind->real_offset[s];
    if (offset < 0) continue;
    std::copy_n(d.reals.begin() + rec.values + offset, slot_reals(static_cast<Slot>(s)),
                entity_reals(e, static_cast<Slot>(s)));
  }
  for_each_field(*kind, [&](const FieldDecl& f) {
    if (const int i = int_slot(f.slot); i >= 0) *entity_int(e, f.slot) = rec.ints[i];
    if (const int i = string_slot(f.slot); i >= 0) {
      *entity_text(e, f.slot) = std::string(d.strings.get(rec.strings[i]));
    }
  });
  e.closed = rec.closed != 0;
  if (rec.ref != kNone && rec.type == kDbInsert) e.block = make_handle(d.blocks[rec.ref].handle);
  if (rec.ref != kNone && rec.type != kDbInsert) {
    e.style = make_handle(d.styles[rec.ref].handle);
    e.style_name = d.styles[rec.ref].name;
  }
  load_xdata(d, rec, e);
  if (aux != nullptr) load_aux(d, rec, *aux);
}

}  // namespace tsn
