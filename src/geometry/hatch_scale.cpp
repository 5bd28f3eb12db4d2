// Hatch scale rules and the too-small test.
#include "geometry/hatch_scale.h"

#include <cmath>
#include <cstdio>

namespace tsn {

double automatic_hatch_scale(double hatch_scale, double diagonal, double to_min_max) {
  return hatch_scale < 0.0 ? diagonal * to_min_max : hatch_scale;
}

double lowest_hatch_scale_ratio(int pattern_number) {
  switch (pattern_number) {
    case 1: case 7: case 10: case 11: case 12: case 17:
      return 0.01;
    case 4: case 6: case 9: case 13: case 14: case 15: case 16: case 20: case 21: case 22:
    case 24: case 26: case 31:
      return 0.008;
    case 29: case 30: case 32: case 33:
      return 0.016;
    case 19:
      return 0.02;
    default:
      return 0.002;
  }
}

double two_significant_digits_up(double value) {
  if (!(value > 0.0) || !std::isfinite(value)) return value;
  int exponent = 0;
  while (value > 10.0) {
    value /= 10.0;
    ++exponent;
  }
  while (value <= 1.0) {
    value *= 10.0;
    --exponent;
  }
  // The small allowance keeps a value that is already two digits (2.0 out of 0.002 × 1000)
  // from rising one step through rounding noise.
  const double cut = std::ceil(value * 10.0 - 1e-9) / 10.0;
  const double power = std::pow(10.0, std::abs(exponent));
  return exponent >= 0 ? cut * power : cut / power;
}

HatchScaleCheck check_hatch_scale(int pattern_number, double hatch_scale, double diagonal) {
  HatchScaleCheck out;
  out.hatch_scale = hatch_scale;
  if (pattern_number < 1 || !(hatch_scale > 0.0) || !(diagonal > 0.0)) return out;
  const double limit = lowest_hatch_scale_ratio(pattern_number);
  // The tolerance lets a scale set by an earlier reset pass despite rounding in the ratio.
  if (hatch_scale / diagonal >= limit * (1.0 - 1e-12)) return out;
  out.hatch_scale = two_significant_digits_up(diagonal * limit);
  out.reset = true;
  char text[96];
  std::snprintf(text, sizeof text, "Hatch Scale too small for this file, resetting to %0.4lf",
                out.hatch_scale);
  out.message = text;
  return out;
}

PreparedHatch prepare_hatch_pattern(int pattern_number, double hatch_scale, double diagonal,
                                    double to_min_max) {
  PreparedHatch out;
  out.pattern = hatch_pattern(pattern_number);
  out.check = check_hatch_scale(pattern_number,
                                automatic_hatch_scale(hatch_scale, diagonal, to_min_max),
                                diagonal);
  out.scale = out.check.hatch_scale * out.pattern.base_scale;
  const double s = out.scale;
  for (int k = 0; k < out.pattern.line_count; ++k) {
    HatchLine& line = out.pattern.lines[static_cast<std::size_t>(k)];
    line.base_x *= s;
    line.base_y *= s;
    line.offset_x *= s;
    line.offset_y *= s;
    for (int d = 0; d < line.dash_count; ++d) line.dashes[static_cast<std::size_t>(d)] *= s;
  }
  return out;
}

bool hatch_too_small(const PreparedHatch& hatch, const shape_box& box) {
  if (hatch.pattern.line_count == 0) return false;  // a solid fill has no repeat
  // Lines at zero spacing would never end; such a pattern cannot be drawn at all.
  if (!(hatch.scale > 0.0) || !std::isfinite(hatch.scale)) return true;
  const double width = box.xmax - box.xmin;
  const double height = box.ymax - box.ymin;
  return width < hatch.pattern.min_width * hatch.scale &&
         height < hatch.pattern.min_height * hatch.scale;
}

}  // namespace tsn
