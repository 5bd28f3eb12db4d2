// A column of an attribute table (dBase or comma-delimited): type, decimals, name, width.
#pragma once

#include <string>

namespace tsn {

inline constexpr int kMaxTableFields = 256;
inline constexpr std::size_t kFieldNameChars = 11;

struct dbf_field {
  char type = 'C';    // 'C' text, 'N' numeric, 'D' date, 'L' logical, others as read; 'U' unknown
  int decimals = 0;   // decimal count (-1 for an integer column of a comma-delimited table)
  std::string name;   // at most 11 characters
  int width = 0;      // bytes of the field in a dBase record; longest value in a text table
};

}  // namespace tsn
