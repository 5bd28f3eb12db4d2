// The polyline form and vertex lists.
#include "entities/polyline_writer.h"

#include "drawing/release_traits.h"

namespace tsn {

bool polyline_vertex_list_form(const ConvSettings& s, bool has_z) {
  return classic_polyline_form(release_traits(s.verDXF), has_z, s.cur.TIN != 0);
}

void polyline_vertices(std::span<const shape_point> points, std::vector<Point3>& out) {
  out.clear();
  for (const shape_point& p : points) out.push_back({p.x, p.y, p.z});
}

}  // namespace tsn
