// The move-close search: crossings of the lines through the box centre, edge vertices at the
// corners, segments lying along a line, and nothing found.
#include "geometry/label_anchor.h"

#include <gtest/gtest.h>

#include <vector>

namespace tsn {
namespace {

void expect_point(const std::optional<PlanePoint>& p, double x, double y, int pos) {
  ASSERT_TRUE(p.has_value()) << pos;
  EXPECT_DOUBLE_EQ(p->x, x) << pos;
  EXPECT_DOUBLE_EQ(p->y, y) << pos;
}

// A slanted quadrilateral: the middle line y = 5 crosses it at 1 and 9, the vertical x = 5 at
// 0 and 10.
const std::vector<shape_point> kRing = {{0, 0, 0}, {2, 10, 0}, {10, 10, 0}, {8, 0, 0}, {0, 0, 0}};
const shape_box kBox{0, 0, 10, 10};

TEST(MoveClose, PolygonRingPositions) {
  expect_point(move_close_anchor(kBox, kPosCentre, kRing, true), 5, 5, kPosCentre);
  expect_point(move_close_anchor(kBox, kPosMiddleLeft, kRing, true), 1, 5, kPosMiddleLeft);
  expect_point(move_close_anchor(kBox, kPosMiddleRight, kRing, true), 9, 5, kPosMiddleRight);
  expect_point(move_close_anchor(kBox, kPosTopCentre, kRing, true), 5, 10, kPosTopCentre);
  expect_point(move_close_anchor(kBox, kPosBottomCentre, kRing, true), 5, 0, kPosBottomCentre);
}

TEST(MoveClose, CornersTakeTheNearestVertexOnTheirEdges) {
  // Top left: (2,10) lies 2 along the top edge, (0,0) 10 down the left edge.
  expect_point(move_close_anchor(kBox, kPosTopLeft, kRing, true), 2, 10, kPosTopLeft);
  expect_point(move_close_anchor(kBox, kPosTopRight, kRing, true), 10, 10, kPosTopRight);
  expect_point(move_close_anchor(kBox, kPosBottomRight, kRing, true), 8, 0, kPosBottomRight);
  expect_point(move_close_anchor(kBox, kPosBottomLeft, kRing, true), 0, 0, kPosBottomLeft);
  // A part that touches neither edge of the corner gives nothing.
  const std::vector<shape_point> inner = {{3, 3, 0}, {6, 7, 0}};
  EXPECT_FALSE(move_close_anchor(kBox, kPosTopLeft, inner, false).has_value());
}

TEST(MoveClose, AnUnclosedRingIsClosed) {
  // The bottom side exists only as the closing segment from (0,0) back to (10,0).
  const std::vector<shape_point> open = {{10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}};
  expect_point(move_close_anchor(kBox, kPosBottomCentre, open, true), 5, 0, kPosBottomCentre);
  // A polyline stays open: its lowest crossing of x = 5 is on the top side.
  expect_point(move_close_anchor(kBox, kPosBottomCentre, open, false), 5, 10, kPosBottomCentre);
}

TEST(MoveClose, PolylineCentreIsTheCrossingNearestTheBoxCentre) {
  const std::vector<shape_point> zigzag = {{0, 0, 0}, {3, 10, 0}, {9, 0, 0}, {10, 10, 0}};
  expect_point(move_close_anchor(kBox, kPosCentre, zigzag, false), 6, 5, kPosCentre);
  expect_point(move_close_anchor(kBox, kPosMiddleLeft, zigzag, false), 1.5, 5, kPosMiddleLeft);
  expect_point(move_close_anchor(kBox, kPosMiddleRight, zigzag, false), 9.5, 5,
               kPosMiddleRight);
}

TEST(MoveClose, SegmentAlongTheLineCountsAtItsMidpoint) {
  const std::vector<shape_point> step = {{0, 0, 0}, {2, 5, 0}, {8, 5, 0}, {10, 10, 0}};
  expect_point(move_close_anchor(kBox, kPosCentre, step, false), 5, 5, kPosCentre);
  expect_point(move_close_anchor(kBox, kPosMiddleLeft, step, false), 2, 5, kPosMiddleLeft);
  const std::vector<shape_point> upright = {{0, 0, 0}, {5, 2, 0}, {5, 6, 0}, {10, 10, 0}};
  expect_point(move_close_anchor(kBox, kPosTopCentre, upright, false), 5, 6, kPosTopCentre);
}

TEST(MoveClose, NothingFoundForPartsOffTheLinesOrEmpty) {
  const std::vector<shape_point> low = {{0, 0, 0}, {10, 1, 0}};
  EXPECT_FALSE(move_close_anchor(kBox, kPosCentre, low, false).has_value());
  EXPECT_FALSE(move_close_anchor(kBox, kPosMiddleLeft, low, true).has_value());
  const std::vector<shape_point> side = {{0, 0, 0}, {1, 10, 0}};
  EXPECT_FALSE(move_close_anchor(kBox, kPosTopCentre, side, false).has_value());
  EXPECT_FALSE(move_close_anchor(kBox, kPosCentre, {}, true).has_value());
}

}  // namespace
}  // namespace tsn
