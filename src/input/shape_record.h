// The main-file header of a shapefile and the one record held in memory at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tsn {

struct shp_header {
  std::int32_t shape_type = 0;   // the file's type: every record is decoded as this type
  std::int64_t file_length = 0;  // bytes; the real size when the header disagrees with it
  std::int32_t version = 0;
  double xmin = 0.0, ymin = 0.0, xmax = 0.0, ymax = 0.0;
  double zmin = 0.0, zmax = 0.0;  // 0, 0 for every type without a Z block or inline Z
  std::string type_name;          // display name of shape_type
  bool shp_empty = false;         // the file holds no records
};

struct shape_point {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

struct shape_box {
  double xmin = 0.0, ymin = 0.0, xmax = 0.0, ymax = 0.0;
};

// The current record. The arrays only grow (to the largest record of the run) and are never
// shrunk, so their sizes are capacities: num_parts and num_points say how much is in use.
// A record accepted by the reader satisfies 0 <= part_starts[0] < part_starts[1] < ... <
// num_points, so every part holds at least one point.
struct shape_rec {
  std::int32_t record_number = 0;
  std::int64_t content_length = 0;  // bytes, the index's value when the index gives one
  std::int32_t record_type = 0;     // the record's own type field (decoding uses the file's)
  shape_box box;
  double zmin = 0.0, zmax = 0.0;  // 0 unless the record has a Z block
  std::int32_t num_parts = 0;
  std::int32_t num_points = 0;
  std::vector<std::int32_t> part_starts;
  std::vector<std::int32_t> part_types;  // MultiPatch only
  std::vector<shape_point> points;       // z meaningful while has_z is set (or PointZ/PointM)
  bool has_z = false;

  // Number of points of part i: the next part's start (or num_points) minus this start.
  std::int32_t points_in_part(std::int32_t i) const {
    if (i < 0 || i >= num_parts) return 0;
    const std::int32_t end = i + 1 < num_parts ? part_starts[i + 1] : num_points;
    return end - part_starts[i];
  }

  // The points of part i; empty for a part that does not exist.
  std::span<const shape_point> part_points(std::int32_t i) const {
    const std::int32_t n = points_in_part(i);
    if (n <= 0) return {};
    return {points.data() + part_starts[i], static_cast<std::size_t>(n)};
  }

  // Make room for n parts / n points; may throw std::bad_alloc, which the readers catch.
  void grow_parts(std::size_t n) {
    if (part_starts.size() < n) part_starts.resize(n);
    if (part_types.size() < n) part_types.resize(n);
  }
  void grow_points(std::size_t n) {
    if (points.size() < n) points.resize(n);
  }
};

// A polygon built from the rows of a comma-delimited vertex table: one part, the box found by
// the table scan and the rows' points, no Z.
inline void load_table_polygon(shape_rec& rec, const shape_box& box,
                               std::span<const shape_point> rows) {
  rec.has_z = false;
  rec.box = box;
  rec.zmin = rec.zmax = 0.0;
  rec.grow_parts(1);
  rec.grow_points(rows.size());
  rec.num_parts = rows.empty() ? 0 : 1;
  rec.part_starts[0] = 0;
  rec.part_types[0] = 0;
  rec.num_points = static_cast<std::int32_t>(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) rec.points[i] = {rows[i].x, rows[i].y, 0.0};
}

}  // namespace tsn
