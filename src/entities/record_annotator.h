// The feature attributes of each drawn record: extended entity data on its entities, or ATTRIBs
// after the INSERT that carries them, placed like labels with the attribute settings.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dxf/text_entities.h"
#include "entities/attribute_data.h"
#include "entities/polyline_shape.h"

namespace tsn {

class RecordAnnotator final : public RecordAnnotations {
 public:
  // `table` is the input's table, positioned on the record by the driver; `shape_class` 0 points,
  // 1 lines, 2 polygons.
  RecordAnnotator(const ConvSettings& s, TableReader& table, int shape_class);

  bool extended_data() const { return extended_; }
  bool block_attributes() const { return block_; }
  const std::vector<AttributeField>& fields() const { return fields_; }

  // A new record on this layer (where its ATTRIBs go too).
  void begin_record(std::string_view layer);

  void anchor_from_box(const shape_box& box, bool labels, bool attributes) override;
  void align_with_part(std::span<const shape_point> part, bool labels, bool attributes) override;
  void move_close_to_part(std::span<const shape_point> part, bool labels,
                          bool attributes) override;
  void attach_extended_data(DxfWriter& out) override;
  void record_done(const shape_box& box) override;
  int after_insert(DxfWriter& out, const shape_point& at) override;

 private:
  // Where the record's attribute texts go: the first line's placement.
  TextPlacement attribute_placement(const shape_point& at) const;

  const ConvSettings& s_;
  TableReader& table_;
  int shape_class_;
  bool extended_ = false;
  bool block_ = false;
  std::vector<AttributeField> fields_;
  std::string layer_;
  std::optional<shape_box> box_;  // of the record, when the generator gave it
};

}  // namespace tsn
