// A uniform grid of boxes, for finding the boxes that hold a given box without comparing it
// with every one of them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/grid_cell.h"
#include "input/shape_record.h"

namespace tsn {

class BoxGrid {
 public:
  // Lists every box in the cells it covers, about one cell per box; a grid whose lists would
  // grow far beyond the box count (many large boxes) is made coarser. Boxes that are not
  // finite hold nothing and are left out.
  void build(std::span<const shape_box> boxes);

  // Calls visit(i) for every box i that holds `b` (all four sides, equality allowed), `b`
  // itself included when it is one of the boxes, in ascending order of i.
  template <typename Visit>
  void visit_holding(const shape_box& b, Visit&& visit) const {
    if (boxes_.empty()) return;
    const auto cell = static_cast<std::size_t>(row(b.ymin)) * static_cast<std::size_t>(columns_) +
                      static_cast<std::size_t>(column(b.xmin));
    for (std::int32_t k = start_[cell]; k < start_[cell + 1]; ++k) {
      const auto i = static_cast<std::size_t>(items_[static_cast<std::size_t>(k)]);
      const shape_box& o = boxes_[i];
      if (o.xmin <= b.xmin && o.ymin <= b.ymin && b.xmax <= o.xmax && b.ymax <= o.ymax) {
        visit(static_cast<std::int32_t>(i));
      }
    }
  }

 private:
  std::int32_t column(double x) const { return grid_cell(x, xmin_, inv_width_, columns_); }
  std::int32_t row(double y) const { return grid_cell(y, ymin_, inv_height_, rows_); }
  // Cells listing each box for a grid of `side` x `side` cells over the boxes' extent.
  std::size_t entries_for(std::int32_t side);
  void set_side(std::int32_t side);

  std::vector<shape_box> boxes_;
  double xmin_ = 0.0, ymin_ = 0.0, xmax_ = 0.0, ymax_ = 0.0;
  double inv_width_ = 0.0, inv_height_ = 0.0;  // cells per unit
  std::int32_t columns_ = 1, rows_ = 1;
  std::vector<std::int32_t> start_;  // cell c lists items_[start_[c] .. start_[c+1])
  std::vector<std::int32_t> items_;
};

}  // namespace tsn
