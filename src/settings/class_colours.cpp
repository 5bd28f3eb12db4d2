// Class colours from the mapping scheme, the colour list in use, or a ramp.
#include "settings/class_colours.h"

#include <algorithm>
#include <cmath>

#include "settings/colour_palette.h"
#include "settings/text_styles.h"

namespace tsn {
namespace {

constexpr int kUniqueValues = 2;
constexpr std::size_t kMaxMappedClasses = 256;
constexpr double kMaxMappedValue = 256.0;

// The table repeats the first k colours, k being the larger of the class count and NumColors.
void repeat_into(std::array<std::uint8_t, kMaxColours>& table,
                 const std::vector<std::uint8_t>& colours, std::size_t k) {
  k = std::clamp<std::size_t>(k, 1, colours.size());
  for (std::size_t i = 0; i < kMaxColours; ++i) table[i] = colours[i % k];
}

// The first scheme's colours: what ramp colours are matched against.
std::vector<std::uint8_t> first_scheme_colours(const ConvSettings& s) {
  if (s.scheme_names.empty()) return {};
  Profile p;
  p.select_file(s.colours_file);
  return read_colour_list(p, s.scheme_names.front()).colours;
}

}  // namespace

bool mapping_scheme_allowed(const RangeSet& classes, int method) {
  if (method != kUniqueValues || classes.type != NumberType::integer) return false;
  if (classes.classes.empty() || classes.classes.size() > kMaxMappedClasses) return false;
  return std::all_of(classes.classes.begin(), classes.classes.end(), [](const KeyClass& c) {
    return c.lo >= 0.0 && c.hi <= kMaxMappedValue;
  });
}

bool mapping_scheme_wanted(const ConvSettings& s) {
  return s.cur.AcadMapping == 1 || s.colour_key_holds_colour_numbers ||
         s.cur.DefaultColorSet == static_cast<int>(s.scheme_names.size());
}

std::vector<std::uint8_t> ramp_colours(int start, int end, std::size_t n,
                                       std::span<const std::uint8_t> candidates) {
  std::vector<std::uint8_t> out(n);
  if (n == 0) return out;
  const Rgb a = colour_rgb(start);
  const Rgb b = colour_rgb(end);
  const auto step = [&](int from, int to, std::size_t i) {
    return from + static_cast<int>(static_cast<double>(to - from) * static_cast<double>(i) /
                                       static_cast<double>(n) +
                                   0.5);
  };
  for (std::size_t i = 0; i < n; ++i) {
    Rgb target = i + 1 == n ? b : Rgb{step(a.r, b.r, i), step(a.g, b.g, i), step(a.b, b.b, i)};
    out[i] = nearest_colour(target, candidates);
  }
  return out;
}

bool compute_class_colours(ConvSettings& s) {
  const std::vector<KeyClass>& classes = s.colour_ranges.classes;
  const std::size_t n = classes.size();
  const auto minimum = static_cast<std::size_t>(std::max(0, s.def.NumColors));
  bool allowed = true;
  if (mapping_scheme_wanted(s) && n > 0) {
    allowed = mapping_scheme_allowed(s.colour_ranges, s.cur.ClassTypeColor);
    if (allowed) {
      std::vector<std::uint8_t> own(n);
      for (std::size_t i = 0; i < n; ++i) {
        own[i] = static_cast<std::uint8_t>(static_cast<int>(classes[i].lo) & 0xFF);
      }
      repeat_into(s.class_colours, own, std::max(n, minimum));
      return true;
    }
  }
  std::vector<std::uint8_t> table = class_colour_table(s.colour_list, n, minimum);
  if (table.empty()) table.assign(kMaxColours, 7);  // no list at all: one visible colour
  if (s.def.Ramp == 1 && n > 0) {
    const int start = s.def.RampStart >= 0 ? s.def.RampStart : table.front();
    const int end = s.def.RampEnd >= 0 ? s.def.RampEnd : table[n - 1];
    std::vector<std::uint8_t> candidates = first_scheme_colours(s);
    if (candidates.empty()) candidates = table;
    repeat_into(s.class_colours, ramp_colours(start, end, n, candidates), std::max(n, minimum));
    return allowed;
  }
  std::copy(table.begin(), table.end(), s.class_colours.begin());
  return allowed;
}

}  // namespace tsn
