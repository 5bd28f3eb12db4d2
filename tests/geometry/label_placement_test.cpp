// Label block placement: box anchors, vertical and horizontal offsets, point defaults and the
// way move-close and aligned text feed the insertion point.
#include "geometry/label_placement.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tsn {
namespace {

LabelRequest request_for(int shape_class, const shape_box& box) {
  LabelRequest r;
  r.shape_class = shape_class;
  r.box = box;
  r.position = kInitialTextPositions[shape_class];
  return r;
}

TEST(LabelPlacement, OneLinePointLabelWithDefaultsSitsHalfAHeightDownAndOneHeightRight) {
  LabelRequest r = request_for(0, {10.0, 20.0, 10.0, 20.0});
  r.height = 2.0;
  const LabelPlacement p = place_label(r);
  EXPECT_DOUBLE_EQ(p.insertion.x, 12.0);
  EXPECT_DOUBLE_EQ(p.insertion.y, 19.0);
  EXPECT_EQ(p.rotation, 0.0);
  EXPECT_EQ(p.rotation_degrees, 0.0);
  EXPECT_FALSE(p.aligned);
}

TEST(LabelPlacement, EveryBoxPositionHasItsAnchor) {
  const shape_box box{0.0, 0.0, 10.0, 4.0};
  struct Case {
    int pos;
    double x, y;
  };
  const std::array<Case, 10> cases = {{{kPosTopLeft, 0, 4},
                                       {kPosTopCentre, 5, 4},
                                       {kPosTopRight, 10, 4},
                                       {kPosMiddleLeft, 0, 2},
                                       {kPosCentre, 5, 2},
                                       {kPosMiddleRight, 10, 2},
                                       {kPosBottomLeft, 0, 0},
                                       {kPosBottomCentre, 5, 0},
                                       {kPosBottomRight, 10, 0},
                                       {239, 5, 2}}};  // unknown: the centre
  for (const Case& c : cases) {
    const PlanePoint a = box_anchor(box, c.pos);
    EXPECT_DOUBLE_EQ(a.x, c.x) << c.pos;
    EXPECT_DOUBLE_EQ(a.y, c.y) << c.pos;
    // Through the whole placement: centred, middle, so only the baseline drop of h/2 remains.
    LabelRequest r = request_for(2, box);
    r.move_close = false;
    r.position = {c.pos, 0, 1};
    const LabelPlacement p = place_label(r);
    EXPECT_DOUBLE_EQ(p.insertion.x, c.x) << c.pos;
    EXPECT_DOUBLE_EQ(p.insertion.y, c.y - 0.5) << c.pos;
  }
}

TEST(LabelPlacement, VerticalOffsetsForOneTwoAndThreeLines) {
  // h = 1, spacing 0.5: lines 1.5 apart.
  EXPECT_DOUBLE_EQ(baseline_offset(-1, 1, 1.0, 0.5), 0.25);
  EXPECT_DOUBLE_EQ(baseline_offset(-1, 2, 1.0, 0.5), 1.75);
  EXPECT_DOUBLE_EQ(baseline_offset(-1, 3, 1.0, 0.5), 3.25);
  EXPECT_DOUBLE_EQ(baseline_offset(0, 1, 1.0, 0.5), -0.5);
  EXPECT_DOUBLE_EQ(baseline_offset(0, 2, 1.0, 0.5), 0.25);
  EXPECT_DOUBLE_EQ(baseline_offset(0, 3, 1.0, 0.5), 1.0);
  for (int n = 1; n <= 3; ++n) EXPECT_DOUBLE_EQ(baseline_offset(1, n, 1.0, 0.5), -1.25) << n;
  // Scaled by the height.
  EXPECT_DOUBLE_EQ(baseline_offset(-1, 2, 4.0, 0.5), 7.0);
  EXPECT_DOUBLE_EQ(baseline_offset(1, 2, 4.0, 0.5), -5.0);
}

TEST(LabelPlacement, MiddleBlocksAreCentredOnTheAnchorForAnySpacing) {
  for (double s : {0.0, 0.5, 1.0, 2.0}) {
    for (int n = 1; n <= 5; ++n) {
      const double first = baseline_offset(0, n, 1.0, s);
      const double top = first + 1.0;
      const double last_baseline = first - (n - 1) * (1.0 + s);
      EXPECT_NEAR(top + last_baseline, 0.0, 1e-12) << "spacing " << s << " lines " << n;
    }
  }
}

TEST(LabelPlacement, JustificationMovesByTheClassOffset) {
  const shape_box box{0.0, 0.0, 10.0, 4.0};
  struct Case {
    int shape_class;
    int just;
    double x;
  };
  // h = 2: lines and polygons move 0.5 h = 1, points 1.0 h = 2.
  const std::array<Case, 6> cases = {{{2, 0, 6}, {2, 1, 5}, {2, 2, 4}, {0, 0, 7}, {0, 1, 5},
                                      {0, 2, 3}}};
  for (const Case& c : cases) {
    LabelRequest r = request_for(c.shape_class, box);
    r.move_close = false;
    r.height = 2.0;
    r.position = {kPosCentre, 0, c.just};
    const LabelPlacement p = place_label(r);
    EXPECT_DOUBLE_EQ(p.insertion.x, c.x) << c.shape_class << " " << c.just;
    EXPECT_DOUBLE_EQ(p.insertion.y, 1.0) << c.shape_class << " " << c.just;
  }
}

TEST(LabelPlacement, MoveCloseCentresInsideAPolygonRing) {
  // A U: the middle line crosses at 0, 4, 8 and 10; the midpoint 5 of the outer crossings is in
  // the notch, so the wider arm's middle is taken.
  const std::vector<shape_point> ring = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {8, 10, 0},
                                         {8, 3, 0}, {4, 3, 0},  {4, 10, 0},  {0, 10, 0},
                                         {0, 0, 0}};
  LabelRequest r = request_for(2, {0, 0, 10, 10});
  r.move_close = true;
  r.part = ring;
  const LabelPlacement p = place_label(r);
  EXPECT_DOUBLE_EQ(p.insertion.x, 2.0);
  EXPECT_DOUBLE_EQ(p.insertion.y, 4.5);

  r.move_close = false;
  const LabelPlacement plain = place_label(r);
  EXPECT_DOUBLE_EQ(plain.insertion.x, 5.0);
}

TEST(LabelPlacement, MoveCloseOnAPolylineAndItsFallbackToTheBox) {
  const std::vector<shape_point> zigzag = {{0, 0, 0}, {3, 10, 0}, {9, 0, 0}, {10, 10, 0}};
  LabelRequest r = request_for(1, {0, 0, 10, 10});
  r.align = false;
  r.move_close = true;
  r.part = zigzag;
  const LabelPlacement p = place_label(r);
  EXPECT_DOUBLE_EQ(p.insertion.x, 6.0);    // crossing nearest the centre, centred text
  EXPECT_DOUBLE_EQ(p.insertion.y, 5.25);   // above: s/2 x h over the line

  const std::vector<shape_point> low = {{0, 0, 0}, {10, 1, 0}};  // never reaches y = 5
  r.part = low;
  const LabelPlacement fallback = place_label(r);
  EXPECT_DOUBLE_EQ(fallback.insertion.x, 5.0);
  EXPECT_DOUBLE_EQ(fallback.insertion.y, 5.25);
}

TEST(LabelPlacement, PointsNeverMoveCloseAndOnlyLinesAlign) {
  const std::vector<shape_point> part = {{0, 0, 0}, {1, 9, 0}};
  LabelRequest r = request_for(0, {0, 0, 10, 10});
  r.move_close = true;
  r.align = true;
  r.part = part;
  const LabelPlacement point = place_label(r);
  EXPECT_DOUBLE_EQ(point.insertion.x, 6.0);
  EXPECT_DOUBLE_EQ(point.insertion.y, 4.5);
  EXPECT_FALSE(point.aligned);

  r.shape_class = 2;
  r.position = {kPosCentre, 0, 1};
  EXPECT_FALSE(place_label(r).aligned);
}

TEST(LabelPlacement, AlignedTextIsOffsetPerpendicularToItsRotation) {
  // A vertical line: text turned a quarter, "above" means to the left of it.
  const std::vector<shape_point> up = {{0, 0, 0}, {0, 10, 0}};
  LabelRequest r = request_for(1, {0, 0, 0, 10});
  r.align = true;
  r.part = up;
  const LabelPlacement p = place_label(r);
  EXPECT_TRUE(p.aligned);
  EXPECT_NEAR(p.rotation_degrees, 90.0, 1e-12);
  EXPECT_NEAR(p.insertion.x, -0.25, 1e-12);
  EXPECT_NEAR(p.insertion.y, 5.0, 1e-12);

  // Left justified: the gap runs along the text, here upwards.
  r.position.AnnotJust = 0;
  r.position.VerticalPos = 1;
  const LabelPlacement left = place_label(r);
  EXPECT_NEAR(left.insertion.x, 1.25, 1e-12);
  EXPECT_NEAR(left.insertion.y, 5.5, 1e-12);
}

}  // namespace
}  // namespace tsn
