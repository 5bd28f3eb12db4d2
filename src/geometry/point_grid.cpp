// Bucketing of plane points into a uniform grid (counting sort by cell).
#include "geometry/point_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tsn {

std::int32_t PointGrid::cell_of(double v, double origin, double inv_size, std::int32_t cells) {
  const double c = (v - origin) * inv_size;
  // Out-of-range and NaN positions are clamped before the conversion, which they would not
  // survive otherwise.
  if (!(c > 0.0)) return 0;
  if (c >= static_cast<double>(cells - 1)) return cells - 1;
  return static_cast<std::int32_t>(c);
}

double PointGrid::row_bottom(std::int32_t r) const {
  if (r <= 0) return -std::numeric_limits<double>::infinity();
  if (r >= rows_) return std::numeric_limits<double>::infinity();
  return ymin_ + r / inv_height_;
}

bool PointGrid::row_span(PlanePoint a, PlanePoint b, PlanePoint c, double y0, double y1,
                         double& xlo, double& xhi) {
  // The triangle's part in the band is convex, and its corners lie on the triangle's edges:
  // the x range is that of the edges clipped to the band.
  bool any = false;
  xlo = std::numeric_limits<double>::infinity();
  xhi = -xlo;
  const auto take = [&](double x) {
    any = true;
    xlo = std::min(xlo, x);
    xhi = std::max(xhi, x);
  };
  const PlanePoint corners[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    PlanePoint p = corners[i], q = corners[(i + 1) % 3];
    if (p.y > q.y) std::swap(p, q);
    if (q.y < y0 || p.y > y1) continue;
    if (q.y == p.y) {
      take(p.x);
      take(q.x);
      continue;
    }
    const double slope = (q.x - p.x) / (q.y - p.y);
    take(p.y >= y0 ? p.x : p.x + (y0 - p.y) * slope);
    take(q.y <= y1 ? q.x : p.x + (y1 - p.y) * slope);
  }
  return any;
}

void PointGrid::build(std::span<const PlanePoint> points) {
  const auto n = static_cast<std::int32_t>(points.size());
  xmin_ = ymin_ = 0.0;
  double xmax = 0.0, ymax = 0.0;
  if (n > 0) {
    xmin_ = xmax = points[0].x;
    ymin_ = ymax = points[0].y;
  }
  for (const PlanePoint& p : points) {
    xmin_ = std::min(xmin_, p.x);
    xmax = std::max(xmax, p.x);
    ymin_ = std::min(ymin_, p.y);
    ymax = std::max(ymax, p.y);
  }
  // About one point per cell, the cells as square as the box allows.
  const double width = xmax - xmin_, height = ymax - ymin_;
  const double cells = std::max(1.0, static_cast<double>(n));
  double cols = 1.0, rows = 1.0;
  if (width > 0.0 && height > 0.0 && std::isfinite(width / height)) {
    cols = std::clamp(std::ceil(std::sqrt(cells * width / height)), 1.0, cells);
    rows = std::clamp(std::ceil(cells / cols), 1.0, cells);
  } else if (width > 0.0) {
    cols = cells;
  } else if (height > 0.0) {
    rows = cells;
  }
  columns_ = static_cast<std::int32_t>(cols);
  rows_ = static_cast<std::int32_t>(rows);
  inv_width_ = width > 0.0 ? cols / width : 0.0;
  inv_height_ = height > 0.0 ? rows / height : 0.0;
  if (!std::isfinite(inv_width_)) inv_width_ = 0.0;
  if (!std::isfinite(inv_height_)) inv_height_ = 0.0;

  const std::size_t cell_count =
      static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
  start_.assign(cell_count + 1, 0);
  items_.resize(points.size());
  auto cell = [&](const PlanePoint& p) {
    return static_cast<std::size_t>(row(p.y)) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(column(p.x));
  };
  for (const PlanePoint& p : points) ++start_[cell(p) + 1];
  for (std::size_t c = 0; c < cell_count; ++c) start_[c + 1] += start_[c];
  cursor_.assign(start_.begin(), start_.end() - 1);
  for (std::int32_t i = 0; i < n; ++i) {
    std::int32_t& slot = cursor_[cell(points[static_cast<std::size_t>(i)])];
    items_[static_cast<std::size_t>(slot++)] = i;
  }
}

}  // namespace tsn
