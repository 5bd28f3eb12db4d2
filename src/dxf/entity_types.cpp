// DXF names and subclasses of the entity kinds, in entity_type order.
#include "dxf/entity_types.h"

#include <array>

namespace tsn {
namespace {

// POLYLINE's subclass is "2dPolyline", but the entity header never writes it: its callers
// write "AcDb2dPolyline" or "AcDb3dPolyline" themselves.
constexpr std::array<EntityTypeInfo, kLastEntityType> kEntityTypes = {{
    {"LINE", "Line"},
    {"POINT", "Point"},
    {"CIRCLE", "Circle"},
    {"SHAPE", "Shape"},
    {"ELLIPSE", "Ellipse"},
    {"SPLINE", ""},
    {"TEXT", "Text"},
    {"ARC", "Circle"},
    {"TRACE", "Trace"},
    {"REGION", ""},
    {"SOLID", "Trace"},
    {"BLOCK", ""},
    {"ENDBLK", ""},
    {"INSERT", "BlockReference"},
    {"ATTDEF", "Text"},
    {"ATTRIB", "Text"},
    {"SEQEND", ""},
    {"LWPOLYLINE", "Polyline"},
    {"POLYLINE", "2dPolyline"},
    {"VERTEX", "Vertex"},
    {"LINE", ""},
    {"3DFACE", "Face"},
    {"DIMENSION", "Dimension"},
    {"VIEWPORT", "Viewport"},
    {"SOLID", "Trace"},
    {"HATCH", "Hatch"},
}};

}  // namespace

const EntityTypeInfo* entity_type_info(int entity_type) {
  if (entity_type < 1 || entity_type > kLastEntityType) return nullptr;
  return &kEntityTypes[static_cast<std::size_t>(entity_type - 1)];
}

}  // namespace tsn
