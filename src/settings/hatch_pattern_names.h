// Names of the hatch patterns, indexed by pattern number; 0 is the solid fill.
#pragma once

#include <array>
#include <string_view>

namespace tsn {

inline constexpr std::array<std::string_view, 34> kHatchPatternNames = {
    "SOLID",   "ANGLE",    "ANSI31",  "ANSI32", "ANSI33", "ANSI34", "ANSI35",
    "ANSI36",  "ANSI37",   "ANSI138", "AR-B816", "AR-HBONE", "AR-SAND", "BRASS",
    "CLAY",    "CORK",     "CROSS",   "DASH",   "DOLMIT", "DOTS",   "EARTH",
    "FLEX",    "GRASS",    "GRATE",   "HEX",    "LINE",   "MUDST",  "NET",
    "NET3",    "SQUARE",   "STARS",   "SWAMP",  "TRIANG", "ZIGZAG"};

}  // namespace tsn
