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
  // Made or changed by hand (the range editor, a legend range file loaded in a dialog): a
  // conversion takes these classes as they stand instead of building them from the table.
  bool edited = false;
};

}  // namespace tsn

// Reading and writing range sets: the range sections of definition files and legend range
// files, the default class labels and the range texts of files older than format 243.

#include <optional>
#include <string_view>

namespace tsn {

class Profile;
struct ConvSettings;

// The label of a class that has none stored: "1", "2-5", "12.50000-20.00000", "A-M".
std::string default_range_label(const KeyClass& c, NumberType type);

// One range text of the old format: the low value, "-" and the high value, or a single value.
struct ParsedRange {
  double lo = 0.0;
  double hi = 0.0;       // equal to lo when the text holds a single value
  bool has_hi = false;
  bool valid = false;    // false when the text does not start with a number (lo, hi then 0)
  std::string text;      // the text in canonical form, used as the class label
};
ParsedRange parse_range_text(std::string_view text, NumberType type);

// Writes the ranges into RangesLayer/RangesLayerLabels or RangesColor/RangesColorLabels of the
// selected file, replacing those sections.
void write_layer_ranges(Profile& p, const ConvSettings& s);
void write_colour_ranges(Profile& p, const ConvSettings& s);

// Ranges as stored in one pair of range sections, not yet given to a key.
struct StoredRanges {
  RangeSet ranges;
  int class_type = 0;  // the section's Class
};
// Reads the layer range sections (layer_sections) or the colour range sections of the selected
// file; nullopt when the file's version predates ranges or the sections hold none. `current` is
// the key's present set (old colour sections fall back on its labels).
std::optional<StoredRanges> read_range_sections(Profile& p, int file_version,
                                                bool layer_sections, const RangeSet& current);
// Makes the ranges the layer key's (layer_key) or the colour key's: the ranges, the
// classification type and, unless it is Unique Values, the number of classes; for the colour
// key also the mark that the key field holds drawing colour numbers.
void apply_ranges(ConvSettings& s, bool layer_key, StoredRanges stored);

// Read the ranges of the selected definition file into the key: 0, or -1 when there are none
// (the key's current ranges are then kept). Section Tessaryn is selected afterwards.
int read_layer_ranges(Profile& p, int file_version, ConvSettings& s);
int read_colour_ranges(Profile& p, int file_version, ConvSettings& s);

}  // namespace tsn
