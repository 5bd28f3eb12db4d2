// Joining a filled polygon's outer ring and the holes directly inside it into one closed
// outline for the triangulated fill: each hole is spliced in at a vertex it shares with the
// outline, or through a bridge, an edge walked once in each direction.
//
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "input/shape_record.h"

namespace tsn {

// A ring as a run of consecutive points of the vertex pool (one part of the record). It may
// repeat its first point at its end or not.
struct PoolRing {
  std::int32_t first = 0;
  std::int32_t count = 0;
};

struct JoinHole {
  PoolRing ring;
  int orientation = 1;  // ring_orientation of the hole: -1 clockwise, else counter-clockwise
};

inline constexpr int kJoinDone = 0;
inline constexpr int kJoinFailed = 1;    // no colour fill for the part; its outline stays
inline constexpr int kJoinNoMemory = 2;  // the run is to be stopped

struct JoinedOutline {
  int result = kJoinDone;
  std::vector<std::int32_t> outline;  // pool indices, closed (last == first); empty on failure
  std::vector<std::string> trace;     // developer diagnostics, for the trace file
  std::string message;                // for the status list, set when the join failed
};

// Joins the holes into the outer ring, in ascending order of their smallest X (table order on
// ties). The outer ring is walked clockwise (the fill draws no other): a ring stored
// counter-clockwise is given with `reverse_outer` and walked backwards from its first point,
// so that the joined outline is the stored ring reversed when there are no holes. Holes are walked
// counter-clockwise, a clockwise one reversed. A hole meeting the outline at a vertex is
// spliced in there; any other is bridged from its leftmost vertex to the nearest outline
// vertex at or left of it that it can see, and a hole that can see none fails the join.
// Holes of fewer than three points have no area and are left out; an outer ring of fewer than
// three points is returned as it is. Indices outside the pool or coordinates that are not
// finite fail the join.
JoinedOutline create_single_poly(std::span<const shape_point> pool, PoolRing outer,
                                 std::span<const JoinHole> holes, bool reverse_outer = false);

}  // namespace tsn
