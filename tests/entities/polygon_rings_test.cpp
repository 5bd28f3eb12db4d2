// Ring geometry: turning direction, nesting of holes and islands, and the loop-order check.
#include "entities/polygon_rings.h"

#include <gtest/gtest.h>

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
