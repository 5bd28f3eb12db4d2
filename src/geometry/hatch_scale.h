// The hatch scale of a polygon file: the automatic scale, the check against patterns too
// dense for the data, the effective pattern and the too-small test of one shape.
#pragma once

#include <string>
#include <string_view>

#include "geometry/hatch_patterns.h"
#include "input/shape_record.h"

namespace tsn {

inline constexpr std::string_view kHatchScaleTooSmallCaption = "Hatch Scale Too Small";

// A scale below 0 asks for the automatic one: diagonal × to_min_max. Others are kept.
double automatic_hatch_scale(double hatch_scale, double diagonal, double to_min_max);

// The lowest admissible ratio of the hatch scale to the diagonal of the file's extents.
double lowest_hatch_scale_ratio(int pattern_number);

// The smallest number of two significant digits not below value (value > 0); other values are
// returned unchanged.
double two_significant_digits_up(double value);

struct HatchScaleCheck {
  double hatch_scale = 0.0;  // the scale to use and keep in the settings
  bool reset = false;        // it was raised; message (caption kHatchScaleTooSmallCaption)
  std::string message;       // to be shown by the caller when reset
};

// For a pattern number of 1 or more and a scale above 0: a scale whose ratio to the diagonal
// is below the pattern's lowest is raised to diagonal × that ratio, two significant digits.
HatchScaleCheck check_hatch_scale(int pattern_number, double hatch_scale, double diagonal);

// The pattern of one polygon file.
struct PreparedHatch {
  HatchPattern pattern;  // lines scaled by `scale`; minimum sizes at scale 1
  double scale = 1.0;    // hatch scale × base scale
  HatchScaleCheck check;
};

// Applies the automatic scale and the scale check, then scales the table entry's lines.
PreparedHatch prepare_hatch_pattern(int pattern_number, double hatch_scale, double diagonal,
                                    double to_min_max);

// True when the shape is too small to hatch: narrower than one repeat and lower than one
// repeat. A patterned hatch whose scale is not above 0 is never drawn.
bool hatch_too_small(const PreparedHatch& hatch, const shape_box& box);

}  // namespace tsn
