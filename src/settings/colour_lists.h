// Colour lists of the colour schemes file (and of a definition file's own section "Cols"):
// reading and writing a list, stretching or shrinking a graded one to a number of classes, and
// filling the 1024-entry table that classes take their colours from.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace tsn {

inline constexpr std::size_t kMaxColours = 1024;
inline constexpr int kColoursPerLine = 20;
inline constexpr std::string_view kSchemeIndexSection = "ColorSchemes";

// A list as stored: colour numbers (0..255) and whether it is a gradient.
struct ColourList {
  std::vector<std::uint8_t> colours;
  bool graded = false;
};

// Reads the list of `section` from the selected file: Grad, then lines "0", "1", ... of up to
// 20 comma-separated numbers (their low byte), to the first line of fewer than 20 numbers or
// 1024 colours. A missing line "0", or one starting with -1, gives an empty list.
ColourList read_colour_list(const Profile& file, std::string_view section);

// Replaces section `section` of the selected file by the list: Grad, then count / 20 + 1 lines
// of 20 numbers, the last holding the rest (empty when the count is a multiple of 20, which
// ends the list for a reader). The file's selected section is left as it was.
void write_colour_list(Profile& file, std::string_view section, const ColourList& list);

// Rewrites the scheme index of `target` (section ColorSchemes: NumSchemes and the names under
// 0..N-1) and, for every name, the list read from `source` under that name.
void write_all_schemes(Profile& target, const Profile& source,
                       std::span<const std::string> names);

// A graded list of L colours spread over n classes: unchanged when n is L or 0; stretched by
// repeating entries; shrunk keeping the first and last and picking evenly between them.
std::vector<std::uint8_t> resample_gradient(const std::vector<std::uint8_t>& list, std::size_t n);

// The colours of n classes: a graded list resampled to n, any other repeated; the result
// repeats its first max(n, minimum) entries cyclically to 1024 entries. Empty for an empty list.
std::vector<std::uint8_t> class_colour_table(const ColourList& list, std::size_t n,
                                             std::size_t minimum = 0);

}  // namespace tsn
