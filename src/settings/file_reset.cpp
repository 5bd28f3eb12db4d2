// The reset of per-file fields before an input, and the values derived from the input.
#include "settings/file_reset.h"

#include <cmath>

namespace tsn {

double extent_diagonal(double xmin, double ymin, double xmax, double ymax) {
  const double dx = xmax - xmin;
  const double dy = ymax - ymin;
  const double square = dx * dx + dy * dy;
  // NaN extents (seen in real headers) compare false and give 0 as well.
  if (!(square >= 1e-50)) return 0.0;
  // Extents beyond about 1e154 overflow the square, not their length; a length that is still
  // not finite is no extent at all.
  const double length = std::isinf(square) ? std::hypot(dx, dy) : std::sqrt(square);
  return std::isfinite(length) ? length : 0.0;
}

double height_from_ratio(double ratio, double extent) {
  if (ratio < 0) return -ratio;
  return extent > 0.001 ? ratio * extent : ratio;
}

int effective_colour_method(const FileSettings& f, const InputInfo& input) {
  switch (shape_class(input, f)) {
    case 0: return f.Use1ColourPoints ? 0 : 2;
    case 1: return f.Use1ColourArcs ? 0 : 2;
    default: break;
  }
  const bool one_outline = f.Use1ColourLines != 0;
  const bool one_fill = f.Use1ColourFill != 0;
  const bool outlines = f.DrawOutlines != 0;
  const bool fill = f.Fill != 0;
  const bool table_without_shapes = input.input_file_type != 0;
  if ((outlines && one_outline && fill && one_fill) || (one_outline && !fill) ||
      (fill && one_fill && !outlines) || table_without_shapes) {
    return 0;
  }
  return 2;
}

void copy_one_colour_keys(FileSettings& to, const FileSettings& from, int cls) {
  switch (cls) {
    case 0:
      to.Use1ColourPoints = from.Use1ColourPoints;
      to.SingleColourPoints = from.SingleColourPoints;
      break;
    case 1:
      to.Use1ColourArcs = from.Use1ColourArcs;
      to.Pen0 = from.Pen0;
      break;
    default:
      to.Use1ColourLines = from.Use1ColourLines;
      to.SingleColourLines = from.SingleColourLines;
      to.Use1ColourFill = from.Use1ColourFill;
      to.SingleColourFill = from.SingleColourFill;
      break;
  }
}

void reset_file_settings(ConvSettings& s, const InputInfo& input) {
  FileSettings& cur = s.cur;
  const FileSettings& prog = s.prog;
  s.def.attrib_fields.fill(0);
  s.def.label_fields.fill(0);
  s.def.num_attrib_selected = 0;
  s.def.num_label_fields = 0;

  const double extent = input.extent_diagonal;
  cur.TextLabelsHeight = height_from_ratio(s.TextLabelsHeightToMinMax, extent);
  cur.MarkerHeight = height_from_ratio(s.MarkerHeightToMinMax, extent);
  cur.TextLegendHeight = height_from_ratio(s.LegendHeightToMinMax, extent);
  cur.TextAttribHeight = height_from_ratio(s.AttribHeightToMinMax, extent);

  cur.TextColour = prog.TextColour;
  cur.LegendTextColour = prog.LegendTextColour;
  cur.AttribTextColour = prog.AttribTextColour;
  cur.Legend = prog.Legend;
  cur.AlignText = prog.AlignText;
  cur.AlignAttrib = prog.AlignAttrib;
  copy_one_colour_keys(cur, prog, shape_class(input, cur));
  cur.ColourMethod = effective_colour_method(cur, input);
  cur.TIN = 0;
}

}  // namespace tsn
