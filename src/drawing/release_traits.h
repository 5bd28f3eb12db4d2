// What each output release has, declared once: every writer asks here instead of comparing
// release numbers.
#pragma once

#include <string_view>

namespace tsn {

struct ReleaseTraits {
  int verDXF = 4;                // the settings' release code: 4, 6 or 7
  std::string_view acadver;      // $ACADVER
  bool handles = false;          // entity and table handles, owners and reactors
  bool lwpolyline = false;       // light-weight polylines
  bool hatch = false;            // HATCH fills (otherwise triangulated faces)
  bool objects = false;          // the OBJECTS section and the BLOCK_RECORD table
  bool points_3d = false;        // every point carries its Z, 2D data too
  std::string_view name = "12";  // as users name it: "12", "14", "2000"
};

// The traits of a release code; anything but 6 and 7 is release 12.
const ReleaseTraits& release_traits(int verDXF);

// A polyline is written in the classic form (POLYLINE, VERTEX, SEQEND) when the release has no
// light-weight polylines, when it is 3D, and for TIN input.
inline bool classic_polyline_form(const ReleaseTraits& r, bool has_z, bool tin) {
  return !r.lwpolyline || has_z || tin;
}

}  // namespace tsn
