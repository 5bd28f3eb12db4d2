// Selected attribute fields, their written values and their extended entity data.
#include "entities/attribute_data.h"

#include <algorithm>

#include "classify/layer_name.h"

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

void attribute_eed(TableReader& table, std::span<const AttributeField> fields, bool strip_spaces,
                   int max_length, std::vector<std::string>& values, std::vector<XdataItem>& items) {
  values.resize(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    values[i].assign(written_field_value(table.read_field(fields[i].index), strip_spaces, max_length));
  }
  items.clear();
  items.push_back({1001, kAppId});
  items.push_back({1002, "{"});
  for (std::size_t i = 0; i < fields.size(); ++i) {
    items.push_back({1000, fields[i].name});
    items.push_back({1000, values[i]});
  }
  items.push_back({1002, "}"});
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

int write_info_block(const DrawingOut& blocks, std::string_view name,
                     std::span<const AttributeField> fields, double height, double line_spacing) {
  constexpr int kHasAttributes = 2;
  if (blocks.begin_block(BlockDef{name, {}, kHasAttributes, false}) != 0) return -1;
  // A point at the base, so that the block is never empty of geometry.
  if (blocks.add({"0", 0, false}, PointEntity{}) != 0) return -1;
  double y = 0.0;
  for (const AttributeField& f : fields) {
    if (blocks.add({"0", 0, false}, AttdefEntity{y, height, f.name, f.width}) != 0) return -1;
    y -= (line_spacing + 1.0) * height;
  }
  return blocks.end_block();
}

}  // namespace tsn
