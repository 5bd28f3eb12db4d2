// The legend drawn beside the map after the records: a title, the colour key's name, and one
// swatch (an insertion of the class's legend symbol) and one label per colour class, in a column
// to the left of the drawing's extent.
#pragma once

#include <string>
#include <vector>

#include "drawing/drawing_writer.h"

namespace tsn {

struct LegendEntry {
  std::string label;
  int colour = 0;
};

struct Legend {
  std::string title;              // the input file's name
  std::string key_name;           // the colour key's field; empty for a single swatch
  std::vector<LegendEntry> entries;
  int single_colour = 7;          // the one swatch's colour when there is no colour key
  int shape_class = 0;            // 0 points, 1 lines, 2 polygons: which symbol block
  double xmin = 0.0;              // left edge of the drawing's extent
  double ymax = 0.0;              // top edge
  double height = 1.0;            // text height h; rows are 1.5 h apart
  std::string layer = "LEGEND";
  int text_colour = 40;
  std::string style = "STANDARD";
};

// The name of the legend symbol block of a shape class.
std::string_view legend_symbol_block(int shape_class);

// Writes the legend's entities; 0, or -1 when an entity could not be written.
int write_legend(const DrawingOut& w, const Legend& legend);

}  // namespace tsn
