// The shape-type table and its lookups.
#include "input/shape_types.h"

#include <array>

namespace tsn {
namespace {

constexpr std::array<shape_type_info, 14> kShapeTypes{{
    {0, 0, "Null", 0, false},
    {1, 1, "Point", 0, true},
    {3, 2, "PolyLine", 1, true},
    {5, 3, "Polygon", 2, true},
    {8, 4, "MultiPoint", 0, true},
    {11, 5, "PointZ", 0, true},
    {13, 6, "PolyLineZ", 1, true},
    {15, 7, "PolygonZ", 2, true},
    {18, 8, "MultiPointZ", 0, false},
    {21, 9, "PointM", 0, true},
    {23, 10, "PolyLineM", 1, true},
    {25, 11, "PolygonM", 2, true},
    {28, 12, "MultiPointM", 0, false},
    {31, 13, "MultiPatch", 2, true},
}};

}  // namespace

std::span<const shape_type_info> shape_type_table() { return kShapeTypes; }

const shape_type_info& shape_type_lookup(std::int32_t code) {
  for (const shape_type_info& info : kShapeTypes) {
    if (info.code == code) return info;
  }
  return kShapeTypes[0];
}

ShapeFamily shape_family(std::int32_t code) {
  switch (code) {
    case 1:
    case 11:
    case 21: return ShapeFamily::point;
    case 8:
    case 18:
    case 28: return ShapeFamily::multipoint;
    case 3:
    case 5:
    case 13:
    case 15:
    case 23:
    case 25:
    case 31: return ShapeFamily::multipart;
    default: return ShapeFamily::none;
  }
}

bool has_z_block(std::int32_t code) { return code == 13 || code == 15 || code == 31; }

bool has_third_value(std::int32_t code) { return code == 11 || code == 21; }

}  // namespace tsn
