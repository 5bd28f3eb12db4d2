// Cutting a long fill outline into chunks along inner diagonals, so that ear clipping, which is
// quadratic in the vertex count, only ever sees short rings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "input/shape_record.h"

namespace tsn {

inline constexpr std::size_t kMaxChunks = 4000;
// A chunk of this many entries (four corners and the closing one) is the smallest that a cut
// can still make smaller; smaller chunk sizes are raised to it.
inline constexpr std::int32_t kMinChunkSize = 5;

struct ChunkSplit {
  bool ok = true;                  // every chunk is short enough
  std::int32_t failed_chunk = -1;  // else the first chunk that could not be cut
};

// Cuts the closed outline (pool indices, the last entry the first one again or a point on it; a
// missing closing entry is added) into closed chunks of at most `chunk_size` entries, in the
// (x,y) plane. While some chunk is too long, the first such chunk of n entries is cut along a
// diagonal from position s to s + g: g is n divided by 2, 3, 4, 5, 6, 8, 10, 12, 15, 20, 30,
// 50, 80, 160, 250, 400 in turn (at least 3; the search ends after a g below 4), s runs over 0,
// stride, 2 stride ... below n - g - 1 with a stride of at most 49 and g / 3. A diagonal is
// taken when it leaves both ends into the ring's inside (the ring turns clockwise), has two
// distinct ends, and touches none of the ring's edges except the four at its ends. The cut
// keeps positions s..s+g (closed) in place and appends the rest, which shares the diagonal.
//
// A chunk that no diagonal cuts (or that would need more than kMaxChunks chunks, or a search
// beyond its work limit) stays whole, longer than chunk_size, and is reported in the result:
// the caller may log "Error occurred , Could not split chunk==%ld" with failed_chunk, but the
// chunks still cover the outline exactly and the clipper handles long ones, so the part can
// still be filled. An index outside the pool gives no chunks and chunk 0 as failed.
ChunkSplit split_into_chunks(std::span<const shape_point> pool,
                             std::span<const std::int32_t> outline, std::int32_t chunk_size,
                             std::vector<std::vector<std::int32_t>>& chunks);

}  // namespace tsn
