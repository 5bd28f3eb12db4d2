// Text aligned with a polyline: the chord's bisector, the first crossing segment, upright
// rotations and the chord when nothing crosses.
#include "geometry/label_alignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "geometry/label_placement.h"

namespace tsn {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(UprightAngle, NeverUpsideDownAndVerticalIsAQuarterTurn) {
  EXPECT_DOUBLE_EQ(upright_angle({0, 0}, {1, 0}), 0.0);
  EXPECT_DOUBLE_EQ(upright_angle({1, 0}, {0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(upright_angle({0, 0}, {0, 1}), kPi / 2);
  EXPECT_DOUBLE_EQ(upright_angle({0, 1}, {0, 0}), kPi / 2);
  EXPECT_DOUBLE_EQ(upright_angle({0, 0}, {-1, 1}), -kPi / 4);
  EXPECT_DOUBLE_EQ(upright_angle({-1, 1}, {0, 0}), -kPi / 4);
  for (int i = 0; i < 360; ++i) {
    const double a = i * kPi / 180.0;
    const double r = upright_angle({0, 0}, {std::cos(a), std::sin(a)});
    EXPECT_GT(r, -kPi / 2 - 1e-12) << i;
    EXPECT_LE(r, kPi / 2 + 1e-12) << i;
    EXPECT_NEAR(std::sin(2 * r), std::sin(2 * a), 1e-9) << i;  // same line, either way round
  }
}

TEST(AlignWithPart, VerticalPolylineEitherWayRoundGivesAQuarterTurn) {
  for (const auto& part : {std::vector<shape_point>{{3, 0, 0}, {3, 8, 0}},
                           std::vector<shape_point>{{3, 8, 0}, {3, 0, 0}}}) {
    const AlignedAnchor a = align_with_part(part, {3, 0, 3, 8});
    EXPECT_TRUE(a.on_part);
    EXPECT_DOUBLE_EQ(a.rotation, kPi / 2);
    EXPECT_NEAR(a.point.x, 3.0, 1e-12);
    EXPECT_NEAR(a.point.y, 4.0, 1e-12);
  }
}

TEST(AlignWithPart, DescendingPolylineTakesTheCrossingSegmentReadingLeftToRight) {
  // Chord (0,10)-(10,0), bisector y = x; the first segment reaching it runs (4,9)-(6,1).
  const std::vector<shape_point> part = {{0, 10, 0}, {4, 9, 0}, {6, 1, 0}, {10, 0, 0}};
  const AlignedAnchor a = align_with_part(part, {0, 0, 10, 10});
  EXPECT_TRUE(a.on_part);
  EXPECT_NEAR(a.point.x, 5.0, 1e-12);
  EXPECT_NEAR(a.point.y, 5.0, 1e-12);
  EXPECT_NEAR(a.rotation, std::atan2(-8.0, 2.0), 1e-12);  // about -76 degrees, not 104

  LabelRequest r;
  r.shape_class = 1;
  r.box = {0, 0, 10, 10};
  r.position = kInitialTextPositions[1];
  r.align = true;
  r.part = part;
  const LabelPlacement p = place_label(r);
  EXPECT_NEAR(p.rotation_degrees, std::atan2(-8.0, 2.0) * 180.0 / kPi, 1e-9);
  EXPECT_GT(p.rotation_degrees, -90.0);
  // Above the line: 0.25 h along the upward normal of the text.
  EXPECT_NEAR(p.insertion.x, 5.0 - std::sin(a.rotation) * 0.25, 1e-12);
  EXPECT_NEAR(p.insertion.y, 5.0 + std::cos(a.rotation) * 0.25, 1e-12);
}

TEST(AlignWithPart, LeftwardPolylineIsTurnedToReadLeftToRight) {
  const std::vector<shape_point> part = {{10, 0, 0}, {5, 1, 0}, {0, 2, 0}};
  const AlignedAnchor a = align_with_part(part, {0, 0, 10, 2});
  EXPECT_TRUE(a.on_part);
  EXPECT_NEAR(a.rotation, std::atan2(1.0, -5.0) - kPi, 1e-12);
  EXPECT_NEAR(a.point.x, 5.0, 1e-12);
  EXPECT_NEAR(a.point.y, 1.0, 1e-12);
}

TEST(AlignWithPart, WithoutACrossingTheChordIsUsed) {
  // The part crosses the chord's bisector only at (-23.75,50); the stated box reaches the
  // bisector 2 x 2 to either side of the chord's midpoint (1,0.5), far short of that.
  const std::vector<shape_point> part = {{0, 0, 0}, {-30, 50, 0}, {20, 50, 0}, {2, 1, 0}};
  const AlignedAnchor a = align_with_part(part, {0, 0, 2, 1});
  EXPECT_FALSE(a.on_part);
  EXPECT_DOUBLE_EQ(a.point.x, 1.0);
  EXPECT_DOUBLE_EQ(a.point.y, 0.5);
  EXPECT_DOUBLE_EQ(a.rotation, std::atan2(1.0, 2.0));
  // With the part's real box the crossing is reached.
  const AlignedAnchor reached = align_with_part(part, {-30, 0, 20, 50});
  EXPECT_TRUE(reached.on_part);
  EXPECT_NEAR(reached.point.x, -23.75, 1e-9);
  EXPECT_NEAR(reached.point.y, 50.0, 1e-9);
  EXPECT_DOUBLE_EQ(reached.rotation, 0.0);

  // A single point is its own chord.
  const std::vector<shape_point> one = {{4, 4, 0}};
  const AlignedAnchor b = align_with_part(one, {4, 4, 4, 4});
  EXPECT_FALSE(b.on_part);
  EXPECT_DOUBLE_EQ(b.point.x, 4.0);
  EXPECT_DOUBLE_EQ(b.rotation, 0.0);
}

TEST(AlignWithPart, FirstCrossingSegmentWinsOverLaterOnes) {
  // The chord (0,0)-(10,0) is bisected by x = 5; the part crosses it on its first segment, and
  // twice more further on.
  const std::vector<shape_point> part = {{0, 0, 0}, {6, 4, 0}, {6, -6, 0}, {4, -6, 0},
                                         {4, 0, 0},  {10, 0, 0}};
  const AlignedAnchor a = align_with_part(part, {0, -6, 10, 4});
  EXPECT_TRUE(a.on_part);
  EXPECT_NEAR(a.point.x, 5.0, 1e-12);
  EXPECT_NEAR(a.point.y, 5.0 * 4.0 / 6.0, 1e-12);
  EXPECT_NEAR(a.rotation, std::atan2(4.0, 6.0), 1e-12);
}

}  // namespace
}  // namespace tsn
