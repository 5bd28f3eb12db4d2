// Labels and feature attributes of each drawn record.
#include "entities/record_annotator.h"

#include <algorithm>

#include "classify/layer_name.h"
#include "entities/text_block.h"
#include "geometry/label_placement.h"
#include "settings/text_styles.h"

namespace tsn {
namespace {


// Label fields in label order (their positions 1, 2, ...).
std::vector<int> label_order(const ConvSettings& s, std::size_t field_count) {
  std::vector<std::pair<int, int>> by_position;
  const std::size_t n = std::min(field_count, static_cast<std::size_t>(kMaxFields));
  for (std::size_t i = 0; i < n; ++i) {
    if (s.def.label_fields[i] > 0) by_position.emplace_back(s.def.label_fields[i], static_cast<int>(i));
  }
  std::stable_sort(by_position.begin(), by_position.end());
  std::vector<int> out;
  for (const auto& [position, field] : by_position) out.push_back(field);
  return out;
}

}  // namespace

RecordAnnotator::RecordAnnotator(const ConvSettings& s, TableReader& table, int shape_class,
                                 const DrawingOut& labels)
    : s_(s), table_(table), shape_class_(shape_class), labels_(labels) {
  fields_ = selected_attribute_fields(s, table.fields());
  const bool on = attributes_wanted(s.cur) && !fields_.empty();
  block_ = on && block_attributes(s.cur);
  extended_ = on && !block_;
  if (s.cur.TextLabels != 0) label_fields_ = label_order(s, table.fields().size());
  // The label layer of each label field: one for all labels, one per field, or (empty) the
  // record's own layer.
  for (const int f : label_fields_) {
    std::string name;
    if (s.cur.flgSingleRedlineLayer == 1) {
      name = make_layer_name(s.cur.SingleRedlineLayer, s.verDXF);
    } else if (s.cur.flgSingleRedlineLayer != 0) {
      name = make_layer_name(table.fields()[static_cast<std::size_t>(f)].name, s.verDXF);
    }
    label_layers_.push_back(std::move(name));
  }
  if (labels_on() && s.cur.ElimDoubleLabels != 0) store_.emplace(overlap_settings(s));
}

void RecordAnnotator::begin_record(std::string_view layer) {
  layer_.assign(layer);
  box_.reset();
  label_part_ = {};
  attribute_part_ = {};
  xdata_made_ = false;
}

void RecordAnnotator::anchor_from_box(const shape_box& box, bool, bool) { box_ = box; }

void RecordAnnotator::align_with_part(std::span<const shape_point> part, bool labels,
                                      bool attributes) {
  if (labels && label_part_.empty()) label_part_ = part;
  if (attributes && attribute_part_.empty()) attribute_part_ = part;
}

void RecordAnnotator::move_close_to_part(std::span<const shape_point> part, bool labels,
                                         bool attributes) {
  // The search runs on the first part only.
  align_with_part(part, labels, attributes);
}

std::span<const XdataItem> RecordAnnotator::extended_data() {
  if (!extended_) return {};
  if (!xdata_made_) {
    attribute_eed(table_, fields_, s_.StripSpaces != 0, s_.cur.MaxAttribLen, xdata_values_, xdata_);
    xdata_made_ = true;
  }
  return xdata_;
}

LabelPlacement RecordAnnotator::place(const shape_box& box, int n, bool attributes) const {
  LabelRequest request = label_request(s_, box, shape_class_, n, attributes);
  request.part = attributes ? attribute_part_ : label_part_;
  return place_label(request);
}

void RecordAnnotator::record_done(const shape_box& box, std::optional<double> shape_z,
                                  bool has_z) {
  if (!box_) box_ = box;
  if (labels_on()) write_labels(*box_, shape_z, has_z);
}

int RecordAnnotator::write_labels(const shape_box& box, std::optional<double> shape_z,
                                  bool has_z) {
  texts_.clear();
  text_slots_.clear();
  for (std::size_t slot = 0; slot < label_fields_.size(); ++slot) {
    const std::string_view text = written_field_value(table_.read_field(label_fields_[slot]), true, 0);
    if (text.empty()) continue;  // a blank field gives no line
    texts_.emplace_back(text.substr(0, std::min(text.size(), kMaxLabelText)));
    text_slots_.push_back(slot);
  }
  if (texts_.empty()) return 0;
  const FileSettings& cur = s_.cur;
  const LabelPlacement placed = place(box, static_cast<int>(texts_.size()), false);
  if (store_ && store_->eliminate_double_label(std::span<const std::string>(texts_), placed.rotation,
                                               placed.insertion) != 0) {
    return 0;
  }
  const int just = cur.label_position[static_cast<std::size_t>(shape_class_)].AnnotJust;
  // With ElevText, labels stand at the shape's Z, or at the record's elevation when point
  // elevations are on.
  double z = 0.0;
  if (cur.ElevText != 0) {
    if (shape_z) {
      z = *shape_z;
    } else if (cur.PointsElev != 0) {
      z = record_elevation(elevation_);
    }
  }
  TextBlockLines lines(placed, just, cur.TextLabelsHeight, s_.LineSpacing, z, s_.TextWidthFactor);
  const std::string_view style = drawing_style_name(s_, s_.label_style, cur.TextLabelsStyle);
  for (std::size_t line = 0; line < texts_.size(); ++line) {
    const std::string& own_layer = label_layers_[text_slots_[line]];
    const std::string_view layer = own_layer.empty() ? std::string_view(layer_) : own_layer;
    const std::string& text = texts_[line];
    const TextEntity label{lines.line(text), cur.TextLabelsHeight, style, text};
    if (labels_.add({layer, cur.TextColour, has_z}, label) != 0) return -1;
    lines.next();
  }
  return 0;
}

int RecordAnnotator::add_insert(const DrawingOut& out, const EntityLook& look,
                                const InsertEntity& insert) {
  InsertEntity with = insert;
  with.attributes_follow = block_;
  const Entity e{look, with, {}, extended_data()};
  if (out.add(e) != 0) return -1;
  if (!block_) return 0;
  const shape_point at{insert.at.x, insert.at.y, insert.at.z};
  const FileSettings& cur = s_.cur;
  const shape_box box = box_ ? *box_ : shape_box{at.x, at.y, at.x, at.y};
  const LabelPlacement placed = place(box, static_cast<int>(fields_.size()), true);
  const int just = cur.attrib_position[static_cast<std::size_t>(shape_class_)].AnnotJust;
  TextBlockLines lines(placed, just, cur.TextAttribHeight, s_.LineSpacing, at.z,
                       s_.TextWidthFactor);
  const EntityLook attrib_look{layer_, cur.AttribColSameAsShape != 0 ? 0 : cur.AttribTextColour,
                              look.has_z};
  const std::string_view style = drawing_style_name(s_, s_.attrib_style, cur.TextAttribStyle);
  for (const AttributeField& f : fields_) {
    const std::string_view value =
        written_field_value(table_.read_field(f.index), s_.StripSpaces != 0, cur.MaxAttribLen);
    const AttribEntity attrib{lines.line(value), cur.TextAttribHeight, style, value, f.name,
                              cur.AttVis != 0};
    if (out.add(attrib_look, attrib) != 0) return -1;
    lines.next();
  }
  return out.add(look, SequenceEnd{});
}

}  // namespace tsn
