// Anchor, vertical and horizontal offsets of a label block.
#include "geometry/label_placement.h"

#include <cmath>

#include "geometry/label_alignment.h"

namespace tsn {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kBelowDistance = 1.25;  // of h, from the anchor down to the first baseline

}  // namespace

LabelRequest label_request(const ConvSettings& s, const shape_box& box, int shape_class,
                           int line_count, bool attributes) {
  const FileSettings& f = s.cur;
  const int k = shape_class >= 0 && shape_class < kShapeClasses ? shape_class : 0;
  LabelRequest r;
  r.box = box;
  r.shape_class = k;
  r.line_count = line_count;
  r.position = attributes ? f.attrib_position[k] : f.label_position[k];
  r.move_close = (attributes ? f.attrib_move_close[k] : f.label_move_close[k]) != 0;
  r.align = (attributes ? f.AlignAttrib : f.AlignText) != 0;
  r.height = attributes ? f.TextAttribHeight : f.TextLabelsHeight;
  r.line_spacing = s.LineSpacing;
  r.x_offset_ratio = s.TextXOfsRatio;
  r.point_x_offset_ratio = s.PointTextXOfsRatio;
  return r;
}

double baseline_offset(int vertical_pos, int line_count, double height, double line_spacing) {
  const double s = line_spacing;
  const int n = line_count < 1 ? 1 : line_count;
  if (vertical_pos > 0) return -kBelowDistance * height;
  if (vertical_pos < 0) return (s / 2.0 + (1.0 + s) * (n - 1)) * height;
  // Middle: the block is centred on the anchor. With n odd the middle line's text is centred,
  // its baseline h/2 down.
  if (n % 2 == 1) return ((1.0 + s) * (n / 2) - 0.5) * height;
  return (s / 2.0 + (1.0 + s) * (n / 2 - 1)) * height;
}

LabelPlacement place_label(const LabelRequest& request) {
  const bool line = request.shape_class == 1;
  const bool polygon = request.shape_class == 2;
  LabelPlacement out;
  out.insertion = box_anchor(request.box, request.position.MinMaxPos);
  if (line && request.align && !request.part.empty()) {
    const AlignedAnchor a = align_with_part(request.part, request.box);
    out.insertion = a.point;
    out.rotation = a.rotation;
    out.aligned = true;
  } else if ((line || polygon) && request.move_close) {
    if (const auto p = move_close_anchor(request.box, request.position.MinMaxPos, request.part,
                                         polygon)) {
      out.insertion = *p;
    }
  }

  const double h = request.height;
  const double rise = baseline_offset(request.position.VerticalPos, request.line_count, h,
                                      request.line_spacing);
  const double ratio = request.shape_class == 0 ? request.point_x_offset_ratio
                                                : request.x_offset_ratio;
  double along = 0.0;  // along the text direction: left justified text starts after the gap
  if (request.position.AnnotJust == 0) along = ratio * h;
  if (request.position.AnnotJust == 2) along = -ratio * h;

  const double c = std::cos(out.rotation);
  const double s = std::sin(out.rotation);
  out.insertion.x += c * along - s * rise;
  out.insertion.y += s * along + c * rise;
  out.rotation_degrees = out.rotation * kDegreesPerRadian;
  return out;
}

}  // namespace tsn
