// The numbered field list of the run summary.
#include "run/field_listing.h"

namespace tsn {

namespace {

std::string field_entry(std::size_t number, const dbf_field& field) {
  std::string entry = std::to_string(number) + " ";
  for (const char c : field.name) {
    const auto byte = static_cast<unsigned char>(c);
    entry += byte < 0x20 || byte == 0x7f ? '?' : c;
  }
  entry += " (";
  entry += field.type;
  entry += ')';
  return entry;
}

}  // namespace

std::string field_listing(const std::vector<dbf_field>& fields, std::size_t width) {
  static constexpr std::string_view kFirst = "\n  fields ";
  static constexpr std::string_view kNext = "\n         ";
  std::string out;
  std::size_t column = 0;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string entry = field_entry(i, fields[i]);
    if (i + 1 < fields.size()) entry += ',';
    if (i == 0) {
      out += kFirst;
      column = kFirst.size() - 1;
    } else if (column + 1 + entry.size() >= width) {
      out += kNext;
      column = kNext.size() - 1;
    } else {
      out += ' ';
      ++column;
    }
    out += entry;
    column += entry.size();
  }
  return out;
}

}  // namespace tsn
