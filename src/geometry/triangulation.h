// Ear clipping of one ring into triangles: the ring is prepared by triangulate_begin and each
// call of triangulate_next hands out the next face as indices into the vertex pool. Used for the
// solid fill of polygon parts (a joined outline or one chunk of it, in the (x,y) plane) and for
// the 3D faces of the rings of PolygonZ and MultiPatch shapes (in the plane the ring shows
// most of itself in).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/fill_plane.h"
#include "geometry/label_anchor.h"
#include "geometry/point_grid.h"
#include "input/shape_record.h"

namespace tsn {

// One face: 3 or 4 corners as pool indices, in ring order. on_ring[k] tells whether edge k,
// from corner k to the next one (the last back to the first), runs along the ring itself
// rather than across it.
struct Face {
  std::array<std::int32_t, 4> v{};
  std::array<bool, 4> on_ring{};
  int count = 0;
};

enum class TriangulateStep : std::uint8_t {
  face,    // a face was produced
  done,    // the ring is used up (possibly without any face: a ring of no area)
  failed,  // fewer than three usable vertices, a coordinate that is not a number, or a ring
           // the clipping could not finish (self-crossing); faces produced so far stand
};

struct TriangulateOptions {
  bool three_d = false;  // a 3D ring: its plane is chosen, its closing point compared in z too
  bool orient = false;   // a counter-clockwise ring is reversed first (the face fill); the
                         // solid fill hands in clockwise outlines and keeps their order
  bool retry = false;    // a 3D ring takes the first plane not yet marked in `tried`
};

// The working state of one ring; its arrays are reused from ring to ring.
struct Triangulation {
  enum class Phase : std::uint8_t { clipping, done, failed };

  Plane plane = Plane::xy;
  Phase phase = Phase::done;
  bool whole_ring = false;  // the ring itself is the one face still to hand out
  double eps = 0.0;
  std::int32_t remaining = 0;
  std::int32_t current = 0;  // the walk's current position
  std::int64_t work = 0;     // steps and vertex tests so far
  std::int64_t work_limit = 0;
  bool use_grid = false;
  std::vector<std::int32_t> index;  // pool index per position
  std::vector<PlanePoint> pts;      // projected point per position
  std::vector<std::int32_t> next;   // successor position of each remaining position
  std::vector<std::int32_t> prev;   // and its predecessor
  std::vector<char> pinch;          // another position lies on the same point (a touching place)
  std::vector<std::int32_t> order;  // positions by coordinates, for finding the touching places
  std::vector<char> removed;
  std::vector<char> edge_on_ring;  // the link from a position to its successor lies on the ring
  PointGrid grid;
};

// Prepares `ring` (pool indices; closed or not) for clipping. The tolerance is the smaller side
// of the ring's box in the working plane times 1e-20; a last point on the first (within it, in
// z too for a 3D ring) is dropped. A 2D ring is worked in (x,y). A 3D ring is worked in the
// plane choose_plane gives, or with opt.retry in the first plane (in the order (x,y), (x,z),
// (y,z)) not marked in `tried`; the plane used is marked. A ring of three vertices, or a convex
// one of four, is handed out whole as one face.
void triangulate_begin(Triangulation& t, std::span<const shape_point> pool,
                       std::span<const std::int32_t> ring, const TriangulateOptions& opt,
                       PlaneMarks& tried);

// The next face of the prepared ring. The walk goes round from the current corner q (first the
// ring's first vertex) looking at q, its successor a and theirs b: a is dropped where the three
// lie on one line (the link q-b then lies on the ring where both links it replaces did); where
// the ring turns clockwise at a and no other remaining vertex lies in the triangle q a b (on an
// edge counts, on a corner does not) that triangle is the face, a is cut off and the walk stays
// at q; otherwise q moves on to a. Moving on more than twice the remaining vertices without a
// face, or a ring that has used up its work limit (so that hostile rings end in bounded time),
// logs "1:ERROR OCCURRED in triangulate plane" and fails. Three vertices left make the last face
// unless they lie on one line. Rings of some size look the other vertices up in a grid.
TriangulateStep triangulate_next(Triangulation& t, Face& face);

}  // namespace tsn
