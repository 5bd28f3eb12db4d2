// Ear clipping on a clockwise ring with a successor list, a walk guard and a work limit.
#include "geometry/triangulation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/messages.h"

namespace tsn {
namespace {

using Phase = Triangulation::Phase;

// A ring position as an index into the working arrays.
constexpr std::size_t at(std::int32_t pos) { return static_cast<std::size_t>(pos); }

constexpr double kRelativeTolerance = 1e-20;
// Below this many vertices a scan of the remaining ones is cheaper than the grid.
constexpr std::int32_t kGridMinimum = 48;
// Steps and vertex tests a ring of n vertices may spend: 10,000 n, within these bounds. Rings of
// ten thousand vertices shaped as combs or spirals need well under a tenth of that; rings built
// to defeat the clipping stop after some seconds at most.
constexpr std::int64_t kWorkPerVertex = 10'000;
constexpr std::int64_t kLeastWork = 10'000'000;
constexpr std::int64_t kMostWork = 1'000'000'000;

// Turn at a on the way q -> a -> b: positive where the way bends clockwise (to the right).
double turn(PlanePoint q, PlanePoint a, PlanePoint b) {
  return (a.y - q.y) * (b.x - a.x) - (b.y - a.y) * (a.x - q.x);
}

// Rounding of stored coordinates leaves straight runs of map data bent by about 1e-16 of
// their length, more than the ring's tolerance at map coordinates: a turn within this share of
// the product of its two legs counts as straight, so that such noise neither makes ears nor
// blocks them.
constexpr double kStraightTurn = 1e-12;

double leg(PlanePoint a, PlanePoint b) { return std::fabs(b.x - a.x) + std::fabs(b.y - a.y); }

// The tolerance of the turn q -> a -> b: the ring's own or the straight-run one, the larger.
double turn_tolerance(PlanePoint q, PlanePoint a, PlanePoint b, double eps) {
  return std::max(eps, kStraightTurn * leg(q, a) * leg(a, b));
}

bool coincide(PlanePoint p, PlanePoint c, double eps) {
  return std::fabs(p.x - c.x) <= eps && std::fabs(p.y - c.y) <= eps;
}

// p lies in the clockwise triangle q a b or on an edge of it, but not on a corner.
bool in_triangle(PlanePoint p, PlanePoint q, PlanePoint a, PlanePoint b, double eps) {
  if (coincide(p, q, eps) || coincide(p, a, eps) || coincide(p, b, eps)) return false;
  return turn(q, a, p) >= -turn_tolerance(q, a, p, eps) &&
         turn(a, b, p) >= -turn_tolerance(a, b, p, eps) &&
         turn(b, q, p) >= -turn_tolerance(b, q, p, eps);
}

bool finite(PlanePoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

double tolerance(std::span<const PlanePoint> pts) {
  auto [xlo, xhi] = std::minmax_element(pts.begin(), pts.end(),
                                        [](PlanePoint l, PlanePoint r) { return l.x < r.x; });
  auto [ylo, yhi] = std::minmax_element(pts.begin(), pts.end(),
                                        [](PlanePoint l, PlanePoint r) { return l.y < r.y; });
  return std::min(xhi->x - xlo->x, yhi->y - ylo->y) * kRelativeTolerance;
}

// The last point repeats the first: within the tolerance of the (x,y) box, and in z for 3D.
bool closes_on_first(std::span<const shape_point> pool, const std::vector<std::int32_t>& index,
                     bool three_d) {
  const shape_point& first = pool[static_cast<std::size_t>(index.front())];
  const shape_point& last = pool[static_cast<std::size_t>(index.back())];
  double xlo = first.x, xhi = first.x, ylo = first.y, yhi = first.y;
  for (std::int32_t i : index) {
    const shape_point& p = pool[static_cast<std::size_t>(i)];
    xlo = std::min(xlo, p.x);
    xhi = std::max(xhi, p.x);
    ylo = std::min(ylo, p.y);
    yhi = std::max(yhi, p.y);
  }
  const double eps = std::min(xhi - xlo, yhi - ylo) * kRelativeTolerance;
  return std::fabs(last.x - first.x) <= eps && std::fabs(last.y - first.y) <= eps &&
         (!three_d || std::fabs(last.z - first.z) <= eps);
}

bool choose(const TriangulateOptions& opt, std::span<const shape_point> pool,
            std::span<const std::int32_t> index, PlaneMarks& tried, Plane& plane) {
  if (!opt.three_d) {
    plane = Plane::xy;
  } else if (opt.retry) {
    const auto untried = std::find(tried.begin(), tried.end(), false);
    if (untried == tried.end()) return false;
    plane = static_cast<Plane>(untried - tried.begin());
  } else {
    plane = choose_plane(pool, index);
  }
  tried[static_cast<std::size_t>(plane)] = true;
  return true;
}

// A quadrilateral that turns the same way, and not straight on, at all four corners.
bool strictly_convex_quad(std::span<const PlanePoint> p, double eps) {
  int right = 0, left = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const double tu = turn(p[i], p[(i + 1) % 4], p[(i + 2) % 4]);
    if (tu > eps) ++right;
    if (tu < -eps) ++left;
  }
  return right == 4 || left == 4;
}

void give_whole_ring(Triangulation& t, Face& face) {
  face.count = static_cast<int>(t.index.size());
  for (std::size_t k = 0; k < 4; ++k) {
    face.v[k] = k < t.index.size() ? t.index[k] : t.index.back();
    face.on_ring[k] = true;
  }
}

void set_triangle(const Triangulation& t, std::int32_t q, std::int32_t a, std::int32_t b,
                  bool qb_on_ring, Face& face) {
  face.count = 3;
  face.v = {t.index[at(q)], t.index[at(a)], t.index[at(b)], t.index[at(b)]};
  face.on_ring = {t.edge_on_ring[at(q)] != 0, t.edge_on_ring[at(a)] != 0, qb_on_ring, false};
}

// d points strictly into the angle at corner c between the directions towards u and w (an
// angle below a half turn).
bool points_into(PlanePoint c, PlanePoint u, PlanePoint w, PlanePoint d_end) {
  const double ux = u.x - c.x, uy = u.y - c.y, wx = w.x - c.x, wy = w.y - c.y;
  const double dx = d_end.x - c.x, dy = d_end.y - c.y;
  const double uw = ux * wy - uy * wx;
  const double ud = ux * dy - uy * dx;
  const double dw = dx * wy - dy * wx;
  return uw > 0.0 ? ud > 0.0 && dw > 0.0 : uw < 0.0 && ud < 0.0 && dw < 0.0;
}

// Where the ring touches itself, another vertex p lies on corner c of the triangle c u w: the
// triangle is no ear when one of the two edges at p runs into it.
bool twin_enters(const Triangulation& t, std::int32_t p, PlanePoint c, PlanePoint u,
                 PlanePoint w) {
  return points_into(c, u, w, t.pts[at(t.next[at(p)])]) ||
         points_into(c, u, w, t.pts[at(t.prev[at(p)])]);
}

// No remaining vertex other than the corners lies in the clockwise triangle q a b, and no edge
// of a vertex lying on one of its corners runs into it.
bool is_ear(Triangulation& t, std::int32_t q, std::int32_t a, std::int32_t b) {
  const PlanePoint pq = t.pts[at(q)], pa = t.pts[at(a)], pb = t.pts[at(b)];
  const double eps = t.eps;
  const double xmin = std::min({pq.x, pa.x, pb.x}) - eps, xmax = std::max({pq.x, pa.x, pb.x}) + eps;
  const double ymin = std::min({pq.y, pa.y, pb.y}) - eps, ymax = std::max({pq.y, pa.y, pb.y}) + eps;
  const auto blocks = [&](std::int32_t p) {
    ++t.work;
    if (p == q || p == a || p == b || t.removed[at(p)] != 0) return false;
    const PlanePoint pp = t.pts[at(p)];
    if (pp.x < xmin || pp.x > xmax || pp.y < ymin || pp.y > ymax) return false;
    if (coincide(pp, pq, eps)) return twin_enters(t, p, pq, pa, pb);
    if (coincide(pp, pa, eps)) return twin_enters(t, p, pa, pb, pq);
    if (coincide(pp, pb, eps)) return twin_enters(t, p, pb, pq, pa);
    return in_triangle(pp, pq, pa, pb, eps);
  };
  if (t.use_grid) {
    return t.grid.visit_triangle(pq, pa, pb, eps, [&](std::int32_t p) { return !blocks(p); });
  }
  for (std::int32_t p = t.next[at(b)]; p != q; p = t.next[at(p)]) {
    if (blocks(p)) return false;
  }
  return true;
}

// Marks the positions that share their point with another position: where a hole was joined
// at a vertex, or a ring touches itself.
void mark_pinches(Triangulation& t) {
  const auto size = t.pts.size();
  t.order.resize(size);
  for (std::size_t i = 0; i < size; ++i) t.order[i] = static_cast<std::int32_t>(i);
  std::sort(t.order.begin(), t.order.end(), [&](std::int32_t l, std::int32_t r) {
    const PlanePoint a = t.pts[at(l)], b = t.pts[at(r)];
    return a.x < b.x || (a.x == b.x && a.y < b.y);
  });
  t.pinch.assign(size, 0);
  for (std::size_t k = 1; k < size; ++k) {
    const PlanePoint a = t.pts[at(t.order[k - 1])], b = t.pts[at(t.order[k])];
    if (a.x == b.x && a.y == b.y) t.pinch[at(t.order[k - 1])] = t.pinch[at(t.order[k])] = 1;
  }
}

// Removes position a from between q and b; the new link q-b lies on the ring as `on_ring` says.
void cut_out(Triangulation& t, std::int32_t q, std::int32_t a, std::int32_t b, bool on_ring) {
  t.next[at(q)] = b;
  t.prev[at(b)] = q;
  t.edge_on_ring[at(q)] = static_cast<char>(on_ring);
  t.removed[at(a)] = 1;
  --t.remaining;
}

// a lies on the way from q to b, between them.
bool passes_through(PlanePoint q, PlanePoint a, PlanePoint b) {
  return (a.x - q.x) * (b.x - a.x) + (a.y - q.y) * (b.y - a.y) > 0.0;
}

TriangulateStep last_triangle(Triangulation& t, std::int32_t q, Face& face) {
  t.phase = Phase::done;
  const std::int32_t a = t.next[at(q)];
  const std::int32_t b = t.next[at(a)];
  if (std::fabs(turn(t.pts[at(q)], t.pts[at(a)], t.pts[at(b)])) <= t.eps) {
    return TriangulateStep::done;  // the remainder has no area
  }
  set_triangle(t, q, a, b, t.edge_on_ring[at(b)] != 0, face);
  return TriangulateStep::face;
}

}  // namespace

void triangulate_begin(Triangulation& t, std::span<const shape_point> pool,
                       std::span<const std::int32_t> ring, const TriangulateOptions& opt,
                       PlaneMarks& tried) {
  t.phase = Phase::failed;
  t.whole_ring = false;
  t.work = 0;
  t.current = 0;
  t.remaining = 0;
  t.index.clear();
  t.pts.clear();
  for (const std::int32_t i : ring) {
    if (i < 0 || static_cast<std::size_t>(i) >= pool.size()) return;
    t.index.push_back(i);
  }
  if (t.index.size() >= 2 && closes_on_first(pool, t.index, opt.three_d)) t.index.pop_back();
  if (!choose(opt, pool, t.index, tried, t.plane)) return;
  for (const std::int32_t i : t.index) {
    t.pts.push_back(project(pool[static_cast<std::size_t>(i)], t.plane));
    if (!finite(t.pts.back())) return;
  }
  const auto n = static_cast<std::int32_t>(t.index.size());
  if (n < 3) return;
  t.eps = tolerance(t.pts);
  if (opt.orient && ring_is_counter_clockwise(t.pts)) {
    std::reverse(t.index.begin() + 1, t.index.end());
    std::reverse(t.pts.begin() + 1, t.pts.end());
  }
  if (n == 3) {
    t.phase = Phase::done;
    t.whole_ring = std::fabs(turn(t.pts[0], t.pts[1], t.pts[2])) > t.eps;
    return;
  }
  if (n == 4 && strictly_convex_quad(t.pts, t.eps)) {
    t.phase = Phase::done;
    t.whole_ring = true;
    return;
  }
  const auto size = static_cast<std::size_t>(n);
  t.next.resize(size);
  t.prev.resize(size);
  for (std::size_t i = 0; i < size; ++i) {
    t.next[i] = static_cast<std::int32_t>((i + 1) % size);
    t.prev[(i + 1) % size] = static_cast<std::int32_t>(i);
  }
  t.removed.assign(size, 0);
  t.edge_on_ring.assign(size, 1);
  mark_pinches(t);
  t.remaining = n;
  t.work_limit = std::clamp(kWorkPerVertex * n, kLeastWork, kMostWork);
  t.use_grid = n >= kGridMinimum;
  if (t.use_grid) t.grid.build(t.pts);
  t.phase = Phase::clipping;
}

TriangulateStep triangulate_next(Triangulation& t, Face& face) {
  if (t.whole_ring) {
    t.whole_ring = false;
    give_whole_ring(t, face);
    return TriangulateStep::face;
  }
  if (t.phase != Phase::clipping) {
    return t.phase == Phase::failed ? TriangulateStep::failed : TriangulateStep::done;
  }
  std::int32_t q = t.current;
  std::int32_t steps = 0;
  while (t.remaining > 3) {
    if (steps > 2 * t.remaining || t.work > t.work_limit) {
      status_write("\n1:ERROR OCCURRED in triangulate plane");
      t.phase = Phase::failed;
      return TriangulateStep::failed;
    }
    ++t.work;
    const std::int32_t a = t.next[at(q)];
    const std::int32_t b = t.next[at(a)];
    const PlanePoint pq = t.pts[at(q)], pa = t.pts[at(a)], pb = t.pts[at(b)];
    const double tu = turn(pq, pa, pb);
    const double straight = turn_tolerance(pq, pa, pb, t.eps);
    // A straight vertex where the ring touches itself stays: the link q-b would run through
    // the other side's vertex there.
    const bool keep = t.pinch[at(a)] != 0 && passes_through(pq, pa, pb);
    if (std::fabs(tu) <= straight && !keep) {
      // a lies on the line q-b (or on q or b): dropped, and the link q-b lies on the ring as
      // far as both links it replaces did. Not a walk step: long straight runs are no fault.
      cut_out(t, q, a, b, t.edge_on_ring[at(q)] != 0 && t.edge_on_ring[at(a)] != 0);
      continue;
    }
    if (tu > straight && is_ear(t, q, a, b)) {
      set_triangle(t, q, a, b, false, face);
      cut_out(t, q, a, b, false);
      t.current = q;
      return TriangulateStep::face;
    }
    q = a;
    ++steps;
  }
  t.current = q;
  if (t.remaining == 3) return last_triangle(t, q, face);
  t.phase = Phase::done;
  return TriangulateStep::done;
}

}  // namespace tsn
