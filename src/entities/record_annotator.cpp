// Feature attributes of a record as extended data or as ATTRIBs after their carrier INSERT.
#include "entities/record_annotator.h"

#include <algorithm>

namespace tsn {
namespace {

// The attribute text style: the one asked for in the drawing's style list, else the setting.
std::string_view attribute_style(const ConvSettings& s) {
  if (s.drawing_styles.empty()) return s.cur.TextAttribStyle;
  const auto i = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(0, s.attrib_style)), 0,
                                         s.drawing_styles.size() - 1);
  return s.drawing_styles[i].first;
}

}  // namespace

RecordAnnotator::RecordAnnotator(const ConvSettings& s, TableReader& table, int shape_class)
    : s_(s), table_(table), shape_class_(shape_class) {
  fields_ = selected_attribute_fields(s, table.fields());
  const bool on = attributes_wanted(s.cur) && !fields_.empty();
  block_ = on && tsn::block_attributes(s.cur);
  extended_ = on && !block_;
}

void RecordAnnotator::begin_record(std::string_view layer) {
  layer_.assign(layer);
  box_.reset();
}

void RecordAnnotator::anchor_from_box(const shape_box& box, bool, bool) { box_ = box; }

void RecordAnnotator::align_with_part(std::span<const shape_point>, bool, bool) {}

void RecordAnnotator::move_close_to_part(std::span<const shape_point>, bool, bool) {}

void RecordAnnotator::attach_extended_data(DxfWriter& out) {
  if (extended_) write_attribute_eed(out, table_, fields_, s_.StripSpaces != 0, s_.cur.MaxAttribLen);
}

void RecordAnnotator::record_done(const shape_box& box) {
  if (!box_) box_ = box;
}

TextPlacement RecordAnnotator::attribute_placement(const shape_point& at) const {
  TextPlacement p;
  p.first = {at.x, at.y, at.z};
  p.justification = s_.cur.attrib_position[static_cast<std::size_t>(shape_class_)].AnnotJust;
  if (p.justification != 0) p.second = p.first;
  return p;
}

int RecordAnnotator::after_insert(DxfWriter& out, const shape_point& at) {
  if (block_) dxf_attributes_follow(out);
  if (extended_) attach_extended_data(out);
  if (!block_) return 0;
  const FileSettings& cur = s_.cur;
  const TextLook look{layer_, cur.AttribColSameAsShape != 0 ? 0 : cur.AttribTextColour,
                      cur.TextAttribHeight, attribute_style(s_)};
  TextPlacement place = attribute_placement(at);
  const double step = (1.0 + s_.LineSpacing) * cur.TextAttribHeight;
  for (const AttributeField& f : fields_) {
    const std::string_view value =
        written_field_value(table_.read_field(f.index), s_.StripSpaces != 0, cur.MaxAttribLen);
    if (dxf_attrib(out, look, place, value, f.name, cur.AttVis != 0) != 0) return -1;
    place.first.y -= step;
    if (place.second) place.second->y -= step;
  }
  return dxf_sequence_end(out);
}

}  // namespace tsn
