// The leading and trailing groups of a HATCH entity.
#include "dxf/hatch_groups.h"

#include <numbers>

#include "dxf/entity_types.h"

namespace tsn {

int write_hatch_header(DxfWriter& w, const DxfHatchHeader& h) {
  if (!w.state.text_path) return -1;
  if (dxf_entity_start(w, kEntHatch, h.layer, h.colour) != 0) return -1;
  // The Z groups are written whatever the Z rule says: the elevation belongs to the hatch.
  dxf_real(w, 10, 0.0);
  dxf_real(w, 20, 0.0);
  dxf_real(w, 30, h.elevation);
  dxf_real(w, 210, 0.0);
  dxf_real(w, 220, 0.0);
  dxf_real(w, 230, 1.0);
  dxf_prefixed_group(w, 2, h.pattern_name);
  dxf_prefixed_int(w, 70, h.solid ? 1 : 0);
  dxf_prefixed_int(w, 71, h.associative ? 1 : 0);
  dxf_prefixed_int(w, 91, h.path_count);
  return 0;
}

int write_hatch_pattern(DxfWriter& w, bool solid, std::span<const DxfHatchLine> lines) {
  if (!w.state.text_path) return -1;
  dxf_prefixed_int(w, 75, 0);  // odd parity
  dxf_prefixed_int(w, 76, 1);  // predefined pattern
  if (!solid) {
    dxf_real(w, 52, 0.0);
    dxf_real(w, 41, 1.0);
    dxf_prefixed_int(w, 77, 0);
    dxf_prefixed_int(w, 78, static_cast<long>(lines.size()));
    for (const DxfHatchLine& line : lines) {
      dxf_real(w, 53, line.angle * 180.0 / std::numbers::pi);
      dxf_real(w, 43, line.base_x);
      dxf_real(w, 44, line.base_y);
      dxf_real(w, 45, line.offset_x);
      dxf_real(w, 46, line.offset_y);
      dxf_prefixed_int(w, 79, static_cast<long>(line.dashes.size()));
      for (const double dash : line.dashes) dxf_real(w, 49, dash);
    }
  }
  dxf_prefixed_int(w, 98, 1);
  dxf_real(w, 10, 0.0);  // seed point
  dxf_real(w, 20, 0.0);
  return 0;
}

}  // namespace tsn
