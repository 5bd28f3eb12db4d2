// Per-record blocks of the entity generators ("ARC", "MPT" and the like): the block frame on
// the feature block stream, ENDBLK, and the one INSERT of the block on the record's layer.
#pragma once

#include "drawing/drawing_writer.h"
#include "entities/polyline_shape.h"

namespace tsn {

class FeatureBlockWriter final : public AttributeBlockWriter {
 public:
  // What follows each INSERT for the record's attributes; none when null.
  RecordAnnotations* annotations = nullptr;

  int begin_block(const DrawingOut& blocks, std::string_view name, const shape_point& base,
                  bool has_z) override;
  int end_block(const DrawingOut& blocks) override;
  // The INSERT, then the record's attributes.
  int insert_block(const DrawingOut& out, std::string_view name, const EntityLook& look,
                   const shape_point& at) override;
};

}  // namespace tsn
