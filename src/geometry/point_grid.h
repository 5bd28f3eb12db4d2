// A uniform grid over a set of plane points, for finding the points that may lie in a triangle
// without looking at all of them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/label_anchor.h"

namespace tsn {

class PointGrid {
 public:
  // Sorts the points into about one cell per point; the grid's arrays are kept from build to
  // build. Non-finite points land in a border cell and are still visited.
  void build(std::span<const PlanePoint> points);

  // Calls visit(i) for every point i in a cell that the triangle a b c, widened by margin,
  // touches: a superset of the points inside it. Row by row only the cells under the
  // triangle's part in that row are visited, so that long slanted triangles stay cheap.
  // visit returns false to stop early; the result is false when it did.
  template <typename Visit>
  bool visit_triangle(PlanePoint a, PlanePoint b, PlanePoint c, double margin,
                      Visit&& visit) const {
    const double ylo = std::min({a.y, b.y, c.y}) - margin;
    const double yhi = std::max({a.y, b.y, c.y}) + margin;
    const std::int32_t r0 = row(ylo), r1 = row(yhi);
    for (std::int32_t r = r0; r <= r1; ++r) {
      double xlo = 0.0, xhi = 0.0;
      if (!row_span(a, b, c, std::max(ylo, row_bottom(r)), std::min(yhi, row_bottom(r + 1)), xlo,
                    xhi)) {
        continue;
      }
      const std::size_t base = static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_);
      const auto c1 = base + static_cast<std::size_t>(column(xhi + margin));
      for (std::size_t cell = base + static_cast<std::size_t>(column(xlo - margin)); cell <= c1;
           ++cell) {
        for (std::int32_t k = start_[cell]; k < start_[cell + 1]; ++k) {
          if (!visit(items_[static_cast<std::size_t>(k)])) return false;
        }
      }
    }
    return true;
  }

 private:
  // Lower edge of row r (the first row reaches down without end, the last up).
  double row_bottom(std::int32_t r) const;
  // The x range of the triangle between heights y0 and y1; false when it has no part there.
  static bool row_span(PlanePoint a, PlanePoint b, PlanePoint c, double y0, double y1,
                       double& xlo, double& xhi);

  std::int32_t column(double x) const { return cell_of(x, xmin_, inv_width_, columns_); }
  std::int32_t row(double y) const { return cell_of(y, ymin_, inv_height_, rows_); }
  static std::int32_t cell_of(double v, double origin, double inv_size, std::int32_t cells);

  double xmin_ = 0.0, ymin_ = 0.0;
  double inv_width_ = 0.0, inv_height_ = 0.0;  // cells per unit
  std::int32_t columns_ = 1, rows_ = 1;
  std::vector<std::int32_t> start_;  // cell c holds items_[start_[c] .. start_[c+1])
  std::vector<std::int32_t> items_;
  std::vector<std::int32_t> cursor_;  // the next free slot of each cell while building
};

}  // namespace tsn
