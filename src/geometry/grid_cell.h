// The cell of a uniform grid that a coordinate falls in, shared by the grids of boxes and edges.
#pragma once

#include <cstdint>

namespace tsn {

// The cell (0 .. cells-1) of coordinate v on a grid starting at `origin` with `inv_size` cells
// per unit; positions outside the grid, and NaN, are clamped before the conversion.
inline std::int32_t grid_cell(double v, double origin, double inv_size, std::int32_t cells) {
  const double c = (v - origin) * inv_size;
  if (!(c > 0.0)) return 0;
  if (c >= static_cast<double>(cells - 1)) return cells - 1;
  return static_cast<std::int32_t>(c);
}

}  // namespace tsn
