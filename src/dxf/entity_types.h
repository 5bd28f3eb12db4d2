// The program's entity kinds: the entity_type code shared by the DXF text and the drawing
// database, with its DXF name and its release 14 subclass.
#pragma once

#include <string_view>

namespace tsn {

enum EntityType : int {
  kEntLine = 1,
  kEntPoint = 2,
  kEntCircle = 3,
  kEntShape = 4,
  kEntEllipse = 5,
  kEntSpline = 6,
  kEntText = 7,
  kEntArc = 8,
  kEntTrace = 9,
  kEntRegion = 10,
  kEntSolid = 11,
  kEntBlock = 12,
  kEntEndblk = 13,
  kEntInsert = 14,
  kEntAttdef = 15,
  kEntAttrib = 16,
  kEntSeqend = 17,
  kEntLwpolyline = 18,
  kEntPolyline = 19,
  kEntVertex = 20,
  kEntLine2 = 21,
  kEnt3dFace = 22,
  kEntDimension = 23,
  kEntViewport = 24,
  kEntSolid2 = 25,
  kEntHatch = 26,
};

inline constexpr int kLastEntityType = 26;

struct EntityTypeInfo {
  std::string_view dxf_name;
  std::string_view subclass;  // written after "AcDb"; empty when the kind has none
};

// The DXF name and subclass of a code 1..26; nullptr for any other code.
const EntityTypeInfo* entity_type_info(int entity_type);

}  // namespace tsn
