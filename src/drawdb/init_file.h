// The initialisation file "adinit2k.dat": default header variables, linetypes and the
// standard text style of every new drawing (layout in init_file_format.md).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "drawdb/db_records.h"

namespace tsn {

struct InitLinetype {
  std::string name, description;
  std::vector<double> dashes;
};

struct InitDefaults {
  DbHeader header;
  std::vector<InitLinetype> linetypes;
  DbStyle standard_style;
};

inline constexpr std::size_t kInitMaxBytes = 64 * 1024;
inline constexpr std::size_t kInitMaxLine = 255;
inline constexpr std::size_t kInitMaxLinetypes = 64;
inline constexpr std::size_t kInitMaxDashes = 12;

// The text of the file as the program ships it.
std::string_view default_init_text();

// Parses the file's text; on failure returns false with the line number (1-based) of the
// first bad line in *bad_line (0 when the whole text is refused).
bool parse_init_text(std::string_view text, InitDefaults& out, int* bad_line);

}  // namespace tsn
