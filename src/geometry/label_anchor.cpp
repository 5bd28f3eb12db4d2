// Box positions and the move-close search along the first part of a polyline or polygon.
#include "geometry/label_anchor.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tsn {
namespace {

struct Segment {
  shape_point a;
  shape_point b;
};

// The segments of the part; a polygon ring that does not end where it starts is closed.
std::vector<Segment> segments_of(std::span<const shape_point> part, bool polygon) {
  std::vector<Segment> out;
  if (part.size() == 1) {
    out.push_back({part[0], part[0]});
    return out;
  }
  for (std::size_t i = 0; i + 1 < part.size(); ++i) out.push_back({part[i], part[i + 1]});
  if (polygon && part.size() > 2) {
    const shape_point& first = part.front();
    const shape_point& last = part.back();
    if (first.x != last.x || first.y != last.y) out.push_back({last, first});
  }
  return out;
}

// Where the segments meet the line y = c (horizontal) or x = c (vertical), as the coordinate
// along the line. Touching counts; a segment lying along the line counts at its midpoint.
std::vector<double> crossings(const std::vector<Segment>& segs, bool horizontal, double c) {
  std::vector<double> out;
  for (const Segment& s : segs) {
    // u runs across the line, v along it.
    const double u1 = horizontal ? s.a.y : s.a.x;
    const double u2 = horizontal ? s.b.y : s.b.x;
    const double v1 = horizontal ? s.a.x : s.a.y;
    const double v2 = horizontal ? s.b.x : s.b.y;
    if ((u1 - c) * (u2 - c) > 0.0 || std::isnan(u1) || std::isnan(u2)) continue;
    if (u1 == u2) {
      out.push_back((v1 + v2) / 2.0);
    } else {
      out.push_back(v1 + (c - u1) / (u2 - u1) * (v2 - v1));
    }
  }
  return out;
}

// Crossings of y = c by the ring under the half-open rule (a vertex on the line belongs to the
// edge going up from it), sorted: consecutive pairs bound the inside of the ring on that line.
std::vector<double> ring_crossings(const std::vector<Segment>& segs, double c) {
  std::vector<double> out;
  for (const Segment& s : segs) {
    if ((s.a.y > c) == (s.b.y > c)) continue;
    out.push_back(s.a.x + (c - s.a.y) / (s.b.y - s.a.y) * (s.b.x - s.a.x));
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The centre of a polygon part on the line y = c: midway between the outermost crossings. For
// a ring that is hollow there (a U shape, say) that point lies outside, and the text would not
// be inside the part: the middle of the widest inside stretch is taken instead.
double polygon_centre_x(const std::vector<Segment>& segs, double c,
                        const std::vector<double>& xs) {
  const auto [lo, hi] = std::minmax_element(xs.begin(), xs.end());
  const double mid = (*lo + *hi) / 2.0;
  const std::vector<double> ring = ring_crossings(segs, c);
  if (ring.size() < 2) return mid;
  std::size_t right_of_mid = 0;
  for (double x : ring) right_of_mid += x > mid ? 1 : 0;
  if (right_of_mid % 2 == 1) return mid;
  std::size_t best = 0;
  for (std::size_t i = 0; i + 1 < ring.size(); i += 2) {
    if (ring[i + 1] - ring[i] > ring[best + 1] - ring[best]) best = i;
  }
  return (ring[best] + ring[best + 1]) / 2.0;
}

// Of the vertices on the vertical or horizontal box edge through the corner, the one nearest
// the corner along that edge.
std::optional<PlanePoint> nearest_edge_vertex(std::span<const shape_point> part,
                                              PlanePoint corner) {
  std::optional<PlanePoint> best;
  double best_distance = std::numeric_limits<double>::infinity();
  for (const shape_point& p : part) {
    double distance = std::numeric_limits<double>::infinity();
    if (p.x == corner.x) distance = std::fabs(p.y - corner.y);
    if (p.y == corner.y) distance = std::min(distance, std::fabs(p.x - corner.x));
    if (distance < best_distance) {
      best_distance = distance;
      best = PlanePoint{p.x, p.y};
    }
  }
  return best;
}

}  // namespace

PlanePoint box_anchor(const shape_box& box, int min_max_pos) {
  const double cx = (box.xmin + box.xmax) / 2.0;
  const double cy = (box.ymin + box.ymax) / 2.0;
  switch (min_max_pos) {
    case kPosTopLeft: return {box.xmin, box.ymax};
    case kPosTopCentre: return {cx, box.ymax};
    case kPosTopRight: return {box.xmax, box.ymax};
    case kPosMiddleLeft: return {box.xmin, cy};
    case kPosMiddleRight: return {box.xmax, cy};
    case kPosBottomLeft: return {box.xmin, box.ymin};
    case kPosBottomCentre: return {cx, box.ymin};
    case kPosBottomRight: return {box.xmax, box.ymin};
    default: return {cx, cy};
  }
}

std::optional<PlanePoint> move_close_anchor(const shape_box& box, int min_max_pos,
                                            std::span<const shape_point> part, bool polygon) {
  if (part.empty()) return std::nullopt;
  const PlanePoint centre = box_anchor(box, kPosCentre);
  const std::vector<Segment> segs = segments_of(part, polygon);
  switch (min_max_pos) {
    case kPosTopLeft:
    case kPosTopRight:
    case kPosBottomLeft:
    case kPosBottomRight:
      return nearest_edge_vertex(part, box_anchor(box, min_max_pos));
    case kPosTopCentre:
    case kPosBottomCentre: {
      const std::vector<double> ys = crossings(segs, false, centre.x);
      if (ys.empty()) return std::nullopt;
      const bool top = min_max_pos == kPosTopCentre;
      return PlanePoint{centre.x, top ? *std::max_element(ys.begin(), ys.end())
                                      : *std::min_element(ys.begin(), ys.end())};
    }
    default: break;
  }
  const std::vector<double> xs = crossings(segs, true, centre.y);
  if (xs.empty()) return std::nullopt;
  switch (min_max_pos) {
    case kPosMiddleLeft: return PlanePoint{*std::min_element(xs.begin(), xs.end()), centre.y};
    case kPosMiddleRight: return PlanePoint{*std::max_element(xs.begin(), xs.end()), centre.y};
    default: break;
  }
  if (polygon) return PlanePoint{polygon_centre_x(segs, centre.y, xs), centre.y};
  const auto nearest = std::min_element(xs.begin(), xs.end(), [&](double a, double b) {
    return std::fabs(a - centre.x) < std::fabs(b - centre.x);
  });
  return PlanePoint{*nearest, centre.y};
}

}  // namespace tsn
