// The band index of a ring's edges, point location against it, and the whole-ring test.
#include "geometry/ring_containment.h"

#include <algorithm>
#include <cmath>

namespace tsn {
namespace {

// Each edge is listed in every band it spans; fewer bands are taken when long edges would make
// the lists more than this many times the edge count.
constexpr std::size_t kBandEntriesPerEdge = 8;
constexpr std::size_t kMaxBands = std::size_t{1} << 20;

double cross(PlanePoint o, PlanePoint a, PlanePoint b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Where the point q falls along segment p-q2 (0 at p, 1 at q2, clamped), and its squared
// distance from the segment.
double along(PlanePoint q, PlanePoint p, PlanePoint q2, double& distance2) {
  const double dx = q2.x - p.x, dy = q2.y - p.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0.0 ? ((q.x - p.x) * dx + (q.y - p.y) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = p.x + t * dx - q.x, ey = p.y + t * dy - q.y;
  distance2 = ex * ex + ey * ey;
  return t;
}

bool near_segment(PlanePoint q, PlanePoint a, PlanePoint b, double tolerance) {
  double d2 = 0.0;
  along(q, a, b, d2);
  return d2 <= tolerance * tolerance;
}

bool opposite(double u, double v) { return (u > 0.0 && v < 0.0) || (u < 0.0 && v > 0.0); }

// The places (0..1 along p-q) where edge a-b meets edge p-q: its ends lying on p-q, the ends of
// p-q lying on it, and a proper crossing.
void meeting_points(PlanePoint p, PlanePoint q, PlanePoint a, PlanePoint b, double tolerance,
                    std::vector<double>& out) {
  for (const PlanePoint v : {a, b}) {
    double d2 = 0.0;
    const double t = along(v, p, q, d2);
    if (d2 <= tolerance * tolerance) out.push_back(t);
  }
  if (near_segment(p, a, b, tolerance)) out.push_back(0.0);
  if (near_segment(q, a, b, tolerance)) out.push_back(1.0);
  const double oa = cross(p, q, a), ob = cross(p, q, b);
  const double op = cross(a, b, p), oq = cross(a, b, q);
  if (opposite(oa, ob) && opposite(op, oq)) out.push_back(op / (op - oq));
}

}  // namespace

std::int32_t RingEdges::band(double y) const {
  const double v = (y - band_origin_) * bands_per_unit_;
  if (!(v >= 0.0)) return 0;
  if (v >= static_cast<double>(bands_)) return bands_ - 1;
  return static_cast<std::int32_t>(v);
}

void RingEdges::build(std::span<const shape_point> ring, int orientation) {
  orientation_ = orientation;
  edges_.clear();
  box_ = {1e300, 1e300, -1e300, -1e300};
  for (const shape_point& p : ring) {
    box_ = {std::min(box_.xmin, p.x), std::min(box_.ymin, p.y), std::max(box_.xmax, p.x),
            std::max(box_.ymax, p.y)};
  }
  const double magnitude = std::max({std::fabs(box_.xmin), std::fabs(box_.xmax),
                                     std::fabs(box_.ymin), std::fabs(box_.ymax)});
  tolerance_ = std::isfinite(magnitude) ? std::max(kRingTouch, 1e-15 * magnitude) : kRingTouch;
  box_ = {box_.xmin - tolerance_, box_.ymin - tolerance_, box_.xmax + tolerance_,
          box_.ymax + tolerance_};

  const std::size_t n = ring.size();
  for (std::size_t i = 0; i < n; ++i) {
    const shape_point& p = ring[i];
    const shape_point& q = ring[(i + 1) % n];
    if (p.x == q.x && p.y == q.y) continue;
    edges_.push_back({{p.x, p.y}, {q.x, q.y}, std::min(p.x, q.x) - tolerance_,
                      std::min(p.y, q.y) - tolerance_, std::max(p.x, q.x) + tolerance_,
                      std::max(p.y, q.y) + tolerance_, 0});
  }

  band_origin_ = box_.ymin;
  const double height = box_.ymax - box_.ymin;
  std::size_t bands = std::clamp<std::size_t>(edges_.size(), 1, kMaxBands);
  for (;;) {
    bands_ = static_cast<std::int32_t>(bands);
    bands_per_unit_ = height > 0.0 && std::isfinite(height) ? static_cast<double>(bands) / height
                                                             : 0.0;
    std::size_t entries = 0;
    for (const Edge& e : edges_) {
      entries += static_cast<std::size_t>(band(e.ymax) - band(e.ymin) + 1);
    }
    if (bands == 1 || entries <= kBandEntriesPerEdge * edges_.size() + 64) break;
    bands /= 2;
  }

  start_.assign(static_cast<std::size_t>(bands_) + 1, 0);
  for (Edge& e : edges_) {
    e.first_band = band(e.ymin);
    for (std::int32_t b = e.first_band; b <= band(e.ymax); ++b) {
      ++start_[static_cast<std::size_t>(b) + 1];
    }
  }
  for (std::size_t b = 1; b < start_.size(); ++b) start_[b] += start_[b - 1];
  items_.resize(static_cast<std::size_t>(start_.back()));
  std::vector<std::int32_t> cursor(start_.begin(), start_.end() - 1);
  for (std::size_t k = 0; k < edges_.size(); ++k) {
    const Edge& e = edges_[k];
    for (std::int32_t b = e.first_band; b <= band(e.ymax); ++b) {
      items_[static_cast<std::size_t>(cursor[static_cast<std::size_t>(b)]++)] =
          static_cast<std::int32_t>(k);
    }
  }
}

RingPlace RingEdges::locate(PlanePoint q) const {
  if (!(q.x >= box_.xmin && q.x <= box_.xmax && q.y >= box_.ymin && q.y <= box_.ymax)) {
    return RingPlace::outside;
  }
  const auto cell = static_cast<std::size_t>(band(q.y));
  int count = 0;
  for (std::int32_t k = start_[cell]; k < start_[cell + 1]; ++k) {
    const Edge& e = edges_[static_cast<std::size_t>(items_[static_cast<std::size_t>(k)])];
    if (q.x >= e.xmin && q.x <= e.xmax && q.y >= e.ymin && q.y <= e.ymax &&
        near_segment(q, e.a, e.b, tolerance_)) {
      return RingPlace::on_edge;
    }
    // Signed crossings of the ray towards +X: -1 for an edge going up, +1 for one going down,
    // each edge half open (its lower end on the ray counts as above it) so that a vertex on
    // the ray counts once where the ring crosses there and not at all where it only touches.
    const bool up = e.a.y <= q.y && e.b.y > q.y;
    const bool down = e.b.y <= q.y && e.a.y > q.y;
    if (!up && !down) continue;
    const double x_at = e.a.x + (q.y - e.a.y) * (e.b.x - e.a.x) / (e.b.y - e.a.y);
    if (x_at > q.x) count += up ? -1 : 1;
  }
  const bool inside = orientation_ == -1 ? count > 0 : count < 0;
  return inside ? RingPlace::inside : RingPlace::outside;
}

bool ring_within(std::span<const shape_point> inner, const RingEdges& outer) {
  const std::size_t n = inner.size();
  if (n == 0) return false;
  const double tolerance = outer.tolerance();
  bool met = false;
  std::vector<double> cuts;
  for (std::size_t i = 0; i < n; ++i) {
    const PlanePoint p{inner[i].x, inner[i].y};
    const PlanePoint q{inner[(i + 1) % n].x, inner[(i + 1) % n].y};
    if (p.x == q.x && p.y == q.y) continue;
    cuts.clear();
    outer.for_edges_near({std::min(p.x, q.x), std::min(p.y, q.y)},
                         {std::max(p.x, q.x), std::max(p.y, q.y)},
                         [&](PlanePoint a, PlanePoint b) {
                           meeting_points(p, q, a, b, tolerance, cuts);
                         });
    if (cuts.empty()) continue;  // wholly on one side: its ends tell which
    met = true;
    // Between two places where it meets the outer ring, an edge lies wholly on one side.
    cuts.push_back(0.0);
    cuts.push_back(1.0);
    std::sort(cuts.begin(), cuts.end());
    const double length = std::hypot(q.x - p.x, q.y - p.y);
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
      if ((cuts[k + 1] - cuts[k]) * length <= tolerance) continue;
      const double t = (cuts[k] + cuts[k + 1]) / 2;
      const PlanePoint m{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
      if (outer.locate(m) == RingPlace::outside) return false;
    }
  }
  // An edge that meets nothing lies on the side of its ends; so it goes round the ring, and a
  // ring that meets the outer one nowhere lies on the side of its first point.
  if (met) return true;
  return outer.locate({inner[0].x, inner[0].y}) != RingPlace::outside;
}

}  // namespace tsn
