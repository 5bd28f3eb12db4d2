// Triangulated fill: faces of small rings and their SOLID corner order, removal of collinear
// vertices, exact cover of concave and bridged rings (area, centroids, no overlaps), planes of
// 3D rings, edge flags, chunk cutting, and rings built to break the clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "geometry/fill_chunks.h"
#include "geometry/fill_faces.h"
#include "geometry/fill_plane.h"
#include "geometry/ring_joining.h"
#include "geometry/triangulation.h"
#include "touching_holes_parcel.h"

namespace tsn {
namespace {

using Points = std::vector<PlanePoint>;
using Indices = std::vector<std::int32_t>;

// A ring as a shapefile part holds it: one pool vertex per point and a closing copy.
struct Ring {
  std::vector<shape_point> pool;
  Indices ring;
};

Ring make_ring(const Points& pts) {
  Ring r;
  for (const PlanePoint& p : pts) r.pool.push_back({p.x, p.y, 0.0});
  r.pool.push_back(r.pool.front());
  for (std::size_t i = 0; i < r.pool.size(); ++i) r.ring.push_back(static_cast<std::int32_t>(i));
  return r;
}

Points reversed(Points pts) {
  std::reverse(pts.begin(), pts.end());
  return pts;
}

struct Clipped {
  std::vector<Face> faces;
  TriangulateStep end = TriangulateStep::face;
  Plane plane = Plane::xy;
};

Clipped clip(const std::vector<shape_point>& pool, const Indices& ring,
             TriangulateOptions opt = {}) {
  Triangulation t;
  PlaneMarks tried{};
  triangulate_begin(t, pool, ring, opt, tried);
  Clipped c;
  c.plane = t.plane;
  Face f;
  while ((c.end = triangulate_next(t, f)) == TriangulateStep::face) c.faces.push_back(f);
  return c;
}

Clipped clip(const Ring& r, TriangulateOptions opt = {}) { return clip(r.pool, r.ring, opt); }

double cross(PlanePoint o, PlanePoint a, PlanePoint b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Taken about the first vertex, so that map coordinates keep their digits.
double area(const Points& poly) {
  double s = 0.0;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    s += cross(poly[0], poly[i], poly[(i + 1) % poly.size()]);
  }
  return std::fabs(s) / 2.0;
}

// Even-odd ray test, independent of the code under test.
bool inside(PlanePoint p, const Points& poly) {
  bool in = false;
  for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const PlanePoint a = poly[i], b = poly[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

using Tri = std::array<PlanePoint, 3>;

// Triangles of the faces in the (x,y) plane; a four-corner face as the two of its SOLID.
std::vector<Tri> triangles(const std::vector<shape_point>& pool, const std::vector<Face>& faces) {
  std::vector<Tri> out;
  auto pt = [&](std::int32_t i) {
    const shape_point& p = pool[static_cast<std::size_t>(i)];
    return PlanePoint{p.x, p.y};
  };
  for (const Face& f : faces) {
    const auto c = solid_corners(f);
    out.push_back({pt(c[0]), pt(c[1]), pt(c[2])});
    if (f.count == 4) out.push_back({pt(c[1]), pt(c[2]), pt(c[3])});
  }
  return out;
}

// The interiors meet: no edge direction of either triangle separates them by more than tol.
bool overlap(const Tri& a, const Tri& b, double tol) {
  for (const Tri* t : {&a, &b}) {
    for (std::size_t k = 0; k < 3; ++k) {
      const PlanePoint e1 = (*t)[k], e2 = (*t)[(k + 1) % 3];
      const double nx = e2.y - e1.y, ny = e1.x - e2.x, len = std::hypot(nx, ny);
      double amin = 1e300, amax = -1e300, bmin = 1e300, bmax = -1e300;
      for (std::size_t i = 0; i < 3; ++i) {
        const double pa = (a[i].x * nx + a[i].y * ny) / len, pb = (b[i].x * nx + b[i].y * ny) / len;
        amin = std::min(amin, pa), amax = std::max(amax, pa);
        bmin = std::min(bmin, pb), bmax = std::max(bmax, pb);
      }
      if (amax <= bmin + tol || bmax <= amin + tol) return false;
    }
  }
  return true;
}

// The triangles cover outer minus the holes exactly: same area, every centroid inside, no
// two overlapping, none degenerate.
void expect_cover(const std::vector<Tri>& tris, const Points& outer,
                  const std::vector<Points>& holes = {}) {
  double want = area(outer), got = 0.0, scale = 0.0;
  for (const Points& h : holes) want -= area(h);
  for (const PlanePoint& p : outer) scale = std::max({scale, std::fabs(p.x), std::fabs(p.y)});
  for (const Tri& t : tris) {
    const double a = std::fabs(cross(t[0], t[1], t[2])) / 2.0;
    EXPECT_GT(a, 0.0);
    got += a;
    const PlanePoint c{(t[0].x + t[1].x + t[2].x) / 3, (t[0].y + t[1].y + t[2].y) / 3};
    EXPECT_TRUE(inside(c, outer)) << c.x << "," << c.y;
    for (const Points& h : holes) EXPECT_FALSE(inside(c, h)) << c.x << "," << c.y;
  }
  EXPECT_LT(std::fabs(got - want) / want, 1e-9) << got << " vs " << want;
  int overlaps = 0;
  for (std::size_t i = 0; i < tris.size(); ++i) {
    for (std::size_t j = i + 1; j < tris.size(); ++j) {
      overlaps += overlap(tris[i], tris[j], 1e-9 * scale);
    }
  }
  EXPECT_EQ(overlaps, 0);
}

Points l_shape() { return {{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}}; }
Points u_shape() { return {{0, 0}, {5, 0}, {5, 4}, {4, 4}, {4, 1}, {1, 1}, {1, 4}, {0, 4}}; }

// k teeth of height 5 on a base of height 1, counter-clockwise.
Points comb(int k) {
  Points p{{0, 0}, {2.0 * k - 1, 0}};
  for (int i = k - 1; i >= 0; --i) {
    p.push_back({2.0 * i + 1, 5});
    p.push_back({2.0 * i, 5});
    if (i > 0) p.insert(p.end(), {{2.0 * i, 1}, {2.0 * i - 1, 1}});
  }
  return p;
}

// A simple ring round the origin with a random radius at each of n rising angles.
Points star(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> radius(0.3, 1.0);
  Points p;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * std::numbers::pi * i / n, r = 1000 * radius(rng);
    p.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return p;
}

TEST(TriangulationFaces, TriangleAndQuadrilateralGiveOneSolid) {
  const Ring tri = make_ring(reversed({{0, 0}, {4, 0}, {0, 3}}));
  const Clipped t = clip(tri);
  ASSERT_EQ(t.faces.size(), 1u);
  EXPECT_EQ(t.end, TriangulateStep::done);
  EXPECT_EQ(t.faces[0].count, 3);
  EXPECT_EQ(solid_corners(t.faces[0]), (std::array<std::int32_t, 4>{0, 1, 2, 2}));

  const Ring quad = make_ring(reversed({{0, 0}, {4, 0}, {5, 3}, {-1, 2}}));
  const Clipped q = clip(quad);
  ASSERT_EQ(q.faces.size(), 1u);
  EXPECT_EQ(q.faces[0].count, 4);
  EXPECT_EQ(solid_corners(q.faces[0]), (std::array<std::int32_t, 4>{0, 1, 3, 2}));
  EXPECT_EQ(face_corners(q.faces[0]), (std::array<std::int32_t, 4>{0, 1, 2, 3}));
  expect_cover(triangles(quad.pool, q.faces), {{0, 0}, {4, 0}, {5, 3}, {-1, 2}});
}

TEST(TriangulationFaces, ConcaveQuadrilateralIsCutNotFilledAcross) {
  // The reflex corner is the first: one SOLID 1 2 4 3 would be split along 2-4, outside.
  const Points arrow{{2, 1}, {4, 4}, {2, 0}, {0, 4}};
  const Clipped c = clip(make_ring(arrow));
  ASSERT_EQ(c.faces.size(), 2u);
  expect_cover(triangles(make_ring(arrow).pool, c.faces), arrow);
}

TEST(Triangulation, CollinearVerticesAreRemoved) {
  // A clockwise square with points halfway along every side and a repeated corner.
  const Points square{{0, 0}, {0, 1}, {0, 2}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}, {1, 0}};
  const Ring r = make_ring(square);
  const Clipped c = clip(r);
  EXPECT_EQ(c.end, TriangulateStep::done);
  EXPECT_GE(c.faces.size(), 2u);
  expect_cover(triangles(r.pool, c.faces), square);
  for (const Face& f : c.faces) {
    for (std::size_t k = 0; k < 3; ++k) {
      const shape_point& a = r.pool[static_cast<std::size_t>(f.v[k])];
      const shape_point& b = r.pool[static_cast<std::size_t>(f.v[(k + 1) % 3])];
      // A side of the square, though it spans a removed vertex, is still an edge on the ring.
      const bool side =
          (a.x == b.x && (a.x == 0 || a.x == 2)) || (a.y == b.y && (a.y == 0 || a.y == 2));
      EXPECT_EQ(f.on_ring[k], side);
    }
  }
  // Nothing but collinear points: no face, and no failure either.
  const Clipped line = clip(make_ring({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {1, 1}}));
  EXPECT_TRUE(line.faces.empty());
  EXPECT_EQ(line.end, TriangulateStep::done);
}

TEST(Triangulation, ConcaveRingsAreCoveredExactly) {
  for (const Points& shape : {l_shape(), u_shape(), comb(3), comb(40)}) {
    // Clockwise as the solid fill hands it in; counter-clockwise turned round by the face fill.
    const Ring cw = make_ring(reversed(shape));
    const Clipped a = clip(cw);
    EXPECT_EQ(a.end, TriangulateStep::done);
    expect_cover(triangles(cw.pool, a.faces), shape);

    TriangulateOptions face_fill;
    face_fill.orient = true;
    const Ring ccw = make_ring(shape);
    const Clipped b = clip(ccw, face_fill);
    EXPECT_EQ(b.end, TriangulateStep::done);
    expect_cover(triangles(ccw.pool, b.faces), shape);
  }
}

TEST(Triangulation, RandomRingsAreCoveredExactly) {
  for (int n : {12, 60, 700}) {  // below and above the size where the vertex grid takes over
    for (unsigned seed = 1; seed <= 4; ++seed) {
      const Points shape = star(n, seed * 7919u + static_cast<unsigned>(n));
      const Ring r = make_ring(reversed(shape));
      const Clipped c = clip(r);
      ASSERT_EQ(c.end, TriangulateStep::done) << n << " " << seed;
      expect_cover(triangles(r.pool, c.faces), shape);
    }
  }
}

TEST(Triangulation, BridgedOutlineLeavesTheHoleOpen) {
  // Clockwise square 0..10, hole 3..7 running counter-clockwise, bridged from (3,3) to (0,0):
  // both bridge ends appear twice under the same index.
  const std::vector<shape_point> pool{{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0, 0},
                                      {3, 3, 0}, {7, 3, 0},  {7, 7, 0},   {3, 7, 0}};
  const Indices outline{0, 4, 5, 6, 7, 4, 0, 1, 2, 3, 0};
  const Clipped c = clip(pool, outline);
  EXPECT_EQ(c.end, TriangulateStep::done);
  expect_cover(triangles(pool, c.faces), {{0, 0}, {0, 10}, {10, 10}, {10, 0}},
               {{{3, 3}, {7, 3}, {7, 7}, {3, 7}}});
}

TEST(Triangulation, HolesTouchingAStraightRunOfTheOuterRingStayOpen) {
  // Clockwise square 0..8 with a vertex in the middle of its top and bottom sides, where two
  // triangular holes touch it. The joined outline passes each touching point twice, once
  // straight on; dropping that straight vertex would let the outline run through its twin.
  const std::vector<shape_point> pool{
      {0, 0, 0}, {0, 8, 0}, {4, 8, 0}, {8, 8, 0}, {8, 0, 0}, {4, 0, 0}, {0, 0, 0},  // outer
      {4, 8, 0}, {2, 5, 0}, {6, 5, 0}, {4, 8, 0},                                // hole at top
      {4, 0, 0}, {6, 3, 0}, {2, 3, 0}, {4, 0, 0}};                               // at bottom
  const std::vector<JoinHole> holes{{{7, 4}, 1}, {{11, 4}, 1}};
  const JoinedOutline joined = create_single_poly(pool, {0, 7}, holes);
  ASSERT_EQ(joined.result, kJoinDone);
  const Clipped c = clip(pool, joined.outline);
  EXPECT_EQ(c.end, TriangulateStep::done);
  expect_cover(triangles(pool, c.faces), {{0, 0}, {0, 8}, {8, 8}, {8, 0}},
               {{{4, 8}, {2, 5}, {6, 5}}, {{4, 0}, {6, 3}, {2, 3}}});
}

TEST(Triangulation, RealParcelWithHolesTouchingItsOutlineIsCoveredExactly) {
  // Rounding makes the parcel's straight runs bend by a hair, and the outline passes the
  // touching points twice; the clipping must neither stall nor cut across a touching point.
  std::vector<shape_point> pool;
  std::vector<JoinHole> holes;
  std::vector<Points> hole_points;
  for (const Points& ring : test::kTouchingHolesParcel) {
    const PoolRing at{static_cast<std::int32_t>(pool.size()), static_cast<std::int32_t>(ring.size())};
    for (const PlanePoint& p : ring) pool.push_back({p.x, p.y, 0.0});
    if (at.first > 0) {
      holes.push_back({at, 1});
      hole_points.push_back(Points(ring.begin(), ring.end() - 1));
    }
  }
  const Points& outer = test::kTouchingHolesParcel.front();
  const JoinedOutline joined =
      create_single_poly(pool, {0, static_cast<std::int32_t>(outer.size())}, holes);
  ASSERT_EQ(joined.result, kJoinDone);
  const Clipped c = clip(pool, joined.outline);
  EXPECT_EQ(c.end, TriangulateStep::done);
  expect_cover(triangles(pool, c.faces), Points(outer.begin(), outer.end() - 1), hole_points);
}

TEST(Triangulation, LargeRingIsClippedQuickly) {
  const Points shape = star(10000, 42);
  const Ring r = make_ring(reversed(shape));
  const auto start = std::chrono::steady_clock::now();
  const Clipped c = clip(r);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(c.end, TriangulateStep::done);
  EXPECT_EQ(c.faces.size(), shape.size() - 2);
  double got = 0.0;
  for (const Tri& t : triangles(r.pool, c.faces)) got += std::fabs(cross(t[0], t[1], t[2])) / 2;
  EXPECT_LT(std::fabs(got - area(shape)) / area(shape), 1e-9);
  // Well under a second in an optimised build; the bound leaves room for sanitizers while
  // still catching a clipping that went quadratic in its vertex tests.
  EXPECT_LT(took.count(), 5.0);
}

TEST(TriangulationPlane, WallsAreTriangulatedSideOn) {
  // A wall at x = 5, whose first three points lie on one line (no normal from them).
  std::vector<shape_point> wall{{5, 0, 0}, {5, 2, 0}, {5, 4, 0}, {5, 4, 3}, {5, 1, 3},
                                {5, 1, 1}, {5, 0, 1}, {5, 0, 0}};
  const Indices ring{0, 1, 2, 3, 4, 5, 6, 7};
  TriangulateOptions three_d;
  three_d.three_d = true;
  three_d.orient = true;
  const Clipped c = clip(wall, ring, three_d);
  EXPECT_EQ(c.plane, Plane::yz);
  EXPECT_EQ(c.end, TriangulateStep::done);
  double sum = 0.0;
  for (const Face& f : c.faces) {
    const PlanePoint a = project(wall[static_cast<std::size_t>(f.v[0])], Plane::yz);
    sum += std::fabs(cross(a, project(wall[static_cast<std::size_t>(f.v[1])], Plane::yz),
                           project(wall[static_cast<std::size_t>(f.v[2])], Plane::yz))) / 2;
  }
  EXPECT_DOUBLE_EQ(sum, 4 * 1 + 3 * 2);  // a 4x1 strip under a 3x2 block
  // A wall facing y and a roof.
  const std::vector<shape_point> side{{0, 7, 0}, {4, 7, 0}, {4, 7, 2}, {0, 7, 2}};
  EXPECT_EQ(choose_plane(side, Indices{0, 1, 2, 3}), Plane::xz);
  const std::vector<shape_point> roof{{0, 0, 1}, {4, 0, 2}, {4, 3, 2}};
  EXPECT_EQ(choose_plane(roof, Indices{0, 1, 2}), Plane::xy);
}

TEST(TriangulationPlane, RetriesTakeTheNextUntriedPlane) {
  const std::vector<shape_point> wall{{5, 0, 0}, {5, 2, 0}, {5, 2, 2}, {5, 0, 2}, {5, 0, 0}};
  const Indices ring{0, 1, 2, 3, 4};
  Triangulation t;
  TriangulateOptions opt;
  opt.three_d = true;
  opt.retry = true;
  PlaneMarks tried{true, false, false};
  triangulate_begin(t, wall, ring, opt, tried);
  EXPECT_EQ(t.plane, Plane::xz);
  triangulate_begin(t, wall, ring, opt, tried);
  EXPECT_EQ(t.plane, Plane::yz);
  EXPECT_EQ(tried, (PlaneMarks{true, true, true}));
  triangulate_begin(t, wall, ring, opt, tried);  // nothing left to try
  Face f;
  EXPECT_EQ(triangulate_next(t, f), TriangulateStep::failed);

  // ring_faces: the wall is found in its own plane on the first attempt.
  std::vector<Face> faces;
  EXPECT_TRUE(ring_faces(t, wall, ring, faces));
  EXPECT_EQ(faces.size(), 1u);
  EXPECT_EQ(t.plane, Plane::yz);
}

TEST(TriangulationPlane, OrientationAtTheLeftmostVertex) {
  EXPECT_TRUE(ring_is_counter_clockwise(l_shape()));
  EXPECT_FALSE(ring_is_counter_clockwise(reversed(l_shape())));
  // The leftmost vertex is repeated: its copies are passed over, not divided by zero.
  EXPECT_TRUE(ring_is_counter_clockwise(Points{{0, 0}, {0, 0}, {2, -1}, {3, 2}, {0, 0}}));
  EXPECT_FALSE(ring_is_counter_clockwise(Points{{0, 0}, {0, 0}, {3, 2}, {2, -1}}));
}

TEST(TriangulationEdges, RingEdgesVisibleWithDrawEdgesBit2) {
  // A tilted hexagon in 3D: every face edge that joins ring neighbours is visible.
  std::vector<shape_point> pool;
  for (int i = 0; i < 6; ++i) {
    const double a = std::numbers::pi / 3 * i;
    pool.push_back({std::cos(a), std::sin(a), 0.5 * std::cos(a)});
  }
  pool.push_back(pool.front());
  const Indices ring{0, 1, 2, 3, 4, 5, 6};
  Triangulation t;
  std::vector<Face> faces;
  ASSERT_TRUE(ring_faces(t, pool, ring, faces));
  ASSERT_EQ(faces.size(), 4u);
  int visible = 0;
  for (const Face& f : faces) {
    const int bits = ring_face_invisible_edges(f, 2);
    for (std::size_t k = 0; k < 3; ++k) {
      const int d = std::abs(f.v[k] - f.v[(k + 1) % 3]);
      const bool neighbours = d == 1 || d == 5;
      EXPECT_EQ((bits & (1 << k)) == 0, neighbours) << k;
      visible += neighbours;
    }
    EXPECT_EQ((bits >> 3) & 1, (bits >> 2) & 1);  // the fourth edge follows the third
    EXPECT_EQ(ring_face_invisible_edges(f, 1), 15);
  }
  EXPECT_EQ(visible, 6);  // each side of the hexagon once; the three diagonals hidden
  Face quad;
  quad.count = 4;
  quad.on_ring = {true, false, true, true};
  EXPECT_EQ(ring_face_invisible_edges(quad, 3), 2);
}

TEST(TriangulationHostile, DegenerateRingsFailOrEndCleanly) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<shape_point> pool{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {nan, 0, 0}, {inf, 5, 0}};
  for (const Indices& ring : {Indices{}, Indices{0}, Indices{0, 1}, Indices{0, 1, 0},
                              Indices{0, 0, 0, 0}, Indices{0, 3, 1, 2, 0}, Indices{0, 4, 1, 2},
                              Indices{0, 1, 7, 2}, Indices{0, -1, 1, 2}}) {
    const Clipped c = clip(pool, ring);
    EXPECT_TRUE(c.faces.empty()) << ring.size();
    EXPECT_NE(c.end, TriangulateStep::face);
  }
  // A counter-clockwise ring handed in as clockwise has no ear: the walk guard stops it.
  const Clipped ccw = clip(make_ring({{0, 0}, {2, 0}, {3, 1}, {2, 2}, {0, 2}, {-1, 1}}));
  EXPECT_EQ(ccw.end, TriangulateStep::failed);
  EXPECT_TRUE(ccw.faces.empty());
  std::vector<Face> faces;
  Triangulation t;
  EXPECT_FALSE(ring_faces(t, pool, Indices{0, 1, 0}, faces));
  EXPECT_TRUE(faces.empty());
}

TEST(TriangulationHostile, SelfCrossingRingsEndInBoundedTime) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-1000, 1000);
  for (int n : {8, 100000}) {
    std::vector<shape_point> pool;
    for (int i = 0; i < n; ++i) pool.push_back({coord(rng), coord(rng), coord(rng)});
    Indices ring(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) ring[static_cast<std::size_t>(i)] = i;
    const auto start = std::chrono::steady_clock::now();
    Triangulation t;
    std::vector<Face> faces;
    ring_faces(t, pool, ring, faces);  // may fail in all three planes: no faces then
    for (const Face& f : faces) {
      for (int k = 0; k < f.count; ++k) EXPECT_LT(f.v[static_cast<std::size_t>(k)], n);
    }
    const Clipped c = clip(pool, ring);
    EXPECT_NE(c.end, TriangulateStep::face);
    EXPECT_LE(c.faces.size(), ring.size() - 2);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 60.0) << n;
  }
}

// Triangulates every chunk as the solid fill does and checks the cover of the whole outline.
void expect_chunks_cover(const std::vector<shape_point>& pool,
                         const std::vector<Indices>& chunks, std::size_t chunk_size,
                         const Points& outer, const std::vector<Points>& holes = {}) {
  std::vector<Tri> all;
  for (const Indices& chunk : chunks) {
    EXPECT_LE(chunk.size(), chunk_size);
    const shape_point& first = pool[static_cast<std::size_t>(chunk.front())];
    const shape_point& last = pool[static_cast<std::size_t>(chunk.back())];
    EXPECT_TRUE(first.x == last.x && first.y == last.y);  // closed
    const Clipped c = clip(pool, chunk);
    EXPECT_EQ(c.end, TriangulateStep::done);
    const auto tris = triangles(pool, c.faces);
    all.insert(all.end(), tris.begin(), tris.end());
  }
  expect_cover(all, outer, holes);
}

TEST(FillChunks, OutlineOf251EntriesIsSplitOnce) {
  Points circle;
  for (int i = 0; i < 250; ++i) {
    const double a = -2 * std::numbers::pi * i / 250;  // clockwise
    circle.push_back({100 * std::cos(a), 100 * std::sin(a)});
  }
  const Ring r = make_ring(circle);
  ASSERT_EQ(r.ring.size(), 251u);
  std::vector<Indices> chunks;
  const ChunkSplit split = split_into_chunks(r.pool, r.ring, 250, chunks);
  ASSERT_TRUE(split.ok);
  ASSERT_EQ(chunks.size(), 2u);
  // g = 125 from position 0: positions 0..125 closed, then 125..249, 0 and 125 again.
  EXPECT_EQ(chunks[0].size(), 127u);
  EXPECT_EQ(chunks[1].size(), 127u);
  EXPECT_EQ(chunks[0][125], chunks[1][0]);
  EXPECT_EQ(chunks[1][125], chunks[0][0]);
  expect_chunks_cover(r.pool, chunks, 250, circle);
  EXPECT_EQ(split.failed_chunk, -1);
  // A short outline stays whole.
  EXPECT_TRUE(split_into_chunks(r.pool, r.ring, 251, chunks).ok);
  EXPECT_EQ(chunks.size(), 1u);
}

TEST(FillChunks, LongConcaveOutlinesAreCutIntoChunksThatCoverThem) {
  const Points shape = star(3000, 11);
  const Ring r = make_ring(reversed(shape));
  std::vector<Indices> chunks;
  ASSERT_TRUE(split_into_chunks(r.pool, r.ring, 250, chunks).ok);
  EXPECT_GE(chunks.size(), 13u);
  expect_chunks_cover(r.pool, chunks, 250, shape);

  const Points teeth = comb(60);
  const Ring c = make_ring(reversed(teeth));
  ASSERT_TRUE(split_into_chunks(c.pool, c.ring, 40, chunks).ok);
  expect_chunks_cover(c.pool, chunks, 40, teeth);
}

TEST(FillChunks, ChunksNoDiagonalCutsStayWholeAndStillCover) {
  // Between the many teeth of a comb no diagonal of the searched lengths stays inside.
  const Points teeth = comb(600);
  const Ring r = make_ring(reversed(teeth));
  std::vector<Indices> chunks;
  const ChunkSplit split = split_into_chunks(r.pool, r.ring, 250, chunks);
  ASSERT_FALSE(split.ok);
  ASSERT_GE(split.failed_chunk, 0);
  EXPECT_GT(chunks[static_cast<std::size_t>(split.failed_chunk)].size(), 250u);
  expect_chunks_cover(r.pool, chunks, r.ring.size(), teeth);
}

TEST(FillChunks, BridgedOutlineIsNotCutAcrossItsHole) {
  // A clockwise square of 40 points with a counter-clockwise square hole of 16 points,
  // bridged from the hole's (3,3) to the side point (0,3). Small chunks force many cuts; a
  // cut between the two visits of a bridge end would fill the hole.
  std::vector<shape_point> pool;
  Points outer, hole;
  for (int i = 0; i < 10; ++i) outer.push_back({0, double(i)});
  for (int i = 0; i < 10; ++i) outer.push_back({double(i), 10});
  for (int i = 0; i < 10; ++i) outer.push_back({10, 10.0 - i});
  for (int i = 0; i < 10; ++i) outer.push_back({10.0 - i, 0});
  for (int i = 0; i < 4; ++i) hole.push_back({3.0 + i, 3});
  for (int i = 0; i < 4; ++i) hole.push_back({7, 3.0 + i});
  for (int i = 0; i < 4; ++i) hole.push_back({7.0 - i, 7});
  for (int i = 0; i < 4; ++i) hole.push_back({3, 7.0 - i});
  for (const PlanePoint& p : outer) pool.push_back({p.x, p.y, 0});
  for (const PlanePoint& p : hole) pool.push_back({p.x, p.y, 0});
  Indices outline{0, 1, 2, 3};
  for (std::int32_t i = 0; i <= 16; ++i) outline.push_back(40 + i % 16);
  for (std::int32_t i = 3; i <= 40; ++i) outline.push_back(i % 40);
  for (std::int32_t size : {250, 12, 8}) {
    std::vector<Indices> chunks;
    ASSERT_TRUE(split_into_chunks(pool, outline, size, chunks).ok) << size;
    expect_chunks_cover(pool, chunks, static_cast<std::size_t>(size), outer, {hole});
  }
  // The first diagonal tried, from position 0 to position 6, joins the two visits of the
  // bridge end (0,0): it has no length and must not be taken.
  const std::vector<shape_point> small{{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0, 0}, {5, 0, 0},
                                       {3, 3, 0}, {7, 3, 0},  {7, 7, 0},   {3, 7, 0}};
  const Indices bridged{0, 5, 6, 7, 8, 5, 0, 1, 2, 3, 4, 0};
  std::vector<Indices> chunks;
  split_into_chunks(small, bridged, 11, chunks);
  expect_chunks_cover(small, chunks, bridged.size(), {{0, 0}, {0, 10}, {10, 10}, {10, 0}},
                      {{{3, 3}, {7, 3}, {7, 7}, {3, 7}}});
}

TEST(FillChunks, UnsplittableAndHostileOutlinesFail) {
  std::vector<Indices> chunks;
  // A convex ring running counter-clockwise: every diagonal leaves its ends to the outside of
  // what would be a clockwise ring.
  Points circle;
  for (int i = 0; i < 300; ++i) circle.push_back({std::cos(i / 50.0), std::sin(i / 50.0)});
  const Ring ccw = make_ring(circle);
  const ChunkSplit s = split_into_chunks(ccw.pool, ccw.ring, 250, chunks);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.failed_chunk, 0);
  ASSERT_EQ(chunks.size(), 1u);  // left whole
  EXPECT_EQ(chunks[0], ccw.ring);
  // An index outside the pool.
  Indices bad = ccw.ring;
  bad[5] = 100000;
  EXPECT_FALSE(split_into_chunks(ccw.pool, bad, 4, chunks).ok);
  // A chunk size too small to be reached is raised to the smallest that can be.
  const Ring ring = make_ring(reversed(circle));
  ASSERT_TRUE(split_into_chunks(ring.pool, ring.ring, 1, chunks).ok);
  for (const Indices& c : chunks) EXPECT_LE(c.size(), static_cast<std::size_t>(kMinChunkSize));
  // A random self-crossing outline of 100,000 points ends either way, in bounded time.
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> coord(-1, 1);
  std::vector<shape_point> pool;
  Indices outline;
  for (std::int32_t i = 0; i < 100000; ++i) {
    pool.push_back({coord(rng), coord(rng), 0});
    outline.push_back(i);
  }
  const auto start = std::chrono::steady_clock::now();
  const ChunkSplit h = split_into_chunks(pool, outline, 250, chunks);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (h.ok) {
    for (const Indices& c : chunks) EXPECT_LE(c.size(), 250u);
  }
  ASSERT_LE(chunks.size(), kMaxChunks);
  // Each cut adds the diagonal's two ends and a closing entry; nothing is lost.
  std::size_t entries = 0;
  for (const Indices& c : chunks) {
    entries += c.size();
    for (std::int32_t i : c) ASSERT_TRUE(i >= 0 && i < 100000);
  }
  EXPECT_EQ(entries, 100001 + 3 * (chunks.size() - 1));
  EXPECT_LT(took.count(), 60.0);
}

}  // namespace
}  // namespace tsn
