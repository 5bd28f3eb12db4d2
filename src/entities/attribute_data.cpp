// Selected attribute fields, their written values and their extended entity data.
#include "entities/attribute_data.h"

#include <algorithm>

#include "classify/layer_name.h"
#include "dxf/basic_entities.h"
#include "dxf/tables_section.h"
#include "dxf/text_entities.h"

namespace tsn {
namespace {

constexpr std::size_t kMaxValueText = 255;

}  // namespace

std::vector<AttributeField> selected_attribute_fields(const ConvSettings& s,
                                                      const std::vector<dbf_field>& fields) {
  std::vector<AttributeField> out;
  const std::size_t n = std::min(fields.size(), static_cast<std::size_t>(kMaxFields));
  for (std::size_t i = 0; i < n; ++i) {
    if (s.def.attrib_fields[i] == 0) continue;
    out.push_back({static_cast<int>(i), fields[i].name, fields[i].width});
  }
  return out;
}

std::string_view written_field_value(std::string_view value, bool strip_spaces, int max_length) {
  if (strip_spaces) {
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  }
  std::size_t limit = kMaxValueText;
  if (max_length > 0) limit = std::min(limit, static_cast<std::size_t>(max_length));
  return value.substr(0, std::min(value.size(), limit));
}

int write_attribute_eed(DxfWriter& w, TableReader& table, std::span<const AttributeField> fields,
                        bool strip_spaces, int max_length) {
  if (!w.state.text_path) return -1;
  dxf_group(w, 1001, kAppId);
  dxf_group(w, 1002, "{");
  for (const AttributeField& f : fields) {
    dxf_group(w, 1000, f.name);
    dxf_group(w, 1000, written_field_value(table.read_field(f.index), strip_spaces, max_length));
  }
  dxf_group(w, 1002, "}");
  return 0;
}

std::string info_block_name(std::string_view input_base_name, int verDXF) {
  constexpr std::size_t kMaxBaseName = 249;
  // A file name may hold any character but "/": ";", "*", quotes, control characters ...
  std::string name;
  make_symbol_name(input_base_name, verDXF, kMaxBaseName, name);
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name + "_INFO";
}

int write_info_block(BlockStreams& streams, std::string_view name,
                     std::span<const AttributeField> fields, double height, double line_spacing) {
  constexpr int kHasAttributes = 2;
  if (begin_block(streams.first, streams.main, name, BlockPoint{}, kHasAttributes) != 0) return -1;
  // A point at the base, so that the block is never empty of geometry.
  if (dxf_point_entity(streams.first, "0", 0, BlockPoint{}) != 0) return -1;
  double y = 0.0;
  for (const AttributeField& f : fields) {
    if (dxf_attdef(streams.first, y, height, f.name, f.width) != 0) return -1;
    y -= (line_spacing + 1.0) * height;
  }
  return dxf_endblk(streams.first);
}

}  // namespace tsn
