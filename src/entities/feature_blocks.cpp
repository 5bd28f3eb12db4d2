// The block frame, end and insertion of per-record blocks.
#include "entities/feature_blocks.h"

namespace tsn {

int FeatureBlockWriter::begin_block(const DrawingOut& blocks, std::string_view name,
                                    const shape_point& base, bool has_z) {
  return blocks.begin_block(BlockDef{name, {base.x, base.y, base.z}, 0, has_z});
}

int FeatureBlockWriter::end_block(const DrawingOut& blocks) { return blocks.end_block(); }

int FeatureBlockWriter::insert_block(const DrawingOut& out, std::string_view name,
                                     const EntityLook& look, const shape_point& at) {
  const InsertEntity insert{name, {at.x, at.y, at.z}, std::nullopt, false};
  if (annotations != nullptr) return annotations->add_insert(out, look, insert);
  return out.add(look, insert);
}

}  // namespace tsn
