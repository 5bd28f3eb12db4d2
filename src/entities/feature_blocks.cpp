// The block frame, end and insertion of per-record blocks.
#include "entities/feature_blocks.h"

#include "dxf/basic_entities.h"
#include "dxf/blocks_section.h"

namespace tsn {

int FeatureBlockWriter::begin_block(DxfWriter& blocks, std::string_view name,
                                    const shape_point& base) {
  return tsn::begin_block(blocks, records_, name, {base.x, base.y, base.z}, 0);
}

int FeatureBlockWriter::end_block(DxfWriter& blocks) { return dxf_endblk(blocks); }

int FeatureBlockWriter::insert_block(DxfWriter& out, std::string_view name,
                                     std::string_view layer, int colour, const shape_point& at) {
  if (dxf_insert(out, name, layer, colour, {at.x, at.y, at.z}) != 0) return -1;
  return annotations != nullptr ? annotations->after_insert(out, at) : 0;
}

}  // namespace tsn
