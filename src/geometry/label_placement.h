// Placement of one record's label block (one line per label field): insertion point of the
// first line's baseline and rotation, from the shape's box, its first part and the settings.
#pragma once

#include <span>

#include "geometry/label_anchor.h"
#include "input/shape_record.h"
#include "settings/conv_settings.h"

namespace tsn {

// Everything the placement of one label (or attribute text) block needs.
struct LabelRequest {
  shape_box box;                       // the record's enclosing box
  int shape_class = 0;                 // 0 points, 1 lines, 2 polygons
  int line_count = 1;                  // lines of the block
  std::span<const shape_point> part;   // the first part's vertices (lines and polygons)
  TextPosition position;               // MinMaxPos, VerticalPos, AnnotJust of the shape class
  bool move_close = false;             // anchor onto the part (lines and polygons)
  bool align = false;                  // text along the line (lines only)
  double height = 1.0;                 // text height h
  double line_spacing = 0.5;           // gap between lines as a fraction of h
  double x_offset_ratio = 0.5;         // horizontal offset of line and polygon labels, times h
  double point_x_offset_ratio = 1.0;   // ... of point labels
};

struct LabelPlacement {
  PlanePoint insertion;
  double rotation = 0.0;          // radians (the overlap test works in these)
  double rotation_degrees = 0.0;  // as written to the drawing
  bool aligned = false;           // text along a polyline: following lines step perpendicular
};

// The label request of a shape class from the current settings: the text labels' or, with
// `attributes`, the attribute texts' height, position triple, move-close and align flags. The
// part is left empty for the caller to fill.
LabelRequest label_request(const ConvSettings& s, const shape_box& box, int shape_class,
                           int line_count, bool attributes);

// Offset of the first baseline from the anchor, upwards, for VerticalPos -1 (above), 0 (middle)
// or 1 (below) and n lines (1 + spacing) x h apart.
double baseline_offset(int vertical_pos, int line_count, double height, double line_spacing);

LabelPlacement place_label(const LabelRequest& request);

}  // namespace tsn
