// What the writers need of a fill face: the corner order of a SOLID, the invisible-edge flags of
// a 3DFACE, and the faces of one 3D ring with its retries in the other planes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/triangulation.h"
#include "input/shape_record.h"

namespace tsn {

// Pool indices of the four SOLID corners: P1 P2 P3 P3 for a triangle, P1 P2 P4 P3 for a
// four-corner face (a SOLID is drawn as the triangles of corners 1 2 3 and 2 3 4).
std::array<std::int32_t, 4> solid_corners(const Face& face);

// Pool indices of the four 3DFACE corners: a triangle repeats its third.
std::array<std::int32_t, 4> face_corners(const Face& face);

// DrawEdges bit values: 2 shows face edges at all, 1 the edge pattern of multipatch strips and
// fans.
inline constexpr int kDrawEdgesShown = 2;
inline constexpr int kDrawEdgesPattern = 1;

// Invisible-edge flags (group 70: 1, 2, 4, 8 for the first to fourth edge) of a 3DFACE whose
// edges are visible where `visible` says. A triangle's fourth edge, back from its repeated
// third corner, takes the flag of its third.
int invisible_edge_bits(std::array<bool, 4> visible, bool triangle);

// Invisible-edge flags of a 3DFACE made from a ring face. With DrawEdges bit value 2, the edges
// along the ring are visible and the edges across it invisible; without it every edge is
// invisible.
int ring_face_invisible_edges(const Face& face, int draw_edges);

// The faces of one ring of a 3D shape: triangulated in the plane chosen from its normal, and
// when that fails ("Error EDGES <=2" is logged and the faces are dropped) again in each plane
// not yet tried. Returns false, with no faces, when all three planes failed.
bool ring_faces(Triangulation& t, std::span<const shape_point> pool,
                std::span<const std::int32_t> ring, std::vector<Face>& faces);

}  // namespace tsn
