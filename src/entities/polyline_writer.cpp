// POLYLINE/VERTEX/SEQEND and LWPOLYLINE output through the DXF primitives.
#include "entities/polyline_writer.h"

#include "dxf/entity_types.h"
#include "platform/messages.h"

namespace tsn {

bool polyline_vertex_list_form(const DxfState& state) {
  return state.verDXF < 6 || state.record_has_z || state.tin;
}

namespace {

int vertex_list_begin(DxfWriter& w, double elevation, std::string_view layer, int colour,
                      bool closed, const DbTarget& db) {
  DxfState& s = w.state;
  const int flags = (closed ? kPolylineClosed : 0) | (s.record_has_z ? kPolyline3d : 0);
  if (dxf_entity_start(w, kEntPolyline, layer, colour, db) != 0) return -1;
  if (!s.text_path) {
    db.record->point = {0.0, 0.0, elevation};
    db.record->vertex_flags = flags;
    return 0;
  }
  dxf_subclass(w, (flags & kPolyline3d) != 0 ? "3dPolyline" : "2dPolyline");
  dxf_point(w, 10, 0.0, 0.0, elevation);
  dxf_prefixed_int(w, 66, 1);
  dxf_prefixed_int(w, 70, flags);
  return 0;
}

int light_weight_begin(DxfWriter& w, double elevation, std::string_view layer, int colour,
                       int vertex_count, bool closed, const DbTarget& db) {
  if (dxf_entity_start(w, kEntLwpolyline, layer, colour, db) != 0) return -1;
  if (!w.state.text_path) {
    // The record carries the elevation and the closed flag; the vertices follow in the
    // database's data list.
    db.record->point = {0.0, 0.0, elevation};
    db.record->vertex_flags = closed ? kPolylineClosed : 0;
    return 0;
  }
  dxf_prefixed_int(w, 90, vertex_count);
  if (closed) dxf_prefixed_int(w, 70, kPolylineClosed);
  dxf_real(w, 38, elevation);
  return 0;
}

}  // namespace

int polyline_begin(DxfWriter& w, double elevation, std::string_view layer, int colour,
                   int vertex_count, bool closed, const DbTarget& db) {
  if (!w.state.text_path && (w.state.database == nullptr || db.record == nullptr)) return -1;
  if (polyline_vertex_list_form(w.state)) {
    return vertex_list_begin(w, elevation, layer, colour, closed, db);
  }
  return light_weight_begin(w, elevation, layer, colour, vertex_count, closed, db);
}

int polyline_header_done(DxfWriter& w, const DbTarget& db) {
  DxfState& s = w.state;
  if (s.text_path || !polyline_vertex_list_form(s)) return 0;
  if (s.database == nullptr || db.record == nullptr) return -1;
  if (s.database->add_entity(db.list, *db.record, db.aux) == 0) {
    report_database_error(kContextPolylineHeader);
  }
  return 0;
}

int polyline_vertex(DxfWriter& w, const shape_point& p, std::string_view layer,
                    const DbTarget& db) {
  return dxf_vertex(w, p.x, p.y, p.z, layer, -1, db);
}

int polyline_end(DxfWriter& w, const DbTarget& db) { return dxf_seqend(w, db); }

}  // namespace tsn
