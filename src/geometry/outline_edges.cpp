// Building and updating the grid of the joined outline's edges.
#include "geometry/outline_edges.h"

#include <cmath>

namespace tsn {
namespace {

constexpr std::int32_t kMaxSide = 1024;

}  // namespace

void OutlineEdges::build(std::span<const shape_point> pool, std::span<const std::int32_t> outline,
                         const shape_box& extent, std::size_t expected) {
  pool_ = pool;
  // About two edges per cell.
  side_ = static_cast<std::int32_t>(std::clamp(
      std::ceil(std::sqrt(static_cast<double>(expected) / 2.0)), 1.0, double{kMaxSide}));
  xmin_ = extent.xmin;
  ymin_ = extent.ymin;
  const double w = extent.xmax - extent.xmin, h = extent.ymax - extent.ymin;
  inv_width_ = w > 0.0 ? side_ / w : 0.0;
  inv_height_ = h > 0.0 ? side_ / h : 0.0;
  edges_.clear();
  edges_.reserve(expected);
  cells_.assign(static_cast<std::size_t>(side_) * static_cast<std::size_t>(side_), {});
  stamp_ = 0;
  for (std::size_t i = 0; i + 1 < outline.size(); ++i) add(outline[i], outline[i + 1]);
}

void OutlineEdges::add(std::int32_t from, std::int32_t to) {
  const auto id = static_cast<std::int32_t>(edges_.size());
  edges_.push_back({from, to, true, 0});
  each_cell(from, to, [&](std::size_t c) { cells_[c].push_back(id); });
}

void OutlineEdges::remove(std::int32_t from, std::int32_t to) {
  bool done = false;
  each_cell(from, to, [&](std::size_t c) {
    if (done) return;
    for (const std::int32_t id : cells_[c]) {
      Edge& e = edges_[static_cast<std::size_t>(id)];
      if (e.alive && e.from == from && e.to == to) {
        e.alive = false;
        done = true;
        return;
      }
    }
  });
}

}  // namespace tsn
