// Where a hole meets the joined fill outline: a vertex it shares with the outline, or the
// outline vertex that a bridge from the hole's leftmost vertex can reach without touching any
// edge; and, for a vertex the outline passes more than once, the pass to attach the hole to.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "geometry/label_anchor.h"
#include "geometry/outline_edges.h"
#include "input/shape_record.h"

namespace tsn {

inline constexpr double kJoinTolerance = 1e-10;  // coincidence, and "at or left of" the anchor

// a and b are one place: within kJoinTolerance of each other in X and in Y.
inline bool join_near(PlanePoint a, PlanePoint b) {
  return std::fabs(a.x - b.x) < kJoinTolerance && std::fabs(a.y - b.y) < kJoinTolerance;
}

struct Segment {
  PlanePoint a, b;
};

// A hole ready to be spliced: its distinct vertices (pool indices) counter-clockwise, and the
// position of its first vertex with the smallest X.
struct HoleWalk {
  std::span<const std::int32_t> vertices;
  std::size_t anchor = 0;
};

struct JoinPoint {
  std::size_t outline_pos = 0;  // 0 .. outline size - 2 (never the closing entry)
  std::size_t hole_pos = 0;
};

// The first hole vertex (in hole order) that coincides within kJoinTolerance with an outline
// vertex, at the pass of that outline vertex whose interior holds the hole's corner.
std::optional<JoinPoint> find_shared_vertex(std::span<const shape_point> pool,
                                            std::span<const std::int32_t> outline,
                                            const HoleWalk& hole);

// The outline position the hole's bridge runs to: among the outline vertices at or left of
// the anchor, nearest first, the first whose segment to the anchor touches no outline edge
// except at that vertex, none of the hole's own edges except at the anchor, and none of
// `blockers`. `edges` holds the outline's edges. Nothing when no vertex qualifies.
std::optional<std::size_t> find_bridge_end(std::span<const shape_point> pool,
                                           std::span<const std::int32_t> outline,
                                           OutlineEdges& edges, const HoleWalk& hole,
                                           std::span<const Segment> blockers);

}  // namespace tsn
