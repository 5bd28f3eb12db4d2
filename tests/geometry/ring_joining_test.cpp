// Joining holes into the fill outline: entry counts and where bridges run, holes meeting the
// outline at a vertex, holes that cannot be bridged, hostile rings; every join is checked for
// its area (outer minus holes) and for a walk that never crosses itself.
#include "geometry/ring_joining.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

#include "geometry/segment_crossing.h"

namespace tsn {
namespace {

using Ring = std::vector<PlanePoint>;

struct Shape {
  std::vector<shape_point> pool;
  PoolRing outer;
  std::vector<JoinHole> holes;
  std::vector<PoolRing> hole_rings;
};

double ring_area(const Ring& r) {  // negative for a clockwise ring
  double twice = 0.0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const PlanePoint& a = r[i];
    const PlanePoint& b = r[(i + 1) % r.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice / 2.0;
}

PoolRing add_ring(std::vector<shape_point>& pool, const Ring& r, bool closed) {
  closed = closed && !r.empty();
  const PoolRing ring{static_cast<std::int32_t>(pool.size()),
                      static_cast<std::int32_t>(r.size() + (closed ? 1 : 0))};
  for (const PlanePoint& p : r) pool.push_back({p.x, p.y, 0.0});
  if (closed) pool.push_back({r.front().x, r.front().y, 0.0});
  return ring;
}

// Rings are given without their closing point; the pool gets it unless `closed` is false.
Shape make_shape(const Ring& outer, const std::vector<Ring>& holes, bool closed = true) {
  Shape s;
  s.outer = add_ring(s.pool, outer, closed);
  for (const Ring& h : holes) {
    s.hole_rings.push_back(add_ring(s.pool, h, closed));
    s.holes.push_back({s.hole_rings.back(), ring_area(h) > 0 ? 1 : -1});
  }
  return s;
}

JoinedOutline join(const Shape& s) { return create_single_poly(s.pool, s.outer, s.holes); }

double expected_area(const Ring& outer, const std::vector<Ring>& holes) {
  double area = ring_area(outer);
  for (const Ring& h : holes) area += std::fabs(ring_area(h));
  return area;
}

PlanePoint at(const Shape& s, std::int32_t index) {
  const shape_point& p = s.pool[static_cast<std::size_t>(index)];
  return {p.x, p.y};
}

double outline_area(const Shape& s, const std::vector<std::int32_t>& outline) {
  Ring r;
  for (std::size_t i = 0; i + 1 < outline.size(); ++i) r.push_back(at(s, outline[i]));
  return ring_area(r);
}

bool same(PlanePoint a, PlanePoint b) { return a.x == b.x && a.y == b.y; }

double wrap(double a) {
  a = std::fmod(a, 2 * std::numbers::pi);
  return a < 0 ? a + 2 * std::numbers::pi : a;
}

// The walk may meet itself only where its edges share an end (a bridge walked back, or a
// place passed twice), never anywhere else; and at a place it passes twice, the two passes may
// touch but not cross: the two directions of one pass may not separate those of the other.
void expect_never_crosses(const Shape& s, const std::vector<std::int32_t>& outline) {
  ASSERT_GE(outline.size(), 4u);
  ASSERT_EQ(outline.front(), outline.back());
  const std::size_t edges = outline.size() - 1;
  for (std::size_t i = 0; i < edges; ++i) {
    const PlanePoint a = at(s, outline[i]), b = at(s, outline[i + 1]);
    for (std::size_t j = i + 1; j < edges; ++j) {
      const PlanePoint c = at(s, outline[j]), d = at(s, outline[j + 1]);
      if ((same(a, c) && same(b, d)) || (same(a, d) && same(b, c))) continue;  // a bridge
      const bool shared = same(a, c) || same(a, d) || same(b, c) || same(b, d);
      if (!shared) {
        ASSERT_FALSE(segments_cross(a, b, c, d)) << "edges " << i << " and " << j;
        continue;
      }
      const PlanePoint m = same(a, c) || same(a, d) ? a : b;  // the shared end
      const PlanePoint x = same(m, a) ? b : a, y = same(m, c) ? d : c;
      const double cross = (x.x - m.x) * (y.y - m.y) - (x.y - m.y) * (y.x - m.x);
      const double dot = (x.x - m.x) * (y.x - m.x) + (x.y - m.y) * (y.y - m.y);
      ASSERT_FALSE(cross == 0.0 && dot > 0.0) << "edges " << i << " and " << j << " overlap";
    }
  }
  std::map<std::pair<double, double>, std::vector<std::pair<double, double>>> passes;
  for (std::size_t i = 0; i < edges; ++i) {
    const PlanePoint v = at(s, outline[i]);
    const PlanePoint p = at(s, outline[i > 0 ? i - 1 : edges - 1]), n = at(s, outline[i + 1]);
    passes[{v.x, v.y}].emplace_back(std::atan2(p.y - v.y, p.x - v.x),
                                    std::atan2(n.y - v.y, n.x - v.x));
  }
  for (const auto& [place, list] : passes) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      for (std::size_t j = i + 1; j < list.size(); ++j) {
        const auto [p1, n1] = list[i];
        const auto [p2, n2] = list[j];
        if (p1 == p2 || p1 == n2 || n1 == p2 || n1 == n2) continue;  // they run together
        const double width = wrap(n1 - p1);
        const bool in2 = wrap(p2 - p1) < width, out2 = wrap(n2 - p1) < width;
        EXPECT_EQ(in2, out2) << "the walk crosses itself at " << place.first << ","
                             << place.second;
      }
    }
  }
}

void expect_sound_join(const Shape& s, const JoinedOutline& j, const Ring& outer,
                       const std::vector<Ring>& holes) {
  ASSERT_EQ(j.result, kJoinDone) << j.message;
  EXPECT_NEAR(outline_area(s, j.outline), expected_area(outer, holes), 1e-6);
  expect_never_crosses(s, j.outline);
}

std::size_t position_of(const std::vector<std::int32_t>& outline, std::int32_t index) {
  return static_cast<std::size_t>(std::find(outline.begin(), outline.end(), index) -
                                  outline.begin());
}

const Ring kSquare10 = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};  // clockwise

TEST(RingJoinBridge, OneHoleAddsTheHoleAndTwoEntries) {
  const std::vector<Ring> holes = {{{4, 4}, {6, 4}, {6, 6}, {4, 6}}};
  const Shape s = make_shape(kSquare10, holes);
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, kSquare10, holes);
  EXPECT_EQ(j.outline.size() - 1, 4u + 4u + 2u);
  EXPECT_TRUE(j.trace.empty());
  // The bridge runs from the hole's leftmost vertex (its first, (4,4)) to a vertex at or left
  // of it, and both ends are walked twice.
  const std::int32_t anchor = s.hole_rings[0].first;
  EXPECT_EQ(std::count(j.outline.begin(), j.outline.end(), anchor), 2);
  const std::size_t p = position_of(j.outline, anchor);
  ASSERT_GT(p, 0u);
  const std::int32_t end = j.outline[p - 1];
  EXPECT_LE(at(s, end).x, 4.0);
  EXPECT_EQ(std::count(j.outline.begin(), j.outline.end() - 1, end), 2);
}

TEST(RingJoinBridge, HolesAreJoinedFromLeftToRight) {
  // The right hole comes first in the table, but the left one is joined first, so the right
  // one's bridge can end on it.
  const Ring right = {{6, 4}, {8, 4}, {8, 6}, {6, 6}};
  const Ring left = {{2, 4}, {4, 4}, {4, 6}, {2, 6}};
  const Shape s = make_shape(kSquare10, {right, left});
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, kSquare10, {right, left});
  EXPECT_EQ(j.outline.size() - 1, 4u + 8u + 4u);
  const std::size_t p = position_of(j.outline, s.hole_rings[0].first);  // (6,4)
  ASSERT_GT(p, 0u);
  const std::int32_t end = j.outline[p - 1];
  EXPECT_GE(end, s.hole_rings[1].first);
  EXPECT_LT(end, s.hole_rings[1].first + s.hole_rings[1].count);
}

TEST(RingJoinBridge, SecondBridgeToOneVertexTakesThePassThatHoldsIt) {
  // Hole b's nearest visible vertex is hole a's anchor, which the outline already passes
  // twice; only the pass on the upper side of a's bridge can take b without crossing.
  const Ring outer = {{0, 10}, {20, 20}, {20, 0}};
  const Ring a = {{4, 9}, {18, 2}, {18, 6}};
  const Ring b = {{5, 11}, {6, 11}, {6, 12}, {5, 12}};
  const Shape s = make_shape(outer, {a, b});
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, outer, {a, b});
  EXPECT_EQ(std::count(j.outline.begin(), j.outline.end(), s.hole_rings[0].first), 3);
}

TEST(RingJoinBridge, TheClosingEdgeBlocksToo) {
  // The nearest vertex (4,4.5) lies behind the edge that closes the outline, from (6,3) back
  // to the first vertex (0,9); no other edge stands between.
  const Ring outer = {{0, 9}, {0, 10}, {10, 10}, {10, 0}, {8, 0}, {4, 4.5}, {6, 3}};
  const std::vector<Ring> holes = {{{5, 5}, {6, 5}, {6, 6}, {5, 6}}};
  const Shape s = make_shape(outer, holes);
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, outer, holes);
}

TEST(RingJoinBridge, ManyHolesInAnyTableOrder) {
  const Ring outer = {{0, 0}, {0, 60}, {60, 60}, {60, 0}};
  std::vector<Ring> holes;
  for (int i = 0; i < 6; ++i) {
    for (int k = 0; k < 6; ++k) {
      const double x = 2 + 10 * ((i * 7 + k) % 6), y = 2 + 10 * k;
      switch ((i + k) % 3) {
        case 0: holes.push_back({{x, y}, {x + 5, y}, {x + 5, y + 5}, {x, y + 5}}); break;
        case 1: holes.push_back({{x, y + 1}, {x + 6, y}, {x + 3, y + 6}}); break;
        default:  // an L, with a notch that hides part of it
          holes.push_back({{x, y}, {x + 6, y}, {x + 6, y + 2}, {x + 2, y + 2}, {x + 2, y + 6},
                           {x, y + 6}});
      }
    }
  }
  const Shape s = make_shape(outer, holes);
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, outer, holes);
  std::size_t vertices = 4;
  for (const Ring& h : holes) vertices += h.size() + 2;
  EXPECT_EQ(j.outline.size() - 1, vertices);
}

TEST(RingJoinBridge, ClockwiseHoleIsWalkedTheOtherWay) {
  const std::vector<Ring> holes = {{{4, 4}, {4, 6}, {6, 6}, {6, 4}}};
  const Shape s = make_shape(kSquare10, holes);
  ASSERT_EQ(s.holes[0].orientation, -1);
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, kSquare10, holes);
  EXPECT_EQ(j.trace, std::vector<std::string>{"SHOULD NEVER GET HERE"});
}

TEST(RingJoinShared, HoleTouchingTheOuterRingIsSplicedWithoutBridge) {
  const Ring outer = {{0, 0}, {0, 5}, {0, 10}, {10, 10}, {10, 0}};
  for (const double off : {0.0, 1e-12}) {  // the same place, or within the tolerance
    const std::vector<Ring> holes = {{{off, 5}, {3, 4}, {3, 6}}};
    const Shape s = make_shape(outer, holes);
    const JoinedOutline j = join(s);
    ASSERT_EQ(j.result, kJoinDone);
    EXPECT_NEAR(outline_area(s, j.outline), expected_area(outer, holes), 1e-9);
    if (off == 0.0) expect_never_crosses(s, j.outline);
    EXPECT_EQ(j.outline.size() - 1, 5u + 3u);
    // Every vertex once: no bridge.
    std::vector<std::int32_t> sorted(j.outline.begin(), j.outline.end() - 1);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  }
}

TEST(RingJoinShared, HoleTouchingTheOutlineTwiceIsStillCutOut) {
  // A diamond from side to side splits the square into two halves that meet at its tips.
  const Ring outer = {{0, 0}, {0, 5}, {0, 10}, {10, 10}, {10, 5}, {10, 0}};
  const std::vector<Ring> holes = {{{0, 5}, {5, 3}, {10, 5}, {5, 7}}};
  const Shape s = make_shape(outer, holes);
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, outer, holes);
  EXPECT_EQ(j.outline.size() - 1, 6u + 4u);
}

TEST(RingJoinShared, BridgeToAPlaceTouchedByAHoleTakesThePassThatHoldsIt) {
  // The triangle (smaller X) is spliced in at (0,5) first; the square's bridge then ends at
  // (0,5), which the outline now passes twice, and only the upper pass holds it.
  const Ring outer = {{0, 0}, {0, 5}, {0, 10}, {10, 10}, {10, 0}};
  const Ring first = {{3, 6}, {5, 6}, {5, 8}, {3, 8}};
  const Ring touching = {{0, 5}, {4, 1}, {4, 3}};
  const Shape s = make_shape(outer, {first, touching});
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, outer, {first, touching});
}

TEST(RingJoinShared, HoleTouchingABridgeEndTakesThePassThatHoldsIt) {
  // Both holes start at (4,9); the first is bridged from there, so the outline passes (4,9)
  // twice, and the second touches it from above, inside the second pass.
  const Ring outer = {{0, 10}, {20, 20}, {20, 0}};
  const Ring a = {{4, 9}, {18, 2}, {18, 6}};
  const Ring c = {{4, 9}, {10, 12}, {9, 13}};
  const Shape s = make_shape(outer, {a, c});
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, outer, {a, c});
  EXPECT_EQ(j.outline.size() - 1, 3u + 5u + 3u);
}

TEST(RingJoinFailure, HoleThatCannotBeBridgedFailsTheJoin) {
  const JoinedOutline pokes_out = join(make_shape(kSquare10, {{{-2, 4}, {3, 4}, {3, 6}, {-2, 6}}}));
  // A hole walled in by two earlier (overlapping, so broken) holes sees no vertex at all.
  const Ring tri = {{1, 1}, {9, 5}, {1, 9}};
  const Ring bar = {{2, 0.5}, {3, 0.5}, {3, 9.5}, {2, 9.5}};
  const Ring sealed = {{5, 4.5}, {6, 4.5}, {6, 5.5}, {5, 5.5}};
  const JoinedOutline walled_in = join(make_shape(kSquare10, {sealed, bar, tri}));
  for (const JoinedOutline& j : {pokes_out, walled_in}) {
    EXPECT_EQ(j.result, kJoinFailed);
    EXPECT_EQ(j.message, "Could not create single polygon for part. Colour fill for part ignored");
    EXPECT_EQ(j.trace, std::vector<std::string>{"Error in create_single_poly"});
    EXPECT_TRUE(j.outline.empty());
  }
}

TEST(RingJoinDegenerate, RingsWithoutAreaAndUnclosedRings) {
  EXPECT_TRUE(join(make_shape({}, {})).outline.empty());
  // An outer ring of two points is returned as it is; the hole has nothing to cut.
  const Shape line = make_shape({{0, 0}, {5, 5}}, {{{1, 1}, {2, 1}, {2, 2}}});
  EXPECT_EQ(join(line).outline, (std::vector<std::int32_t>{0, 1, 0}));
  // Holes of no area are left out.
  const Shape s = make_shape(kSquare10, {{}, {{3, 3}}, {{3, 3}, {4, 4}}, {{5, 5}, {5, 5}, {5, 5}}});
  const JoinedOutline j = join(s);
  ASSERT_EQ(j.result, kJoinDone);
  EXPECT_EQ(j.outline, (std::vector<std::int32_t>{0, 1, 2, 3, 0}));
  // Rings without their closing point give the same walk.
  const std::vector<Ring> holes = {{{4, 4}, {6, 4}, {6, 6}, {4, 6}}, {{7, 2}, {8, 2}, {8, 3}}};
  const Shape closed = make_shape(kSquare10, holes);
  const Shape open = make_shape(kSquare10, holes, false);
  const JoinedOutline a = join(closed), b = join(open);
  ASSERT_EQ(a.outline.size(), b.outline.size());
  for (std::size_t i = 0; i < a.outline.size(); ++i) {
    EXPECT_TRUE(same(at(closed, a.outline[i]), at(open, b.outline[i]))) << i;
  }
}

TEST(RingJoinDegenerate, RepeatedPointsAreWalkedOnce) {
  const Ring outer = {{0, 0}, {0, 0}, {0, 10}, {10, 10}, {10, 10}, {10, 0}};
  const std::vector<Ring> holes = {{{4, 4}, {4, 4}, {6, 4}, {6, 6}, {6, 6}, {4, 6}}};
  const Shape s = make_shape(outer, holes);
  const JoinedOutline j = join(s);
  expect_sound_join(s, j, outer, holes);
  EXPECT_EQ(j.outline.size() - 1, 4u + 4u + 2u);
}

TEST(RingJoinDegenerate, BridgeNeverRunsAlongOrThroughTheHoleItself) {
  // The nearest outline vertex lies straight above the hole's leftmost vertex (4,6): a bridge
  // up would run along the hole's left side, or through its corner (4,10) where the side is
  // dented, so another vertex is taken.
  const Ring outer = {{-20, -20}, {-20, 14}, {4, 14}, {10, 14}, {10, -20}};
  const std::vector<Ring> along = {{{4, 6}, {6, 6}, {6, 10}, {4, 10}}};
  const Shape s = make_shape(outer, along);
  expect_sound_join(s, join(s), outer, along);
  const std::vector<Ring> dented = {{{4, 6}, {6, 6}, {6, 10}, {4, 10}, {4.5, 8}}};
  const Shape t = make_shape(outer, dented);
  expect_sound_join(t, join(t), outer, dented);
  // A spike of the outer ring reaching the middle of the hole's left side: a bridge to its tip
  // would lie on that side.
  const Ring spiked = {{-20, -20}, {-20, 5.9}, {4, 8}, {-20, 6.1}, {-20, 14}, {10, 14}, {10, -20}};
  const Shape u = make_shape(spiked, along);
  const JoinedOutline j = join(u);
  ASSERT_EQ(j.result, kJoinDone);
  EXPECT_NEAR(outline_area(u, j.outline), expected_area(spiked, along), 1e-9);
  const std::size_t p = position_of(j.outline, u.hole_rings[0].first);
  ASSERT_GT(p, 0u);
  EXPECT_NE(j.outline[p - 1], u.outer.first + 2);
}

TEST(RingJoinDegenerate, BadCoordinatesAndRangesFailCleanly) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  constexpr double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(join(make_shape(kSquare10, {{{4, 4}, {6, nan}, {6, 6}}})).result, kJoinFailed);
  EXPECT_EQ(join(make_shape({{0, 0}, {0, 10}, {inf, 10}}, {})).result, kJoinFailed);
  Shape s = make_shape(kSquare10, {{{4, 4}, {6, 4}, {6, 6}}});
  for (const PoolRing bad : {PoolRing{-1, 3}, PoolRing{0, -1}, PoolRing{5, 100},
                             PoolRing{std::numeric_limits<std::int32_t>::max(), 2}}) {
    Shape t = s;
    t.holes[0].ring = bad;
    EXPECT_EQ(join(t).result, kJoinFailed);
    t = s;
    t.outer = bad;
    EXPECT_EQ(join(t).result, kJoinFailed);
  }
}

TEST(RingJoinScale, LongRingsAndThousandsOfHolesStayFast) {
  const auto start = std::chrono::steady_clock::now();
  // A 10,000-vertex circle (clockwise) holding a grid of 2,000 small triangles.
  Ring circle;
  for (int i = 0; i < 10000; ++i) {
    const double t = -2 * std::numbers::pi * i / 10000;
    circle.push_back({500 * std::cos(t), 500 * std::sin(t)});
  }
  std::vector<Ring> holes;
  for (int i = 0; i < 50; ++i) {
    for (int k = 0; k < 40; ++k) {
      const double x = -300 + 12 * i, y = -240 + 12 * k;
      holes.push_back({{x, y}, {x + 5, y + 1}, {x + 2, y + 6}});
    }
  }
  const Shape s = make_shape(circle, holes);
  const JoinedOutline j = join(s);
  ASSERT_EQ(j.result, kJoinDone);
  EXPECT_NEAR(outline_area(s, j.outline), expected_area(circle, holes), 1e-3);
  EXPECT_EQ(j.outline.size() - 1, 10000u + 2000u * 5u);

  // A comb of 5,000 teeth behind a wall: thousands of near vertices that the last hole cannot
  // see before it reaches one it can.
  Ring comb = {{30, 40}, {32, 40}, {32, 60}};
  for (int i = 0; i < 5000; ++i) comb.push_back({i % 2 == 0 ? 30.0 : 31.0, 60 - 0.004 * i});
  const Ring wall = {{40, 1}, {41, 1}, {41, 99}, {40, 99}};
  const Ring last = {{50, 49}, {51, 49}, {51, 51}, {50, 51}};
  const Ring box = {{0, 0}, {0, 100}, {100, 100}, {100, 0}};
  const Shape t = make_shape(box, {last, wall, comb});
  const JoinedOutline k = join(t);
  expect_sound_join(t, k, box, {last, wall, comb});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
}  // namespace tsn
