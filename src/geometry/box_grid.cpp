// Bucketing of boxes into the cells of a uniform grid (counting sort by cell).
#include "geometry/box_grid.h"

#include <algorithm>
#include <cmath>

namespace tsn {
namespace {

constexpr std::size_t kEntriesPerBox = 16;
constexpr std::int32_t kMaxSide = 4096;

bool finite_box(const shape_box& b) {
  return std::isfinite(b.xmin) && std::isfinite(b.ymin) && std::isfinite(b.xmax) &&
         std::isfinite(b.ymax) && b.xmin <= b.xmax && b.ymin <= b.ymax;
}

}  // namespace

void BoxGrid::set_side(std::int32_t side) {
  columns_ = rows_ = side;
  const double w = xmax_ - xmin_, h = ymax_ - ymin_;
  inv_width_ = w > 0.0 && std::isfinite(w) ? side / w : 0.0;
  inv_height_ = h > 0.0 && std::isfinite(h) ? side / h : 0.0;
}

std::size_t BoxGrid::entries_for(std::int32_t side) {
  set_side(side);
  std::size_t entries = 0;
  for (const shape_box& b : boxes_) {
    if (!finite_box(b)) continue;
    entries += static_cast<std::size_t>(column(b.xmax) - column(b.xmin) + 1) *
               static_cast<std::size_t>(row(b.ymax) - row(b.ymin) + 1);
  }
  return entries;
}

void BoxGrid::build(std::span<const shape_box> boxes) {
  boxes_.assign(boxes.begin(), boxes.end());
  xmin_ = ymin_ = 1e300;
  xmax_ = ymax_ = -1e300;
  for (const shape_box& b : boxes_) {
    if (!finite_box(b)) continue;
    xmin_ = std::min(xmin_, b.xmin);
    ymin_ = std::min(ymin_, b.ymin);
    xmax_ = std::max(xmax_, b.xmax);
    ymax_ = std::max(ymax_, b.ymax);
  }
  auto side = static_cast<std::int32_t>(
      std::clamp(std::ceil(std::sqrt(static_cast<double>(boxes_.size()))), 1.0,
                 static_cast<double>(kMaxSide)));
  while (side > 1 && entries_for(side) > kEntriesPerBox * boxes_.size()) side /= 2;
  set_side(side);

  const std::size_t cells = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
  start_.assign(cells + 1, 0);
  const auto each_cell = [&](const shape_box& b, auto&& f) {
    const std::int32_t c0 = column(b.xmin), c1 = column(b.xmax);
    for (std::int32_t r = row(b.ymin); r <= row(b.ymax); ++r) {
      for (std::int32_t c = c0; c <= c1; ++c) {
        f(static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
          static_cast<std::size_t>(c));
      }
    }
  };
  for (const shape_box& b : boxes_) {
    if (finite_box(b)) each_cell(b, [&](std::size_t cell) { ++start_[cell + 1]; });
  }
  for (std::size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
  items_.resize(static_cast<std::size_t>(start_.back()));
  std::vector<std::int32_t> cursor(start_.begin(), start_.end() - 1);
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    if (!finite_box(boxes_[i])) continue;
    each_cell(boxes_[i], [&](std::size_t cell) {
      items_[static_cast<std::size_t>(cursor[cell]++)] = static_cast<std::int32_t>(i);
    });
  }
}

}  // namespace tsn
