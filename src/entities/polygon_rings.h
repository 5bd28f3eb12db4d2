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
  double area = 0.0;    // enclosed area (of the signed sum, for a ring that crosses itself)
  int first_child = -1;   // the first ring directly inside this one, in part order
  int next_sibling = -1;  // the next ring with the same parent
};

// 1 or -1 for part `ring` of rec: from the leftmost vertex B (first on ties, the closing point
// left out) and its neighbours P before and N after, -1 when the Y component of the unit
// vector towards P is not greater than that towards N. P and N are the nearest vertices that
// do not lie on B; a ring with no such vertex gives 1 and the internal-error warning 13.
int ring_orientation(const shape_rec& rec, std::int32_t ring);

// The orientation kept in rings[ring], worked out by ring_orientation when it is still 0.
int known_orientation(const shape_rec& rec, std::vector<RingInfo>& rings, std::int32_t ring);

// Depth and parent of every ring: rings inside no other are level 0 (their own parents), and a
// ring lying wholly inside others is one level below the smallest of them, its parent. A ring
// that crosses the edge of a ring around it is not inside that ring. Of two rings inside each
// other (the same ring twice) the first in part order holds the second. Candidates are found
// by their boxes, so the work grows with the rings around each ring, not with all pairs.
// Returns the number of levels; rings[] is resized to the record's parts, with each ring's
// children linked in part order.
int nest_rings(const shape_rec& rec, std::vector<RingInfo>& rings);

// Calls f(child) for each ring directly inside ring r, in part order.
template <typename F>
void for_each_child(const std::vector<RingInfo>& rings, std::int32_t r, F&& f) {
  for (int h = rings[static_cast<std::size_t>(r)].first_child; h >= 0;
       h = rings[static_cast<std::size_t>(h)].next_sibling) {
    f(static_cast<std::int32_t>(h));
  }
}

// The rings in the order they are filled: by depth, in part order within one depth.
void rings_by_depth(const std::vector<RingInfo>& rings, int levels,
                    std::vector<std::int32_t>& out);

// Logs "WARNING: Polygon Shape %ld has invalid points order." for every place where a ring
// touches itself with its four edges around that place in an order that is not a valid loop.
// Returns the number of warnings.
int check_ring_loops(const shape_rec& rec);

}  // namespace tsn
