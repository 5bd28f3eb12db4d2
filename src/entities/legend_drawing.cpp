// Legend entities: texts and symbol insertions placed leftwards of the drawing's extent.
#include "entities/legend_drawing.h"

#include "entities/marker_blocks.h"

namespace tsn {
namespace {

// Offsets leftwards of xmin, in text heights.
constexpr double kSwatchColumn = 33.5;
constexpr double kPointSwatchColumn = 31.75;  // the dot is centred on its point
constexpr double kLabelColumn = 30.0;
constexpr double kRowSpacing = 1.5;
constexpr double kPointSwatchRaise = 0.5;

}  // namespace

std::string_view legend_symbol_block(int shape_class) {
  switch (shape_class) {
    case 0: return kDotBlock;
    case 1: return kLineLegendBlock;
    default: return kPolygonLegendBlock;
  }
}

int write_legend(const DrawingOut& w, const Legend& legend) {
  const double h = legend.height;
  double y = legend.ymax;
  const auto text = [&](double column, const std::string& s) {
    const TextPlacement at{{legend.xmin - column * h, y, 0.0}, {}, {}, 0};
    return w.add({legend.layer, legend.text_colour, false}, TextEntity{at, h, legend.style, s});
  };
  const auto swatch = [&](int colour) {
    const bool point = legend.shape_class == 0;
    const Point3 at{legend.xmin - (point ? kPointSwatchColumn : kSwatchColumn) * h,
                        y + (point ? kPointSwatchRaise * h : 0.0), 0.0};
    return w.add({legend.layer, colour, false},
                 InsertEntity{legend_symbol_block(legend.shape_class), at, h, false});
  };
  if (text(kSwatchColumn, legend.title) != 0) return -1;
  y -= kRowSpacing * h;
  if (legend.key_name.empty()) return swatch(legend.single_colour);
  if (text(kSwatchColumn, legend.key_name) != 0) return -1;
  y -= kRowSpacing * h;
  for (const LegendEntry& e : legend.entries) {
    if (swatch(e.colour) != 0 || text(kLabelColumn, e.label) != 0) return -1;
    y -= kRowSpacing * h;
  }
  return 0;
}

}  // namespace tsn
