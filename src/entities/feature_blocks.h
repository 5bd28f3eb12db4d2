// Per-record blocks of the entity generators ("ARC", "MPT" and the like): the block frame on
// the feature block stream, ENDBLK, and the one INSERT of the block on the record's layer.
#pragma once

#include "dxf/dxf_writer.h"
#include "entities/polyline_shape.h"

namespace tsn {

class FeatureBlockWriter final : public AttributeBlockWriter {
 public:
  // `records` is the main stream, where release 14 lists every block in BLOCK_RECORD.
  explicit FeatureBlockWriter(DxfWriter& records) : records_(records) {}

  // What follows each INSERT for the record's attributes; none when null.
  RecordAnnotations* annotations = nullptr;

  int begin_block(DxfWriter& blocks, std::string_view name, const shape_point& base) override;
  int end_block(DxfWriter& blocks) override;
  // The INSERT, then the record's attributes.
  int insert_block(DxfWriter& out, std::string_view name, std::string_view layer, int colour,
                   const shape_point& at) override;

 private:
  DxfWriter& records_;
};

}  // namespace tsn
