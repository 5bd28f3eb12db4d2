// Adding entities to a block's list: checks, references, classic polyline vertex collection.
#include <algorithm>
#include <cmath>

#include "drawdb/db_errors.h"
#include "drawdb/drawdb.h"
#include "drawdb/entity_store.h"
#include "drawdb/session.h"

namespace tsn {
namespace {

// The record's handle: a fresh one, or one the caller was given and no record bears yet.
bool take_handle(Drawing& d, DbEntity& e, std::uint32_t& out) {
  const std::uint64_t h = handle_value(e.handle);
  if (h == 0) {
    out = d.issue_handle();
    e.handle = make_handle(out);
    return true;
  }
  if (h >= d.next_handle) return db_fail(kErrBadHandle) != 0;
  if (d.handle_used[h]) return db_fail(kErrHandleInUse) != 0;
  d.handle_used[h] = true;
  out = static_cast<std::uint32_t>(h);
  return true;
}

bool resolve_style(const Drawing& d, const DbEntity& e, EntityRec& rec) {
  const std::uint64_t h = handle_value(e.style);
  for (std::uint32_t i = 0; i < d.styles.size(); ++i) {
    const bool named = h == 0 && (e.style_name.empty() ? i == 0 : same_name(d.styles[i].name,
                                                                             e.style_name));
    if (named || (h != 0 && d.styles[i].handle == h)) {
      rec.ref = i;
      return true;
    }
  }
  return db_fail(kErrNoStyle) != 0;
}

bool valid_xdata(const Drawing& d, const DbEntity& e) {
  if (e.xdata.empty()) return true;
  if (e.xdata.front().code != 1001) return db_fail(kErrXdataApp) != 0;
  for (const DbXdataItem& x : e.xdata) {
    if (x.code != 1001) continue;
    if (std::none_of(d.regapps.begin(), d.regapps.end(),
                     [&x](const RegappRec& r) { return same_name(r.name, x.text); })) {
      return db_fail(kErrXdataApp) != 0;
    }
  }
  return true;
}

// A path is three vertices or more, or a circle of positive radius and nothing else.
bool valid_path(const DbHatchPath& p) {
  if (!p.circle) return p.vertices.size() >= 3;
  return p.vertices.empty() && p.circle->radius > 0.0 && std::isfinite(p.circle->radius);
}

// Bulges, when given, go one with each vertex: `vertices` is the count the entity will have.
bool valid_aux(const DbEntity& e, const DbAux* aux, std::size_t vertices) {
  if (aux == nullptr) return true;
  if (!aux->bulges.empty() && aux->bulges.size() != vertices) return db_fail(kErrBadBulges) != 0;
  if (e.type != kDbHatch) return true;
  if (!std::all_of(aux->paths.begin(), aux->paths.end(), valid_path)) {
    return db_fail(kErrHatchPath) != 0;
  }
  return true;
}

}  // namespace

void close_polyline(Drawing& d) {
  if (d.open_polyline == kNone) return;
  EntityRec& rec = d.entities[d.open_polyline];
  rec.verts = static_cast<std::uint32_t>(d.reals.size());
  rec.vertex_count = static_cast<std::uint32_t>(d.open_vertices.size() / 3);
  d.reals.insert(d.reals.end(), d.open_vertices.begin(), d.open_vertices.end());
  d.open_vertices.clear();
  store_bulges(d, d.open_bulges, rec);
  d.open_bulges.clear();
  d.open_polyline = kNone;
}

namespace {

// VERTEX and the SEQEND of a polyline belong to the open polyline; true when e was one of them.
bool polyline_part(Drawing& d, std::uint32_t block, const DbEntity& e, int& result) {
  const bool open = d.open_polyline != kNone && d.open_polyline_block == block;
  if (e.type == kDbVertex) {
    if (!open) return result = db_fail(kErrNoPolyline), true;
    d.open_vertices.insert(d.open_vertices.end(), e.points[0].begin(), e.points[0].end());
    d.open_bulges.push_back(e.bulge);
    return result = 1, true;
  }
  if (e.type == kDbSeqend && open) return close_polyline(d), result = 1, true;
  return false;
}

bool check_references(Drawing& d, const DbEntity& e, EntityRec& rec) {
  const auto layer = d.layer_by_handle.find(static_cast<std::uint32_t>(handle_value(e.layer)));
  if (layer == d.layer_by_handle.end()) return db_fail(kErrNoLayer) != 0;
  rec.layer = layer->second;
  if (e.type == kDbText || e.type == kDbAttrib || e.type == kDbAttdef) {
    if (!resolve_style(d, e, rec)) return false;
  }
  if (e.type == kDbInsert) {
    rec.ref = block_by_handle(d, static_cast<std::uint32_t>(handle_value(e.block)));
    if (rec.ref == kNone || rec.ref < 2) return db_fail(kErrNoBlock) != 0;
  }
  return valid_xdata(d, e);
}

int add_entity(Drawing* d, DbEntityList list, DbEntity& e, const DbAux* aux, DbDataList data) {
  if (!db_open_drawing(d)) return 0;
  const std::uint32_t block = live_block(*d, list);
  if (block == kNone) return db_fail(kErrNoList);
  if (e.type == kDbBlock || e.type == kDbEndblk) return 1;  // made with the block header
  const EntityKind* kind = find_kind(e.type);
  if (kind == nullptr) return db_fail(kErrUnknownType);
  if (int result = 0; polyline_part(*d, block, e, result)) return result;
  const bool has_list = data.id != kNone;
  if (has_list && (data.id >= d->lists.size() || d->lists[data.id].open)) {
    return db_fail(data.id >= d->lists.size() ? kErrNoDataList : kErrBadVertexList);
  }
  if (has_list && d->lists[data.id].bytes.size() % 16 != 0) return db_fail(kErrBadVertexList);
  EntityRec rec;
  rec.type = static_cast<std::uint8_t>(e.type);
  rec.colour = static_cast<std::int16_t>(std::clamp(e.colour, 0, 256));
  const std::size_t per = e.type == kDbPolyline ? 3 : 2;
  const std::size_t vertices = has_list ? d->lists[data.id].bytes.size() / 16
                               : aux != nullptr ? aux->vertices.size() / per : 0;
  if (!check_references(*d, e, rec) || !valid_aux(e, aux, vertices) ||
      !take_handle(*d, e, rec.handle)) {
    return 0;
  }
  if (e.type == kDbPolyline) close_polyline(*d);
  store_fields(*d, *kind, e, rec);
  if (aux != nullptr) store_aux(*d, *aux, rec);
  store_xdata(*d, e, rec);
  if (has_list) {
    store_list_vertices(*d, d->lists[data.id].bytes, rec);
    d->lists[data.id].bytes = {};
  } else if (aux != nullptr && (e.type == kDbLwpolyline || e.type == kDbPolyline)) {
    store_lw_vertices(*d, aux->vertices, rec);  // vertices read back with the entity
    rec.vertex_count = static_cast<std::uint32_t>(vertices);
  }
  if (aux != nullptr && rec.vertex_count != 0) store_bulges(*d, aux->bulges, rec);
  const auto index = static_cast<std::uint32_t>(d->entities.size());
  d->entities.push_back(rec);
  d->blocks[block].entities.push_back(index);
  if (e.type == kDbPolyline && rec.vertex_count == 0) {
    d->open_polyline = index;
    d->open_polyline_block = block;
  }
  return 1;
}

}  // namespace

int db_init_entity(Drawing* d, DbEntity& entity, DbAux* aux) {
  if (!db_open_drawing(d)) return 0;
  const int type = entity.type;
  entity = DbEntity{};
  entity.type = type;
  if (aux != nullptr) *aux = DbAux{};
  if (find_kind(type) == nullptr && type != kDbBlock && type != kDbEndblk) {
    return db_fail(kErrUnknownType);
  }
  return 1;
}

int db_new_handle(Drawing* d, DbHandle& out) {
  if (!db_open_drawing(d)) return 0;
  out = make_handle(d->issue_handle(false));
  return 1;
}

int db_add_entity(Drawing* d, DbEntityList list, DbEntity& entity, const DbAux* aux) {
  return db_guarded([&] { return add_entity(d, list, entity, aux, DbDataList{}); });
}

int db_add_entity_list(Drawing* d, DbEntityList list, DbEntity& entity, const DbAux* aux,
                       DbDataList data) {
  if (data.id == kNone) return db_fail(kErrNoDataList);
  return db_guarded([&] { return add_entity(d, list, entity, aux, data); });
}

int db_hatch_type() { return kDbHatch; }
int db_lwpolyline_type() { return kDbLwpolyline; }

}  // namespace tsn
