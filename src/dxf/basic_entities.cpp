// The small entities: each is the common header followed by its own groups.
#include "dxf/basic_entities.h"

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
               std::string_view radius) {
  if (!w.state.text_path || dxf_entity_start(w, kEntCircle, layer, colour) != 0) return -1;
  point(w, 10, centre);
  dxf_prefixed_group(w, 40, radius);
  return 0;
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
