// The BLOCKS section frame, the block frame with its release 14 BLOCK_RECORD entry, and the
// per-feature block names.
#include "dxf/blocks_section.h"

#include <array>

namespace tsn {
namespace {

// The layout blocks release 14 defines empty at the head of the section, in this order.
constexpr std::array<std::string_view, 2> kLayoutBlocks{{kModelSpaceBlock, kPaperSpaceBlock}};

// The BLOCK_RECORD entry of a block just begun; nothing outside release 14 text.
void append_block_record(DxfWriter& records, std::string_view name) {
  if (!records.state.r14_text) return;
  dxf_write(records, "  0\nBLOCK_RECORD\n");
  dxf_table_record_handle(records, "Block");
  dxf_group(records, 2, name);
}

}  // namespace

int begin_block(DxfWriter& block, DxfWriter& records, std::string_view name,
                const BlockPoint& base, int flags) {
  if (!block.state.text_path) return -1;
  dxf_prefixed_group(block, 0, "BLOCK");
  dxf_prefixed_group(block, 8, "0");
  dxf_entity_handle(block);
  dxf_block_begin_marker(block);
  dxf_prefixed_group(block, 2, name);
  dxf_prefixed_int(block, 70, flags);
  dxf_point(block, 10, base.x, base.y, base.z);
  dxf_prefixed_group(block, 3, name);
  dxf_prefixed_group(block, 1, "");
  append_block_record(records, name);
  return 0;
}

int open_blocks_section(BlockStreams& streams) {
  DxfWriter& first = streams.first;
  if (!first.state.text_path) return -1;
  dxf_prefixed_group(first, 0, "SECTION");
  dxf_prefixed_group(first, 2, "BLOCKS");
  if (!first.state.r14_text) return 0;
  for (const std::string_view name : kLayoutBlocks) {
    begin_block(first, streams.main, name, BlockPoint{}, 0);
    dxf_endblk(first);
  }
  return 0;
}

void close_blocks_section(DxfWriter& second) { dxf_prefixed_group(second, 0, "ENDSEC"); }

DxfWriter& feature_block_stream(BlockStreams& streams, NameKind kind) {
  return kind == NameKind::fill ? streams.second : streams.first;
}

FeatureBlock next_feature_block_name(BlockStreams& streams, NameCounters& counters,
                                     NameKind kind, const BlockPoint& base) {
  FeatureBlock out;
  out.name = counters.next_name(kind);
  BlockPoint at = base;
  if (kind == NameKind::fill) at = BlockPoint{};
  if (kind == NameKind::multipoint) at.z = 0.0;
  out.result = begin_block(feature_block_stream(streams, kind), streams.main, out.name, at, 0);
  return out;
}

}  // namespace tsn
