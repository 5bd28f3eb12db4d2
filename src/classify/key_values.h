// The distinct values of a key field: every record's value normalised, gathered in one pass,
// sorted and merged with their counts, and the key's number type.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/dbf_field.h"
#include "input/table_reader.h"
#include "settings/value_ranges.h"

namespace tsn {

inline constexpr std::size_t kMaxKeyText = 255;

// One distinct value of a key field; its text lies in the owning KeyValues' text store.
struct KeyValue {
  std::size_t offset = 0;    // of the normalised text
  std::uint32_t length = 0;
  std::int32_t count = 0;    // records having it
  double number = 0.0;       // the text read as a number (numeric fields only)
};

// Comparison of key texts: 0 byte order, 1 letters A-Z compared as lower case.
int compare_key_text(std::string_view a, std::string_view b, int sort_method);

// A field text as a key value: cut to the field's width (at most 255), trimmed of spaces;
// empty becomes "UNNAMED" for a text field and "0" for a numeric one (type 'N'), and `blank`
// says so for the numeric case.
std::string_view normalise_key_text(std::string_view text, const dbf_field& field, bool& blank);

// The distinct values of one key, ascending (numbers by value, texts by the sort method). The
// texts share one store, so that a table of a million distinct values stays compact.
struct KeyValues {
  std::vector<KeyValue> values;
  bool numeric = false;
  NumberType type = NumberType::alphabetic;
  long records = 0;      // values gathered
  long blank_count = 0;  // numeric values that were empty

  std::string_view text(const KeyValue& v) const {
    return std::string_view(texts_).substr(v.offset, v.length);
  }
  std::string_view text(std::size_t i) const { return text(values[i]); }

  // One record's field text. The first 100 distinct values are kept unique as they come; later
  // ones are appended and merged by finish().
  void add(std::string_view text, const dbf_field& field, int sort_method);
  // Sorts, merges equal values (summing their counts) and sets the number type.
  void finish(int sort_method);
  // Room for this many values (a hint; the list grows beyond it when needed).
  void reserve(std::size_t records_expected) { values.reserve(records_expected); }

 private:
  std::vector<std::size_t> sorted_;  // indexes of the first values, in order
  std::string texts_;
};

// Reads the key field of every record of the table (from its first record) into out.
// Returns the number of distinct values, or -1 when a record cannot be read.
long load_key_values(TableReader& table, int field, int sort_method, KeyValues& out);

}  // namespace tsn
