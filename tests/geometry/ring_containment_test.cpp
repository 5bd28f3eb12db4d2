// Whether a ring lies wholly inside another, at map scale and at small scale, and the box grid
// that finds the rings around a ring.
#include "geometry/ring_containment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "geometry/box_grid.h"

namespace tsn {
namespace {

using Ring = std::vector<shape_point>;

// The ring moved by (dx, dy) and scaled by s about the origin.
Ring placed(const Ring& r, double s, double dx, double dy) {
  Ring out;
  for (const shape_point& p : r) out.push_back({p.x * s + dx, p.y * s + dy, 0.0});
  return out;
}

TEST(RingWithin, WhollyInsideTouchingAllowedCrossingNot) {
  struct Case {
    const char* what;
    Ring outer, inner;
    bool within;
  };
  // A clockwise U, its notch from x 4 to 6 down to y 3.
  const Ring u = {{0, 0}, {0, 10}, {4, 10}, {4, 3}, {6, 3}, {6, 10}, {10, 10}, {10, 0}, {0, 0}};
  const Ring square = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
  const std::vector<Case> cases = {
      {"well inside", square, {{2, 2}, {3, 2}, {3, 3}, {2, 2}}, true},
      {"corners in both arms, middle over the notch", u, {{3, 5}, {3, 6}, {7, 6}, {7, 5}, {3, 5}},
       false},
      {"along the notch's bottom edge", u, {{4, 3}, {6, 3}, {5, 2}, {4, 3}}, true},
      {"a corner on the notch's edge, the rest inside", u, {{4, 5}, {2, 4}, {2, 6}, {4, 5}}, true},
      {"a corner on the edge, crossing out there", u, {{4, 5}, {5, 6}, {2, 6}, {4, 5}}, false},
      {"the same ring", square, square, true},
      {"one point inside", square, {{5, 5}}, true},
      {"crossing by a hair", square,
       {{9.999999, 2}, {9.999999, 8}, {20, 8}, {20, 2}, {9.999999, 2}}, false},
      {"outside, in the notch", u, {{4.5, 5}, {5.5, 5}, {5, 6}, {4.5, 5}}, false},
  };
  for (const Case& c : cases) {
    // At unit scale, at the scale of map coordinates in metres and at a small scale.
    for (const auto& [s, dx, dy] : {std::tuple{1.0, 0.0, 0.0}, std::tuple{1.0, 4.5e5, 5.1e6},
                                    std::tuple{1e-4, -70.8, 42.7}}) {
      SCOPED_TRACE(testing::Message() << c.what << " at scale " << s << " offset " << dx);
      RingEdges edges;
      edges.build(placed(c.outer, s, dx, dy), -1);
      EXPECT_EQ(ring_within(placed(c.inner, s, dx, dy), edges), c.within);
    }
  }
}

TEST(RingWithin, PointsInsideFollowTheRingsDirection) {
  // A counter-clockwise square: inside is where its crossings count agrees with its direction.
  const Ring ccw = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
  RingEdges edges;
  edges.build(ccw, 1);
  EXPECT_EQ(edges.locate({5, 5}), RingPlace::inside);
  EXPECT_EQ(edges.locate({15, 5}), RingPlace::outside);
  EXPECT_EQ(edges.locate({10, 5}), RingPlace::on_edge);
  EXPECT_EQ(edges.locate({0, 10}), RingPlace::on_edge);
  // Through a vertex at the ray's height: counted once where the ring crosses.
  const Ring diamond = {{0, 5}, {5, 10}, {10, 5}, {5, 0}, {0, 5}};
  edges.build(diamond, -1);
  EXPECT_EQ(edges.locate({-1, 5}), RingPlace::outside);
  EXPECT_EQ(edges.locate({1, 5}), RingPlace::inside);
}

TEST(BoxGrid, FindsExactlyTheBoxesHoldingABox) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> at(0.0, 1000.0), size(0.0, 1.0);
  std::vector<shape_box> boxes;
  for (int i = 0; i < 3000; ++i) {
    // Mostly small boxes, some large ones, and some repeated exactly.
    const double x = at(random), y = at(random);
    const double w = i % 100 == 0 ? 900.0 * size(random) : 20.0 * size(random);
    const double h = i % 100 == 0 ? 900.0 * size(random) : 20.0 * size(random);
    boxes.push_back({x, y, x + w, y + h});
    if (i % 250 == 0) boxes.push_back(boxes.back());
  }
  boxes.push_back({0.0, 0.0, 1e300 * 1e300, 5.0});  // not finite: holds nothing
  BoxGrid grid;
  grid.build(boxes);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    std::vector<std::int32_t> found, want;
    grid.visit_holding(boxes[i], [&](std::int32_t j) { found.push_back(j); });
    for (std::size_t j = 0; j < boxes.size(); ++j) {
      const shape_box& o = boxes[j];
      const shape_box& b = boxes[i];
      if (std::isfinite(o.xmax) && o.xmin <= b.xmin && o.ymin <= b.ymin && b.xmax <= o.xmax &&
          b.ymax <= o.ymax) {
        want.push_back(static_cast<std::int32_t>(j));
      }
    }
    ASSERT_EQ(found, want) << "box " << i;
  }
}

}  // namespace
}  // namespace tsn
