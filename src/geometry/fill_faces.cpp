// SOLID corner order, 3DFACE edge flags and the retried triangulation of a 3D ring.
#include "geometry/fill_faces.h"

#include "platform/messages.h"

namespace tsn {

std::array<std::int32_t, 4> solid_corners(const Face& face) {
  if (face.count == 4) return {face.v[0], face.v[1], face.v[3], face.v[2]};
  return {face.v[0], face.v[1], face.v[2], face.v[2]};
}

std::array<std::int32_t, 4> face_corners(const Face& face) {
  if (face.count == 4) return face.v;
  return {face.v[0], face.v[1], face.v[2], face.v[2]};
}

int invisible_edge_bits(std::array<bool, 4> visible, bool triangle) {
  if (triangle) visible[3] = visible[2];
  int bits = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    if (!visible[k]) bits |= 1 << k;
  }
  return bits;
}

int ring_face_invisible_edges(const Face& face, int draw_edges) {
  if ((draw_edges & kDrawEdgesShown) == 0) return invisible_edge_bits({}, false);
  return invisible_edge_bits(face.on_ring, face.count != 4);
}

bool ring_faces(Triangulation& t, std::span<const shape_point> pool,
                std::span<const std::int32_t> ring, std::vector<Face>& faces) {
  PlaneMarks tried{};
  TriangulateOptions opt;
  opt.three_d = true;
  opt.orient = true;
  for (int attempt = 0; attempt < 3; ++attempt) {
    opt.retry = attempt > 0;
    faces.clear();
    triangulate_begin(t, pool, ring, opt, tried);
    Face face;
    TriangulateStep step;
    while ((step = triangulate_next(t, face)) == TriangulateStep::face) faces.push_back(face);
    if (step == TriangulateStep::done) return true;
    status_write("\nError EDGES <=2");
  }
  faces.clear();
  return false;
}

}  // namespace tsn
