// Where a point or a whole ring lies against one ring of a polygon: its edges indexed by
// horizontal bands, so that a ring of many vertices answers without walking all of them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/label_anchor.h"
#include "input/shape_record.h"

namespace tsn {

// A point this close to an edge lies on it (raised for large coordinates, whose last digit is
// coarser than this).
inline constexpr double kRingTouch = 1e-10;

enum class RingPlace : std::uint8_t { outside, inside, on_edge };

class RingEdges {
 public:
  // Indexes the edges of `ring` (the last point back to the first included; zero-length edges
  // are left out). `orientation` is the ring's turning direction, -1 clockwise and anything
  // else counter-clockwise: a point counts as inside when the signed count of the ring's
  // crossings of the ray from it towards +X agrees with that direction.
  void build(std::span<const shape_point> ring, int orientation);

  RingPlace locate(PlanePoint q) const;

  // Calls visit(a, b) once for every edge whose box meets the box lo..hi widened by the
  // tolerance.
  template <typename Visit>
  void for_edges_near(PlanePoint lo, PlanePoint hi, Visit&& visit) const {
    lo = {lo.x - tolerance_, lo.y - tolerance_};
    hi = {hi.x + tolerance_, hi.y + tolerance_};
    if (edges_.empty() || hi.x < box_.xmin || lo.x > box_.xmax || hi.y < box_.ymin ||
        lo.y > box_.ymax) {
      return;
    }
    const std::int32_t b0 = band(lo.y), b1 = band(hi.y);
    for (std::int32_t b = b0; b <= b1; ++b) {
      const auto cell = static_cast<std::size_t>(b);
      for (std::int32_t k = start_[cell]; k < start_[cell + 1]; ++k) {
        const Edge& e = edges_[static_cast<std::size_t>(items_[static_cast<std::size_t>(k)])];
        // An edge spanning several bands is visited in the first of them that the query has.
        if (std::max(e.first_band, b0) != b) continue;
        if (e.xmax < lo.x || e.xmin > hi.x || e.ymax < lo.y || e.ymin > hi.y) continue;
        visit(e.a, e.b);
      }
    }
  }

  double tolerance() const { return tolerance_; }

 private:
  struct Edge {
    PlanePoint a, b;
    double xmin, ymin, xmax, ymax;  // widened by the tolerance
    std::int32_t first_band;
  };

  std::int32_t band(double y) const;

  std::vector<Edge> edges_;
  shape_box box_{};  // of the ring, widened by the tolerance
  double tolerance_ = kRingTouch;
  double band_origin_ = 0.0, bands_per_unit_ = 0.0;
  std::int32_t bands_ = 1;
  int orientation_ = 1;
  std::vector<std::int32_t> start_;  // band b holds items_[start_[b] .. start_[b+1])
  std::vector<std::int32_t> items_;
};

// True when no point of ring `inner` lies outside `outer`: the ring may touch `outer` at
// vertices or run along its edges, but it never crosses to its outside. A ring of one point
// lies inside when that point is inside or on the edges.
bool ring_within(std::span<const shape_point> inner, const RingEdges& outer);

}  // namespace tsn
