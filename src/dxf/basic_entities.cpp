// The small entities: each is the common header followed by its own groups.
#include "dxf/basic_entities.h"

#include "platform/dxf_number.h"
#include "dxf/entity_types.h"

namespace tsn {

namespace {

void point(DxfWriter& w, int code, const BlockPoint& p) { dxf_point(w, code, p.x, p.y, p.z); }

}  // namespace

int dxf_insert(DxfWriter& w, std::string_view block, std::string_view layer, int colour,
               const BlockPoint& at, std::optional<double> scale) {
  if (!w.state.text_path || dxf_entity_start(w, kEntInsert, layer, colour) != 0) return -1;
  dxf_prefixed_group(w, 2, block);
  point(w, 10, at);
  if (scale) {
    dxf_real(w, 41, *scale);
    dxf_real(w, 42, *scale);
    dxf_real(w, 43, *scale);
  }
  return 0;
}

int dxf_point_entity(DxfWriter& w, std::string_view layer, int colour, const BlockPoint& at) {
  if (!w.state.text_path || dxf_entity_start(w, kEntPoint, layer, colour) != 0) return -1;
  point(w, 10, at);
  return 0;
}

int dxf_line(DxfWriter& w, std::string_view layer, int colour, const BlockPoint& from,
             const BlockPoint& to) {
  if (!w.state.text_path || dxf_entity_start(w, kEntLine, layer, colour) != 0) return -1;
  point(w, 10, from);
  point(w, 11, to);
  return 0;
}

int dxf_circle(DxfWriter& w, std::string_view layer, int colour, const BlockPoint& centre,
               double radius) {
  if (!w.state.text_path || dxf_entity_start(w, kEntCircle, layer, colour) != 0) return -1;
  point(w, 10, centre);
  dxf_prefixed_group(w, 40, decimal_text(radius));
  return 0;
}

namespace {

int disc_as_wide_polyline(DxfWriter& w, std::string_view layer, int colour, double radius) {
  if (dxf_entity_start(w, kEntPolyline, layer, colour) != 0) return -1;
  dxf_subclass(w, "2dPolyline");
  dxf_prefixed_group(w, 66, "1");
  dxf_prefixed_group(w, 70, "1");
  dxf_prefixed_group(w, 40, decimal_text(radius));
  dxf_prefixed_group(w, 41, decimal_text(radius));
  for (const double x : {-radius / 2, radius / 2}) {
    if (dxf_entity_start(w, kEntVertex, layer, -1) != 0) return -1;
    dxf_subclass(w, "2dVertex");
    dxf_point(w, 10, x, 0.0, 0.0);
    dxf_prefixed_group(w, 42, "1.0");  // a half circle
  }
  return dxf_sequence_end(w);
}

int disc_as_hatch(DxfWriter& w, std::string_view layer, int colour, double radius) {
  dxf_reserve_handle(w.state);
  if (dxf_entity_start(w, kEntHatch, layer, colour) != 0) return -1;
  dxf_point(w, 10, 0.0, 0.0, 0.0);
  dxf_point(w, 210, 0.0, 0.0, 1.0);
  dxf_prefixed_group(w, 2, "SOLID");
  dxf_prefixed_group(w, 70, "1");
  dxf_prefixed_group(w, 71, "0");
  dxf_prefixed_group(w, 91, "1");
  dxf_prefixed_group(w, 92, "1");
  dxf_prefixed_group(w, 93, "1");
  dxf_prefixed_group(w, 72, "2");  // a circular arc edge
  dxf_point2(w, 10, 0.0, 0.0);
  dxf_real(w, 40, radius);
  dxf_real(w, 50, 0.0);
  dxf_real(w, 51, 360.0);
  dxf_prefixed_group(w, 73, "1");
  dxf_prefixed_group(w, 97, "0");
  dxf_prefixed_group(w, 75, "0");
  dxf_prefixed_group(w, 76, "1");
  dxf_prefixed_group(w, 98, "1");
  dxf_point2(w, 10, 0.0, 0.0);
  return 0;
}

}  // namespace

int dxf_filled_disc(DxfWriter& w, std::string_view layer, int colour, double radius) {
  if (!w.state.text_path) return -1;
  return w.state.verDXF > 5 ? disc_as_hatch(w, layer, colour, radius)
                            : disc_as_wide_polyline(w, layer, colour, radius);
}

int dxf_text(DxfWriter& w, std::string_view layer, int colour, const BlockPoint& at,
             double height, std::string_view style, std::string_view text) {
  if (!w.state.text_path || dxf_entity_start(w, kEntText, layer, colour) != 0) return -1;
  point(w, 10, at);
  dxf_real(w, 40, height);
  dxf_prefixed_group(w, 7, style);
  dxf_prefixed_group(w, 1, text);
  dxf_subclass(w, "Text");
  return 0;
}

int dxf_solid(DxfWriter& w, std::string_view layer, int colour, const BlockPoint (&corners)[4]) {
  if (!w.state.text_path || dxf_entity_start(w, kEntSolid, layer, colour) != 0) return -1;
  point(w, 10, corners[0]);
  point(w, 11, corners[1]);
  point(w, 13, corners[3]);
  point(w, 12, corners[2]);
  return 0;
}

int dxf_3dface(DxfWriter& w, std::string_view layer, int colour, const BlockPoint (&corners)[4],
               int invisible_edges) {
  if (!w.state.text_path || dxf_entity_start(w, kEnt3dFace, layer, colour) != 0) return -1;
  point(w, 10, corners[0]);
  point(w, 11, corners[1]);
  point(w, 12, corners[2]);
  point(w, 13, corners[3]);
  dxf_prefixed_int(w, 70, invisible_edges);
  return 0;
}

}  // namespace tsn
