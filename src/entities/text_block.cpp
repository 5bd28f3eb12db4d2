// Line positions of a placed label or attribute block.
#include "entities/text_block.h"

#include <cmath>

#include "geometry/text_metrics.h"
#include "platform/text_encoding.h"

namespace tsn {

TextBlockLines::TextBlockLines(const LabelPlacement& placed, int justification, double height,
                               double line_spacing, double z, double width_factor)
    : placed_(placed),
      at_(placed.insertion),
      justification_(justification),
      height_(height),
      step_((1.0 + line_spacing) * height),
      z_(z),
      width_factor_(width_factor) {}

TextPlacement TextBlockLines::line(std::string_view text) const {
  TextPlacement p;
  p.justification = justification_;
  if (placed_.aligned) p.rotation_degrees = placed_.rotation_degrees;
  const Point3 insertion{at_.x, at_.y, z_};
  if (justification_ == 0) {
    p.first = insertion;
    return p;
  }
  double width = static_cast<double>(displayed_length(text)) * height_ *
                 char_width_ratio(text, WidthMode::plain, width_factor_);
  if (justification_ == 1) width /= 2.0;
  const double angle = placed_.aligned ? placed_.rotation : 0.0;
  p.first = {at_.x - width * std::cos(angle), at_.y - width * std::sin(angle), z_};
  p.second = insertion;
  return p;
}

void TextBlockLines::next() {
  if (placed_.aligned) {
    at_.x += std::sin(placed_.rotation) * step_;
    at_.y -= std::cos(placed_.rotation) * step_;
  } else {
    at_.y -= step_;
  }
}

}  // namespace tsn
