// The polyline form and vertex lists.
#include "entities/polyline_writer.h"

#include "drawing/release_traits.h"

namespace tsn {

bool polyline_vertex_list_form(const ConvSettings& s, bool has_z) {
  return classic_polyline_form(release_traits(s.verDXF), has_z, s.cur.TIN != 0);
}

}  // namespace tsn
