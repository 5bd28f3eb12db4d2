// Where a label is anchored before its offsets: a position on the shape's box, or the point of
// the shape's first part found near that position ("move close").
#pragma once

#include <optional>
#include <span>

#include "input/shape_record.h"

namespace tsn {

// Positions on a shape's box, as the MinMaxPos setting numbers them.
inline constexpr int kPosTopLeft = 234;
inline constexpr int kPosTopCentre = 235;
inline constexpr int kPosTopRight = 236;
inline constexpr int kPosMiddleLeft = 237;
inline constexpr int kPosCentre = 238;
inline constexpr int kPosMiddleRight = 194;
inline constexpr int kPosBottomLeft = 240;
inline constexpr int kPosBottomCentre = 241;
inline constexpr int kPosBottomRight = 242;

struct PlanePoint {
  double x = 0.0;
  double y = 0.0;
};

// The MinMaxPos position on the box; an unknown value counts as the centre.
PlanePoint box_anchor(const shape_box& box, int min_max_pos);

// The point of `part` that stands for the box position `min_max_pos`:
//  - centre: on the horizontal line through the box middle, midway between the leftmost and
//    the rightmost crossing for a polygon, the crossing nearest the box centre for a polyline;
//  - middle left / right: the leftmost / rightmost crossing of that line;
//  - top / bottom centre: the highest / lowest crossing of the vertical line through the centre;
//  - a corner: of the vertices lying on the two box edges that meet there, the one nearest the
//    corner along its edge.
// A segment lying along the line counts at its midpoint. Nothing when the part never reaches
// the line or the edges; the caller then keeps the box position.
std::optional<PlanePoint> move_close_anchor(const shape_box& box, int min_max_pos,
                                            std::span<const shape_point> part, bool polygon);

}  // namespace tsn
