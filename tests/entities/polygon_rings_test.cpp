// Ring geometry: turning direction, nesting of holes and islands, and the loop-order check.
#include "entities/polygon_rings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "entities_test_support.h"
#include "support/recording_host.h"

namespace tsn {
namespace {

using test::make_record;

// A closed square ring from (x0, y0) to (x1, y1), clockwise unless asked otherwise.
std::vector<shape_point> square(double x0, double y0, double x1, double y1, bool clockwise = true) {
  if (clockwise) return {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}};
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
}

TEST(RingOrientation, ClockwiseIsMinusOneCounterClockwiseIsOne) {
  const shape_rec cw = make_record({square(0, 0, 10, 10, true)});
  const shape_rec ccw = make_record({square(0, 0, 10, 10, false)});
  EXPECT_EQ(ring_orientation(cw, 0), -1);
  EXPECT_EQ(ring_orientation(ccw, 0), 1);
  // A triangle whose leftmost vertex is in the middle of its list.
  const shape_rec tri = make_record({{{5, 0}, {0, 5}, {5, 10}, {5, 0}}});
  EXPECT_EQ(ring_orientation(tri, 0), -1);
}

TEST(RingOrientation, RepeatedLeftmostPointsArePassedOverOnlyAPointRingWarns) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  // The leftmost vertex repeated, before and after: the ring still runs clockwise.
  const shape_rec cw = make_record({{{0, 0}, {0, 0}, {5, 5}, {5, 0}, {0, 0}}});
  EXPECT_EQ(ring_orientation(cw, 0), -1);
  const shape_rec ccw = make_record({{{0, 0}, {5, 0}, {5, 5}, {0, 0}, {0, 0}, {0, 0}}});
  EXPECT_EQ(ring_orientation(ccw, 0), 1);
  EXPECT_EQ(host.status_text(), "");
  // A ring that is one point over and over has no direction.
  const shape_rec point = make_record({{{2, 2}, {2, 2}, {2, 2}, {2, 2}}});
  EXPECT_EQ(ring_orientation(point, 0), 1);
  EXPECT_NE(host.status_text().find("Warning: Unexpected internal software error occured (13)"),
            std::string::npos);
}

TEST(NestRings, IslandsInHolesMakeThreeLevels) {
  // A: outer 0..100; B: hole in A 10..90; C: island in B 20..80; D: another outer 200..300;
  // E: hole in D. Listed out of order on purpose.
  const shape_rec rec = make_record({
      square(20, 20, 80, 80, true),                // C
      square(200, 0, 300, 100, true),              // D
      square(0, 0, 100, 100, true),                // A
      square(10, 10, 90, 90, false),               // B
      square(210, 10, 290, 90, false),             // E
  });
  std::vector<RingInfo> rings;
  EXPECT_EQ(nest_rings(rec, rings), 3);
  ASSERT_EQ(rings.size(), 5u);
  EXPECT_EQ(rings[2].depth, 0);  // A
  EXPECT_EQ(rings[2].parent, 2);
  EXPECT_EQ(rings[1].depth, 0);  // D
  EXPECT_EQ(rings[1].parent, 1);
  EXPECT_EQ(rings[3].depth, 1);  // B in A
  EXPECT_EQ(rings[3].parent, 2);
  EXPECT_EQ(rings[4].depth, 1);  // E in D
  EXPECT_EQ(rings[4].parent, 1);
  EXPECT_EQ(rings[0].depth, 2);  // C in B
  EXPECT_EQ(rings[0].parent, 3);
}

TEST(NestRings, BoxesInsideButRingsApartAndSharedVertices) {
  // An L-shaped outer ring whose box holds a small square lying in the notch, outside it.
  const shape_rec notch = make_record({
      {{0, 0}, {0, 100}, {40, 100}, {40, 40}, {100, 40}, {100, 0}, {0, 0}},
      square(60, 60, 90, 90),
  });
  std::vector<RingInfo> rings;
  EXPECT_EQ(nest_rings(notch, rings), 1);
  EXPECT_EQ(rings[1].depth, 0);
  // A ring made only of the other's vertices counts as inside it.
  const shape_rec same = make_record({square(0, 0, 10, 10), {{0, 0}, {0, 10}, {10, 10}, {0, 0}}});
  EXPECT_EQ(nest_rings(same, rings), 2);
  EXPECT_EQ(rings[0].depth, 0);
  EXPECT_EQ(rings[1].depth, 1);
  // One ring: depth 0, one level.
  EXPECT_EQ(nest_rings(make_record({square(0, 0, 1, 1)}), rings), 1);
  EXPECT_EQ(rings[0].parent, 0);
}

// A ring is inside another only when no part of it lies outside: boxes and corners inside are
// not enough, touching is allowed, and the parent is the smallest ring around it.
TEST(NestRings, OnlyRingsWhollyInsideAnotherAreItsHoles) {
  struct Case {
    const char* what;
    std::vector<std::vector<shape_point>> rings;
    std::vector<int> depth;
    std::vector<int> parent;
  };
  // A clockwise U with its notch from x 4 to 6 open at the top, down to y 3.
  const std::vector<shape_point> u = {{0, 0},  {0, 10}, {4, 10}, {4, 3}, {6, 3},
                                      {6, 10}, {10, 10}, {10, 0}, {0, 0}};
  const std::vector<Case> cases = {
      {"a bar across the notch with its corners in the arms", {u, square(3, 5, 7, 6)}, {0, 0},
       {0, 1}},
      {"a bar in one arm", {u, square(1, 5, 3, 6)}, {0, 1}, {0, 0}},
      {"a hole touching the ring at a corner", {square(0, 0, 10, 10), square(0, 0, 4, 4, false)},
       {0, 1}, {0, 0}},
      {"a hole touching the ring's edge at a corner of its own",
       {square(0, 0, 10, 10), {{0, 5}, {5, 8}, {5, 2}, {0, 5}}}, {0, 1}, {0, 0}},
      {"a hole running along the ring's diagonal edge",
       {{{0, 0}, {0, 1}, {1, 1}, {0, 0}}, {{0.25, 0.25}, {0.75, 0.75}, {0.25, 0.75}, {0.25, 0.25}}},
       {0, 1}, {0, 0}},
      {"two rings overlapping by a hair",
       {square(0, 0, 10, 10), square(9.999999, 2, 20, 8), square(-5, 2, 0.000001, 8)},
       {0, 0, 0}, {0, 1, 2}},
      {"a ring crossing its hole's hole",
       {square(0, 0, 100, 100), square(10, 10, 50, 50, false), square(40, 20, 60, 30)},
       {0, 1, 1}, {0, 0, 0}},
      {"concentric rings listed inside out",
       {square(3, 3, 7, 7), square(2, 2, 8, 8, false), square(0, 0, 10, 10),
        square(1, 1, 9, 9, false)},
       {3, 2, 0, 1}, {1, 3, 2, 2}},
      {"the same ring twice: the first holds the second",
       {square(0, 0, 10, 10), square(0, 0, 10, 10)}, {0, 1}, {0, 0}},
      {"a ring outside its neighbour's box", {square(0, 0, 10, 10), square(20, 0, 30, 10)},
       {0, 0}, {0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<RingInfo> rings;
    const shape_rec rec = make_record(c.rings);
    const int levels = nest_rings(rec, rings);
    ASSERT_EQ(rings.size(), c.rings.size());
    std::vector<int> depth, parent;
    for (const RingInfo& r : rings) {
      depth.push_back(r.depth);
      parent.push_back(r.parent);
    }
    EXPECT_EQ(depth, c.depth);
    EXPECT_EQ(parent, c.parent);
    EXPECT_EQ(levels, *std::max_element(c.depth.begin(), c.depth.end()) + 1);
  }
}

TEST(NestRings, ChildrenAreLinkedInPartOrderAndFillOrderIsByDepth) {
  // Two outer rings, the second with two holes listed out of order, and an island.
  const shape_rec rec = make_record({
      square(12, 2, 14, 4, false),    // 0: hole of 3
      square(0, 0, 10, 10),           // 1: outer
      square(16, 2, 18, 4, false),    // 2: hole of 3
      square(11, 0, 30, 10),          // 3: outer
      square(16.5, 2.5, 17.5, 3.5),   // 4: island in 2
  });
  std::vector<RingInfo> rings;
  const int levels = nest_rings(rec, rings);
  ASSERT_EQ(levels, 3);
  std::vector<int> children;
  for_each_child(rings, 3, [&](std::int32_t h) { children.push_back(h); });
  EXPECT_EQ(children, (std::vector<int>{0, 2}));
  EXPECT_EQ(rings[1].first_child, -1);
  EXPECT_EQ(rings[2].first_child, 4);
  std::vector<std::int32_t> order;
  rings_by_depth(rings, levels, order);
  EXPECT_EQ(order, (std::vector<std::int32_t>{1, 3, 0, 2, 4}));
}

TEST(CheckRingLoops, CrossingFigureEightWarnsTouchingLoopsDoNot) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  // Two loops meeting at (1, 0) without crossing: a valid order.
  const shape_rec touching =
      make_record({{{0, 1}, {1, 0}, {2, 1}, {2, -1}, {1, 0}, {0, -1}, {0, 1}}}, false, 7);
  EXPECT_EQ(check_ring_loops(touching), 0);
  // The ring crosses itself at (1, 0): a figure eight.
  const shape_rec crossing =
      make_record({{{0, 1}, {1, 0}, {2, -1}, {2, 1}, {1, 0}, {0, -1}, {0, 1}}}, false, 8);
  EXPECT_EQ(check_ring_loops(crossing), 1);
  EXPECT_NE(host.status_text().find("WARNING: Polygon Shape 8 has invalid points order."),
            std::string::npos);
  EXPECT_EQ(host.status_text().find("Polygon Shape 7"), std::string::npos);
  // The closing point and a spike back to the same place are not self-touches.
  EXPECT_EQ(check_ring_loops(make_record({{{0, 0}, {5, 5}, {0, 0}, {5, 0}, {0, 0}}})), 0);
}

}  // namespace
}  // namespace tsn
