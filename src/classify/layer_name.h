// Layer names as CAD accepts them: the cleaning rule applied to every layer name written.
#pragma once

#include <string>
#include <string_view>

namespace tsn {

// Longest layer name of releases 12 and 14.
inline constexpr std::size_t kMaxLayerName14 = 31;

// Cleans `name` into `out` for the release of verDXF (7: release 2000, otherwise 12 or 14).
// Release 2000 drops < > / \ : ; ? , * | =, the backquote and control characters. Releases 12
// and 14 upper-case the name, keep letters, digits, "$" and "-", turn every other character
// (control characters included) into one "_" (never two in a row, never right after "-" except
// for ".", never right before "-"), strip trailing "_" and cut the name to 31 characters. A
// name that ends up empty is "UNNAMED".
void make_layer_name(std::string_view name, int verDXF, std::string& out);
std::string make_layer_name(std::string_view name, int verDXF);

// The same rule for other symbol names made from outside text (a block named after the input
// file), cut to max_length characters in every release instead of 31.
void make_symbol_name(std::string_view name, int verDXF, std::size_t max_length,
                      std::string& out);

}  // namespace tsn
