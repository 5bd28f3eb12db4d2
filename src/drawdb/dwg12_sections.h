// The sections of a release 12 binary drawing that the save assembles: table sections and
// entity sections, with the indices records are named by.
#pragma once

#include <cstdint>
#include <vector>

#include "drawdb/drawing.h"
#include "drawdb/dwg12_layout.h"
#include "drawdb/save_progress.h"

namespace tsn::dwg12 {

// The table index of a linetype (BYBLOCK and BYLAYER have none: they give 0).
std::uint16_t linetype_index(const Drawing& d, std::uint32_t linetype);
struct Indices;
// Counts, sizes and addresses of the tables when the first begins at `first_table_at`.
Tables table_layout(const Drawing& d, const Indices& ix, std::uint64_t first_table_at);
std::uint64_t tables_end(const Tables& t);
// All ten table sections; block_offsets[i] is where the i-th written block's BLOCK entity
// lies in the block entities section. False when a record came out of its size.
bool write_tables(BitWriter& w, const Drawing& d, const Indices& ix,
                  const std::vector<std::uint32_t>& block_offsets);

// What entity records name by index.
struct Indices {
  // The blocks the block table lists, in order: every live one but the two layouts; and
  // each drawing block's index there (-1 for one not listed).
  std::vector<std::uint32_t> written;
  std::vector<std::int32_t> block;
  explicit Indices(const Drawing& d);
};

struct EntityCounts {
  long hatches_left_out = 0;
};

// Writes one block's entities to `out`: with `frame`, between its BLOCK and ENDBLK records.
// Offsets of the records are `out`'s (file offsets, or block section ones with the section's
// flag). False once `out` failed.
bool write_block_entities(const Drawing& d, const Indices& ix, std::uint32_t block, bool frame,
                          Stream& out, SaveProgress& progress, EntityCounts& counts);

}  // namespace tsn::dwg12
