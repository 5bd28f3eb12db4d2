// Refusal of records whose coordinates or elevations are not finite numbers.
#include "input/finite_coordinates.h"

#include <algorithm>
#include <cmath>

#include "input/input_report.h"
#include "platform/format.h"

namespace tsn {

namespace {

bool finite(double v) { return std::isfinite(v); }

}  // namespace

bool finite_record(shape_rec& rec, bool inline_z, double z_factor) {
  const bool check_z = rec.has_z || inline_z;
  if (rec.has_z && !(finite(rec.zmin) && finite(rec.zmax))) return false;
  for (std::int32_t i = 0; i < rec.num_points; ++i) {
    const shape_point& p = rec.points[static_cast<std::size_t>(i)];
    if (!finite(p.x) || !finite(p.y) || (check_z && !finite(p.z * z_factor))) return false;
  }
  // A box that is not finite (its points are) is replaced by theirs; only then is it taken.
  const shape_box& b = rec.box;
  if (finite(b.xmin) && finite(b.ymin) && finite(b.xmax) && finite(b.ymax)) return true;
  shape_box points{};
  for (std::int32_t i = 0; i < rec.num_points; ++i) {
    const shape_point& p = rec.points[static_cast<std::size_t>(i)];
    if (i == 0) points = {p.x, p.y, p.x, p.y};
    points = {std::min(points.xmin, p.x), std::min(points.ymin, p.y),
              std::max(points.xmax, p.x), std::max(points.ymax, p.y)};
  }
  rec.box = points;
  return true;
}

void report_nonfinite_record(long record, const std::string& file, std::string_view what) {
  report_input_problem(format_printf("Record %ld of %s has %.*s that is not a finite number: "
                                     "not drawn",
                                     record, file.c_str(), static_cast<int>(what.size()),
                                     what.data()));
}

int table_row_point(TableReader& table, int x_field, int y_field, int elev_field,
                    double elev_factor, long row, const std::string& file, double& x, double& y) {
  double vx = 0.0;
  double vy = 0.0;
  const bool has_x = parse_field_number(table.read_field(x_field), vx);
  const bool has_y = parse_field_number(table.read_field(y_field), vy);
  if ((has_x && !finite(vx)) || (has_y && !finite(vy))) {
    report_nonfinite_record(row, file, "a coordinate");
    return -2;
  }
  if (!has_x || !has_y) return 1;
  if (elev_field >= 0 && !finite(table_elevation(table, elev_field, elev_factor))) {
    report_nonfinite_record(row, file, "an elevation");
    return -2;
  }
  x = vx;
  y = vy;
  return 0;
}

}  // namespace tsn
