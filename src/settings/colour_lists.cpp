// Reading, writing, resampling and expanding colour lists.
#include "settings/colour_lists.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/default_files.h"
#include "platform/paths.h"

namespace tsn {
namespace {

constexpr int kMaxLines = 52;
constexpr std::size_t kMaxLineChars = 259;

// Up to 20 integers separated by commas (blanks allowed around them); stops at the first
// token that is not a number.
std::vector<long> parse_line(std::string_view line) {
  std::vector<long> out;
  while (!line.empty() && out.size() < static_cast<std::size_t>(kColoursPerLine)) {
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    long v = 0;
    const auto r = std::from_chars(line.data(), line.data() + line.size(), v);
    if (r.ec != std::errc{}) break;
    out.push_back(v);
    line.remove_prefix(static_cast<std::size_t>(r.ptr - line.data()));
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (line.empty() || line.front() != ',') break;
    line.remove_prefix(1);
  }
  return out;
}

}  // namespace

ColourList read_colour_list(const Profile& file, std::string_view section) {
  Profile p = file;
  p.select_section(section);
  ColourList list;
  list.graded = p.read_int("Grad", 0) == 1;
  for (int line = 0; line < kMaxLines && list.colours.size() < kMaxColours; ++line) {
    const std::vector<long> numbers =
        parse_line(p.read_string(std::to_string(line), "", kMaxLineChars));
    if (line == 0 && (numbers.empty() || numbers.front() == -1)) return {{}, list.graded};
    for (const long n : numbers) {
      if (list.colours.size() == kMaxColours) break;
      list.colours.push_back(static_cast<std::uint8_t>(n & 0xFF));
    }
    if (numbers.size() < static_cast<std::size_t>(kColoursPerLine)) break;
  }
  return list;
}

void write_colour_list(Profile& file, std::string_view section, const ColourList& list) {
  const std::string previous = file.section();
  file.select_section(section);
  file.erase_section();
  file.write_int("Grad", list.graded ? 1 : 0);
  const std::span<const std::uint8_t> colours(list.colours);
  const std::vector<std::string> lines =
      colour_list_lines(colours.first(std::min(colours.size(), kMaxColours)));
  for (std::size_t i = 0; i < lines.size(); ++i) file.write_string(std::to_string(i), lines[i]);
  file.select_section(previous);
}

void write_all_schemes(Profile& target, const Profile& source,
                       std::span<const std::string> names) {
  const std::string previous = target.section();
  target.select_section(kSchemeIndexSection);
  target.erase_section();
  target.write_int("NumSchemes", static_cast<int>(names.size()));
  for (std::size_t i = 0; i < names.size(); ++i) target.write_string(std::to_string(i), names[i]);
  for (const std::string& name : names) {
    // A scheme named like the index section would overwrite the index just written.
    if (equal_ignoring_case(name, kSchemeIndexSection)) continue;
    write_colour_list(target, name, read_colour_list(source, name));
  }
  target.select_section(previous);
}

std::vector<std::uint8_t> resample_gradient(const std::vector<std::uint8_t>& list, std::size_t n) {
  const std::size_t l = list.size();
  if (n == l || n == 0 || l == 0) return list;
  std::vector<std::uint8_t> out(n);
  if (l < n) {
    const double c = static_cast<double>(n) / static_cast<double>(l);
    for (std::size_t i = 0; i < n; ++i) {
      out[i] = list[std::min(l - 1, static_cast<std::size_t>((static_cast<double>(i) + 0.5) / c))];
    }
    return out;
  }
  const auto middle = [&] {
    return static_cast<std::size_t>(std::floor(static_cast<double>(l) * 0.5 + 0.5)) - 1;
  };
  if (n == 1) return {list[middle()]};
  out.front() = list.front();
  out.back() = list.back();
  if (n == 3) {
    out[1] = list[middle()];
  } else {
    for (std::size_t i = 1; i + 1 < n; ++i) {
      const double at = ((static_cast<double>(i) + 0.5) * static_cast<double>(l) + 1) /
                        static_cast<double>(n);
      out[i] = list[std::min(l - 1, static_cast<std::size_t>(std::floor(at)))];
    }
  }
  return out;
}

std::vector<std::uint8_t> class_colour_table(const ColourList& list, std::size_t n,
                                             std::size_t minimum) {
  if (list.colours.empty()) return {};
  const std::vector<std::uint8_t> base =
      list.graded ? resample_gradient(list.colours, n) : list.colours;
  // The list repeated to 1024 colours, then its first k colours repeated in turn.
  const std::size_t k = std::clamp<std::size_t>(std::max(n, minimum), 1, kMaxColours);
  std::vector<std::uint8_t> table(kMaxColours);
  for (std::size_t i = 0; i < kMaxColours; ++i) table[i] = base[(i % k) % base.size()];
  return table;
}

}  // namespace tsn
