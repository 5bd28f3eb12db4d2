// The lines of a label or attribute block: where each line stands once the block is placed,
// with the alignment points of centred and right-justified text.
#pragma once

#include <string_view>

#include "drawing/drawing_entities.h"
#include "geometry/label_placement.h"

namespace tsn {

// Walks the lines of a placed block: the placement of the current line, then next().
class TextBlockLines {
 public:
  // `z` is the texts' elevation; `width_factor` the fallback width of a character.
  TextBlockLines(const LabelPlacement& placed, int justification, double height,
                 double line_spacing, double z, double width_factor);

  // The placement of `text` on the current line: the insertion point alone for left
  // justification; otherwise the first point moved back by the text's width (half of it when
  // centred) along the text direction, and the insertion point as the second point.
  TextPlacement line(std::string_view text) const;
  // The next line, (1 + line spacing) × height lower (perpendicular to aligned text).
  void next();

 private:
  LabelPlacement placed_;
  PlanePoint at_;
  int justification_;
  double height_;
  double step_;
  double z_;
  double width_factor_;
};

}  // namespace tsn
