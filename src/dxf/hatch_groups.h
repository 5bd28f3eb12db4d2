// The HATCH entity's own groups on the text path: the leading groups up to the number of
// boundary paths, and the trailing groups with the pattern lines. The paths go between them.
#pragma once

#include <span>
#include <string_view>

#include "drawing/drawing_entities.h"
#include "dxf/dxf_writer.h"

namespace tsn {

// One family of pattern lines, already scaled; the angle in radians is written in degrees.
using DxfHatchLine = HatchPatternLine;

struct DxfHatchHeader {
  std::string_view layer;
  int colour = -1;  // negative: by layer
  double elevation = 0.0;
  std::string_view pattern_name;
  bool solid = false;
  bool associative = false;  // the paths name their outline polylines
  long path_count = 0;
};

// The entity header (bearing the reserved handle in release 14), the elevation point, the
// normal, 2 name, 70 solid flag, 71 associativity and 91 path count. 0, or -1 off the text
// path or when the header cannot be written.
int write_hatch_header(DxfWriter& w, const DxfHatchHeader& h);

// 75 and 76, the pattern lines unless solid, and the seed point. 0, or -1 off the text path.
int write_hatch_pattern(DxfWriter& w, bool solid, std::span<const DxfHatchLine> lines);

}  // namespace tsn
