// Field values as numbers, the choice of a point table's X, Y and elevation fields, and its
// extents.
#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "input/input_report.h"
#include "input/table_reader.h"

namespace tsn {

namespace {

// strtod in the "C" locale whatever the process locale is: '.' is always the decimal point.
locale_t c_locale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t{});
  return loc;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return upper(x) == upper(y); });
}

bool name_contains(std::string_view name, std::string_view part) {
  std::string up(name);
  std::transform(up.begin(), up.end(), up.begin(), upper);
  return up.find(part) != std::string::npos;
}

// The numeric field named like the key, else the first whose name contains one of the parts (in
// the order given), else the first numeric field; -1 without numeric fields.
int find_coordinate_field(const std::vector<dbf_field>& fields, std::string_view key,
                          std::string_view part1, std::string_view part2) {
  const int n = static_cast<int>(fields.size());
  auto first_numeric = [&](auto pred) {
    for (int i = 0; i < n; ++i) {
      if (fields[i].type == 'N' && pred(fields[i].name)) return i;
    }
    return -1;
  };
  int i = first_numeric([&](std::string_view name) { return same_name(name, key); });
  if (i < 0) i = first_numeric([&](std::string_view name) { return name_contains(name, part1); });
  if (i < 0) i = first_numeric([&](std::string_view name) { return name_contains(name, part2); });
  if (i < 0) i = first_numeric([](std::string_view) { return true; });
  return i;
}

int clamp_index(int i, int count) { return std::clamp(i, 0, std::max(count - 1, 0)); }

}  // namespace

bool parse_field_number(std::string_view text, double& value) {
  // Plain decimal numbers, the usual case, are read without the copy; anything else (signs,
  // hexadecimal, trailing text, values out of range) goes through strtod.
  std::string_view t = text;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  if (!t.empty() && t.front() != '+') {
    double v = 0.0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (r.ec == std::errc() && r.ptr == t.data() + t.size()) {
      value = v;
      return true;
    }
  }
  // A field is at most 1023 characters; the copy makes it NUL-terminated for strtod.
  std::array<char, 1024> buf{};
  const std::size_t n = std::min(text.size(), buf.size() - 1);
  if (n > 0) std::memcpy(buf.data(), text.data(), n);
  char* end = nullptr;
  const double v = strtod_l(buf.data(), &end, c_locale());
  if (end == buf.data()) return false;
  value = v;
  return true;
}

double field_value_number(std::string_view text) {
  double v = 0.0;
  return parse_field_number(text, v) ? v : 0.0;
}

int find_x_field(const std::vector<dbf_field>& fields, std::string_view x_key) {
  return find_coordinate_field(fields, x_key, "LONG", "X");
}

int find_y_field(const std::vector<dbf_field>& fields, std::string_view y_key) {
  return find_coordinate_field(fields, y_key, "LAT", "Y");
}

int find_xy_fields(const std::vector<dbf_field>& fields, std::string_view x_key,
                   std::string_view y_key, bool keep_valid, int& x_field, int& y_field) {
  const int n = static_cast<int>(fields.size());
  auto valid = [&](int i) { return keep_valid && i >= 0 && i < n; };
  if (!valid(x_field)) x_field = find_x_field(fields, x_key);
  if (!valid(y_field)) y_field = find_y_field(fields, y_key);
  if (x_field < 0) {
    report_input_problem("No X,Y data for this file");
    return -1;
  }
  return 0;
}

int find_field(const std::vector<dbf_field>& fields, std::string_view name) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (same_name(fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

double table_elevation(TableReader& table, int elev_field, double factor) {
  if (elev_field < 0) return 0.0;
  return field_value_number(table.read_field(elev_field)) * factor;
}

TableExtents table_extents(TableReader& table, int x_field, int y_field, ExtentValues values) {
  const int n = static_cast<int>(table.fields().size());
  const int xi = clamp_index(x_field, n);
  const int yi = clamp_index(y_field < 0 ? 1 : y_field, n);
  TableExtents e;
  table.rewind();
  for (long r = 0; r < table.record_count(); ++r) {
    table.save_record_position();
    if (table.begin_record() != 0) break;
    double x = 0.0;
    double y = 0.0;
    const bool x_ok = parse_field_number(table.read_field(xi), x);
    const bool y_ok = parse_field_number(table.read_field(yi), y);
    // Infinities and NaNs ("inf", "nan" parse) never widen the box: extents stay finite.
    if ((x_ok || values == ExtentValues::all) && std::isfinite(x)) {
      e.xmin = std::min(e.xmin, x);
      e.xmax = std::max(e.xmax, x);
    }
    if ((y_ok || values == ExtentValues::all) && std::isfinite(y)) {
      e.ymin = std::min(e.ymin, y);
      e.ymax = std::max(e.ymax, y);
    }
  }
  table.rewind();
  if (e.xmin <= e.xmax && e.ymin <= e.ymax)
    e.diagonal = std::hypot(e.xmax - e.xmin, e.ymax - e.ymin);
  return e;
}

}  // namespace tsn
