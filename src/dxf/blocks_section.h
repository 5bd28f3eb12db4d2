// The BLOCKS section frame of DXF text output: the section head with the release 14 layout
// blocks, the block frame every block writer starts with, and the per-feature block names.
//
// Block frame layout:
//   %s0 BLOCK, %s8 0; release 14: "  5" handle, 100 AcDbEntity, 100 AcDbBlockBegin;
//   %s2 name, %s70 flags, base point (10/20/30 by the Z rule), %s3 name, %s1 (empty).
//   Release 14 also appends to the BLOCK_RECORD table on the main stream:
//   "  0\nBLOCK_RECORD\n", handle, AcDbSymbolTableRecord, AcDbBlockTableRecord, "  2" name.
// The contents follow, and dxf_endblk ends the block.
#pragma once

#include <string>
#include <string_view>

#include "drawing/drawing_entities.h"
#include "dxf/dxf_writer.h"
#include "settings/name_counter.h"

namespace tsn {

// The streams of one text output that blocks touch. All three share one DxfState.
//   main:   the output file, where the BLOCK_RECORD table is open (release 14);
//   first:  the first block file: section head, layout, marker, legend and attribute blocks,
//           and the POL, ARC and MPT feature blocks;
//   second: the second block file: the FIL feature blocks, then the section's ENDSEC.
struct BlockStreams {
  DxfWriter& main;
  DxfWriter& first;
  DxfWriter& second;
};

using BlockPoint = Point3;

inline constexpr std::string_view kModelSpaceBlock = "*MODEL_SPACE";
inline constexpr std::string_view kPaperSpaceBlock = "*PAPER_SPACE";

// Writes the block frame of `name` to `block` and, in release 14, its BLOCK_RECORD entry to
// `records` (the main stream). Returns 0; -1 outside the text path (the drawing database's
// block table is not reached from here).
int begin_block(DxfWriter& block, DxfWriter& records, std::string_view name,
                const BlockPoint& base, int flags);

// The section head on the first block stream and, in release 14, the empty "*MODEL_SPACE" and
// "*PAPER_SPACE" blocks (flags 0, base at the origin). Returns 0; -1 outside the text path.
int open_blocks_section(BlockStreams& streams);

// The ENDSEC that closes the section, written to the second block stream after the last
// record.
void close_blocks_section(DxfWriter& second);

// A per-feature block begun under its generated name.
struct FeatureBlock {
  std::string name;  // "POL", "ARC", "FIL" or "MPT" and five base-36 digits
  int result = 0;    // begin_block's result
};

// Names the next block of `kind` (counting it) and writes its frame with flags 0: FIL blocks to
// the second block stream with base at the origin, the others to the first with base `base`
// (MPT blocks with Z 0). The caller writes the contents and ends the block with dxf_endblk on
// feature_block_stream(streams, kind).
FeatureBlock next_feature_block_name(BlockStreams& streams, NameCounters& counters,
                                     NameKind kind, const BlockPoint& base);

// The block stream a per-feature block of `kind` is written to.
DxfWriter& feature_block_stream(BlockStreams& streams, NameKind kind);

}  // namespace tsn
