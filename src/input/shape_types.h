// The shapefile shape types: code, dense index, display name, class and whether we convert them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tsn {

struct shape_type_info {
  std::int32_t code;
  int index;              // dense index 0..13; 0 for Null and every unknown code
  std::string_view name;  // display name ("PolyLineZ")
  int shape_class;        // 0 points, 1 lines, 2 polygons
  bool accepted;          // false for Null and the unsupported multipoints with Z or M
};

// How a record's content is laid out after its shape type field.
enum class ShapeFamily {
  none,        // Null and unknown codes: nothing to decode
  point,       // X, Y (and one more double for PointZ and PointM)
  multipoint,  // box, NumPoints, points
  multipart,   // box, NumParts, NumPoints, part starts, (part types), points, (Z block)
};

// Every listed type in index order; an unknown code maps to the first entry (Null).
std::span<const shape_type_info> shape_type_table();
const shape_type_info& shape_type_lookup(std::int32_t code);

inline int shape_type_index(std::int32_t code) { return shape_type_lookup(code).index; }
inline std::string_view shape_type_name(std::int32_t code) { return shape_type_lookup(code).name; }
inline int shape_type_class(std::int32_t code) { return shape_type_lookup(code).shape_class; }
inline bool shape_type_accepted(std::int32_t code) { return shape_type_lookup(code).accepted; }

ShapeFamily shape_family(std::int32_t code);
// A Z block (Zmin, Zmax, one Z per point) follows the points: PolyLineZ, PolygonZ, MultiPatch.
bool has_z_block(std::int32_t code);
// The third double of a point record: PointZ (its Z) and PointM (its measure).
bool has_third_value(std::int32_t code);
// MultiPatch records carry a type for each part between the part starts and the points.
inline bool has_part_types(std::int32_t code) { return code == 31; }

}  // namespace tsn
