// Justified texts, attributes and attribute definitions.
#include "dxf/text_entities.h"

#include "dxf/entity_types.h"
#include "platform/format.h"

namespace tsn {
namespace {

void point(DxfWriter& w, int code, const BlockPoint& p) { dxf_point(w, code, p.x, p.y, p.z); }

// The groups TEXT and ATTRIB share up to the text itself, in the order each writes them.
void placement(DxfWriter& w, const TextPlacement& at) {
  point(w, 10, at.first);
  if (at.second) point(w, 11, *at.second);
}

}  // namespace

int dxf_placed_text(DxfWriter& w, const TextLook& look, const TextPlacement& at,
                    std::string_view text) {
  if (!w.state.text_path || dxf_entity_start(w, kEntText, look.layer, look.colour) != 0) return -1;
  placement(w, at);
  dxf_real(w, 40, look.height);
  if (at.rotation_degrees) dxf_real(w, 50, *at.rotation_degrees);
  if (at.justification != 0) dxf_prefixed_int(w, 72, at.justification);
  dxf_prefixed_group(w, 7, look.style);
  dxf_prefixed_group(w, 1, text);
  dxf_subclass(w, "Text");
  return 0;
}

void dxf_attributes_follow(DxfWriter& w) { dxf_prefixed_int(w, 66, 1); }

int dxf_attrib(DxfWriter& w, const TextLook& look, const TextPlacement& at,
               std::string_view value, std::string_view tag, bool visible) {
  if (!w.state.text_path || dxf_entity_start(w, kEntAttrib, look.layer, look.colour) != 0) {
    return -1;
  }
  placement(w, at);
  dxf_real(w, 40, look.height);
  dxf_prefixed_group(w, 1, value);
  if (at.rotation_degrees) dxf_real(w, 50, *at.rotation_degrees);
  if (at.justification != 0) dxf_prefixed_int(w, 72, at.justification);
  dxf_prefixed_group(w, 7, look.style);
  dxf_subclass(w, "Attribute");
  dxf_prefixed_group(w, 2, tag);
  dxf_prefixed_int(w, 70, visible ? 0 : 1);
  return 0;
}

int dxf_attdef(DxfWriter& w, double y, double height, std::string_view tag, int width) {
  if (!w.state.text_path || dxf_entity_start(w, kEntAttdef, "0", 0) != 0) return -1;
  point(w, 10, {0.0, y, 0.0});
  dxf_real(w, 40, height);
  dxf_prefixed_group(w, 1, "");
  dxf_subclass(w, "AttributeDefinition");
  dxf_prefixed_group(w, 2, tag);
  dxf_prefixed_group(w, 3, "ENTER " + std::string(tag));
  dxf_prefixed_group(w, 73, format_printf("%3d", width));
  dxf_prefixed_int(w, 70, 1);
  return 0;
}

}  // namespace tsn
