// The classes of a key as value ranges with labels: what the layer and colour keys look records
// up in, what definition files and legend range files store.
#pragma once

#include <string>
#include <vector>

namespace tsn {

inline constexpr int kMaxClasses = 1024;
inline constexpr std::size_t kMaxClassText = 127;  // alphabetic bounds
inline constexpr std::size_t kMaxLabelText = 255;

// How a key's values compare: as texts, as reals or as integers.
enum class NumberType { alphabetic = 0, real = 1, integer = 2 };

// One class: its label (the layer name, or the legend label of a colour class) and its range,
// inclusive at both ends.
struct KeyClass {
  std::string label;
  double lo = 0.0;
  double hi = 0.0;
  std::string lo_text;
  std::string hi_text;
};

// The classes of one key in table order. Hand-made sets may have gaps, overlaps and rows out
// of order.
struct RangeSet {
  std::vector<KeyClass> classes;
  NumberType type = NumberType::alphabetic;
};

}  // namespace tsn
