// The hatch pattern table: line families, one repeat's extent and base scale of each pattern.
#pragma once

#include <array>
#include <string_view>

#include "settings/hatch_pattern_names.h"

namespace tsn {

inline constexpr int kHatchPatternCount = static_cast<int>(kHatchPatternNames.size());
inline constexpr int kMaxHatchLines = 6;
inline constexpr int kMaxHatchDashes = 6;

// One family of parallel pattern lines.
struct HatchLine {
  double angle = 0.0;  // radians
  double base_x = 0.0;
  double base_y = 0.0;
  double offset_x = 0.0;  // from one line to the next, in drawing axes (already turned)
  double offset_y = 0.0;
  int dash_count = 0;  // 0: a continuous line
  std::array<double, kMaxHatchDashes> dashes{};  // negative lengths are gaps
};

struct HatchPattern {
  std::string_view name;
  int line_count = 0;  // 0 for SOLID
  double min_width = 0.0;  // extent of one repeat at scale 1
  double min_height = 0.0;
  double base_scale = 1.0;  // the pattern's lines are drawn at this times the hatch scale
  std::array<HatchLine, kMaxHatchLines> lines{};
};

// The entry of a pattern number 0..33; any other number gives SOLID.
const HatchPattern& hatch_pattern(int number);

}  // namespace tsn
