// Rings of a polygon record: their boxes, which ring lies inside which (holes and islands), the
// turning direction of a ring, and the check for rings that touch themselves in a bad order.
#pragma once

#include <cstdint>
#include <vector>

#include "input/shape_record.h"

namespace tsn {

inline constexpr int kDepthUnassigned = 32000;

// What is worked out for one ring (one part of the record).
struct RingInfo {
  shape_box box{1e30, 1e30, -1e30, -1e30};
  std::int32_t leftmost = 0;  // index within the ring of its smallest X (first on ties)
  int depth = kDepthUnassigned;
  int parent = -1;
  int orientation = 0;  // 0 not yet computed, 1 counter-clockwise, -1 clockwise
};

// 1 or -1 for part `ring` of rec: from the leftmost vertex B (first on ties, the closing point
// left out) and its neighbours P before and N after, -1 when the Y component of the unit
// vector towards P is not greater than that towards N. P and N are the nearest vertices that
// do not lie on B; a ring with no such vertex gives 1 and the internal-error warning 13.
int ring_orientation(const shape_rec& rec, std::int32_t ring);

// The orientation kept in rings[ring], worked out by ring_orientation when it is still 0.
int known_orientation(const shape_rec& rec, std::vector<RingInfo>& rings, std::int32_t ring);

// Depth and parent of every ring: rings inside no other are level 0 (their own parents), rings
// directly inside a level-L ring are level L+1 with that ring as parent. Returns the number of
// levels; rings[] is resized to the record's parts.
int nest_rings(const shape_rec& rec, std::vector<RingInfo>& rings);

// True when ring `inner` lies inside ring `outer` (the containment test of nest_rings).
bool ring_inside(const shape_rec& rec, std::vector<RingInfo>& rings, std::int32_t inner,
                 std::int32_t outer);

// Logs "WARNING: Polygon Shape %ld has invalid points order." for every place where a ring
// touches itself with its four edges around that place in an order that is not a valid loop.
// Returns the number of warnings.
int check_ring_loops(const shape_rec& rec);

}  // namespace tsn
