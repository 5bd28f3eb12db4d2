// The classes of a key: built from its distinct values by Unique Values, Quantile or Equal
// Intervals, and the lookup of a record's value in them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classify/key_values.h"
#include "settings/value_ranges.h"

namespace tsn {

// The small step between a class and the next of a real key.
inline constexpr double kRealStep = 0.0001;

enum class ClassMethod { quantile = 0, equal_intervals = 1, unique_values = 2 };

// The classes built from a key's values, and the class of every distinct value.
struct ClassTable : RangeSet {
  std::vector<std::uint16_t> value_class;
};

// The method used for `distinct` values and `requested` classes, given the key's method.
ClassMethod choose_method(std::size_t distinct, int requested, ClassMethod method, bool numeric);

// Builds the classes. `method` is set to the method used when that changes it to Quantile.
// Layer-key labels go through the layer-name rule of verDXF; the range separator is "-" for
// releases 12 and 14 and " - " for 2000. Returns the class count.
int create_classes(const KeyValues& values, ClassMethod& method, int requested, bool layer_key,
                   int verDXF, ClassTable& out);

// A real value in a label: six decimals below 10, five below 100, four from 100 up.
std::string decimal_label(double value);

// The classes are in ascending order without overlaps (as built; hand-made ranges may not be),
// so that a lookup may search them by halves and still find the first matching class.
bool ranges_ordered(const RangeSet& table, int sort_method);

// The class of a normalised value (with its number for numeric keys): the first class in table
// order that holds it, or -1. With `outside_flag` a numeric value below its class's range is
// outside too. `ordered` (from ranges_ordered) allows the faster search.
int class_of_value(const RangeSet& table, std::string_view text, double number,
                   bool outside_flag, int sort_method, bool ordered = false);

}  // namespace tsn
