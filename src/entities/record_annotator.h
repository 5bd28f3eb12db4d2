// What a drawn record shows of its table row besides its shape: text labels (one TEXT per
// label field, placed beside the shape, written to the label stream, doubles dropped on
// request) and feature attributes (extended entity data on its entities, or ATTRIBs after the
// INSERT that carries them, placed like labels with the attribute settings).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "drawing/drawing_writer.h"
#include "entities/attribute_data.h"
#include "entities/polyline_shape.h"
#include "geometry/label_overlap.h"
#include "geometry/label_placement.h"

namespace tsn {

class RecordAnnotator final : public RecordAnnotations {
 public:
  // `table` is the input's table, positioned on each record by the driver; `shape_class` 0
  // points, 1 lines, 2 polygons; `labels` the stream that label TEXTs go to.
  RecordAnnotator(const ConvSettings& s, TableReader& table, int shape_class,
                  const DrawingOut& labels);

  bool active() const { return labels_on() || extended_ || block_; }
  bool labels_on() const { return !label_fields_.empty(); }
  const std::vector<AttributeField>& fields() const { return fields_; }
  const std::vector<int>& label_fields() const { return label_fields_; }
  long labels_eliminated() const { return store_ ? store_->eliminated() : 0; }

  // A new record on this layer (where its ATTRIBs go, and its labels unless they have a layer
  // of their own).
  void begin_record(std::string_view layer);
  // Where the elevation of labels comes from when ElevText asks for it (point elevations).
  void set_elevation_source(const ElevationSource& source) { elevation_ = source; }

  void anchor_from_box(const shape_box& box, bool labels, bool attributes) override;
  void align_with_part(std::span<const shape_point> part, bool labels, bool attributes) override;
  void move_close_to_part(std::span<const shape_point> part, bool labels,
                          bool attributes) override;
  std::span<const XdataItem> extended_data() override;
  void record_done(const shape_box& box, std::optional<double> shape_z, bool has_z) override;
  int add_insert(const DrawingOut& out, const EntityLook& look, const InsertEntity& insert) override;

 private:
  // The block of `n` lines placed for the record, with the label or attribute settings.
  LabelPlacement place(const shape_box& box, int n, bool attributes) const;
  int write_labels(const shape_box& box, std::optional<double> shape_z, bool has_z);

  const ConvSettings& s_;
  TableReader& table_;
  int shape_class_;
  DrawingOut labels_;
  bool extended_ = false;
  bool block_ = false;
  std::vector<AttributeField> fields_;
  std::vector<int> label_fields_;            // in label order
  std::vector<std::string> label_layers_;    // of each label field; empty: the record's layer
  std::optional<LabelStore> store_;
  ElevationSource elevation_{};

  // The record in hand.
  std::string layer_;
  std::optional<shape_box> box_;
  std::span<const shape_point> label_part_;
  std::span<const shape_point> attribute_part_;
  std::vector<std::string> texts_;  // the label lines
  std::vector<std::size_t> text_slots_;  // the label field (its place in label_fields_) of each line
  // The extended data of the record in hand, made when first asked for.
  bool xdata_made_ = false;
  std::vector<std::string> xdata_values_;
  std::vector<XdataItem> xdata_;
};

}  // namespace tsn
