// The edges of the joined fill outline in a uniform grid, kept up to date while holes are
// spliced in, so that a bridge is tested against the edges near it and not against them all.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/grid_cell.h"
#include "geometry/label_anchor.h"
#include "input/shape_record.h"

namespace tsn {

class OutlineEdges {
 public:
  // A grid over `extent` (finite) for about `expected` edges, holding the edges between the
  // consecutive entries of `outline` (pool indices).
  void build(std::span<const shape_point> pool, std::span<const std::int32_t> outline,
             const shape_box& extent, std::size_t expected);

  // The edge between the pool points `from` and `to`.
  void add(std::int32_t from, std::int32_t to);
  // Takes out one edge from `from` to `to` (one of them, when the outline has it twice).
  void remove(std::int32_t from, std::int32_t to);

  // Calls visit(a, b) once for every edge whose box meets the box lo..hi (touching counts),
  // until visit returns false; false when it did.
  template <typename Visit>
  bool visit_near(PlanePoint lo, PlanePoint hi, Visit&& visit) {
    if (++stamp_ == 0) {
      for (Edge& e : edges_) e.seen = 0;
      stamp_ = 1;
    }
    const std::int32_t c0 = column(lo.x), c1 = column(hi.x);
    for (std::int32_t r = row(lo.y); r <= row(hi.y); ++r) {
      for (std::int32_t c = c0; c <= c1; ++c) {
        for (const std::int32_t id : cells_[cell(r, c)]) {
          Edge& e = edges_[static_cast<std::size_t>(id)];
          if (!e.alive || e.seen == stamp_) continue;
          e.seen = stamp_;
          const PlanePoint a = at(e.from), b = at(e.to);
          if (std::max(a.x, b.x) < lo.x || std::min(a.x, b.x) > hi.x ||
              std::max(a.y, b.y) < lo.y || std::min(a.y, b.y) > hi.y) {
            continue;
          }
          if (!visit(a, b)) return false;
        }
      }
    }
    return true;
  }

 private:
  struct Edge {
    std::int32_t from, to;
    bool alive;
    std::uint32_t seen;
  };

  PlanePoint at(std::int32_t i) const {
    const shape_point& p = pool_[static_cast<std::size_t>(i)];
    return {p.x, p.y};
  }
  std::int32_t column(double x) const { return grid_cell(x, xmin_, inv_width_, side_); }
  std::int32_t row(double y) const { return grid_cell(y, ymin_, inv_height_, side_); }
  std::size_t cell(std::int32_t r, std::int32_t c) const {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(side_) +
           static_cast<std::size_t>(c);
  }
  // Calls f(cell) for every cell the box of edge from-to meets.
  template <typename F>
  void each_cell(std::int32_t from, std::int32_t to, F&& f) const {
    const PlanePoint a = at(from), b = at(to);
    const std::int32_t c0 = column(std::min(a.x, b.x)), c1 = column(std::max(a.x, b.x));
    for (std::int32_t r = row(std::min(a.y, b.y)); r <= row(std::max(a.y, b.y)); ++r) {
      for (std::int32_t c = c0; c <= c1; ++c) f(cell(r, c));
    }
  }

  std::span<const shape_point> pool_;
  double xmin_ = 0.0, ymin_ = 0.0, inv_width_ = 0.0, inv_height_ = 0.0;
  std::int32_t side_ = 1;
  std::vector<Edge> edges_;
  std::vector<std::vector<std::int32_t>> cells_;
  std::uint32_t stamp_ = 0;
};

}  // namespace tsn
