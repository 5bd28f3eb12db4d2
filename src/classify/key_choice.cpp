// Default key fields of a newly opened table.
#include "classify/key_choice.h"

#include <algorithm>
#include <string_view>

#include "input/table_reader.h"

namespace tsn {
namespace {

constexpr std::array<std::string_view, 11> kClassNames = {
    "LAYER", "CLASS", "TYPE", "STATE", "COUNTRY", "COUNTY",
    "REGION", "DISTRICT", "SUBURB", "ZIP", "POSTCODE"};
// Parts of names of fields that measure or identify rather than classify.
constexpr std::array<std::string_view, 11> kMeasureWords = {
    "CODE", "ID", "SIZE", "DEPTH", "HEIGHT", "COORD", "POP", "DISTANCE", "LONGI", "LATI", "DATE"};

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool contains(const std::string& name, std::string_view word) {
  return name.find(word) != std::string::npos;
}

bool looks_like_measure(const std::string& name, int shape_class) {
  if (std::any_of(kMeasureWords.begin(), kMeasureWords.end(),
                  [&](std::string_view w) { return contains(name, w); })) {
    return true;
  }
  if (shape_class == 2 && contains(name, "AREA")) return true;
  if ((shape_class == 1 || shape_class == 2) && contains(name, "PERIM")) return true;
  return (shape_class == 0 || shape_class == 2) && contains(name, "LENGTH");
}

template <std::size_t N>
int first_named(const std::vector<dbf_field>& fields, const std::array<std::string, N>& names) {
  for (const std::string& name : names) {
    if (name.empty()) continue;
    if (const int f = find_field(fields, name); f >= 0) return f;
  }
  return -1;
}

}  // namespace

int default_layer_key(const std::vector<dbf_field>& fields, const ConvSettings& s,
                      int shape_class) {
  if (fields.empty()) return -1;
  if (const int f = find_field(fields, s.def.LayersKey); f >= 0) return f;
  if (const int f = first_named(fields, s.recent_layer_keys); f >= 0) return f;
  for (const std::string_view name : kClassNames) {
    if (const int f = find_field(fields, name); f >= 0) return f;
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!looks_like_measure(upper(fields[i].name), shape_class)) return static_cast<int>(i);
  }
  return 0;
}

int default_colour_key(const std::vector<dbf_field>& fields, const ConvSettings& s,
                       int shape_class) {
  if (fields.empty()) return -1;
  if (const int f = find_field(fields, s.def.ColoursKey); f >= 0) return f;
  if (const int f = find_field(fields, "COLOR"); f >= 0) return f;
  if (const int f = first_named(fields, s.recent_colour_keys); f >= 0) return f;
  return default_layer_key(fields, s, shape_class);
}

bool names_colour_numbers(const std::string& field_name) {
  const std::string name = upper(field_name);
  return name == "COLOR" || name == "PEN";
}

}  // namespace tsn
