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

bool is_numeric(const dbf_field& f) { return f.type == 'N' || f.type == 'F'; }

// Names that mark a coordinate field, in order of preference.
using CoordinateNames = std::array<std::string_view, 5>;
constexpr CoordinateNames kXNames = {"EASTING", "LONGITUDE", "LONG", "LON", "X"};
constexpr CoordinateNames kYNames = {"NORTHING", "LATITUDE", "LAT", "LAT", "Y"};

// The preferred numeric field other than `other`: the one named like the key, else a usual name
// as a whole, else the first name that contains a usual one; -1 when none qualifies.
int best_coordinate_field(const std::vector<dbf_field>& fields, std::string_view key,
                          const CoordinateNames& names, int other) {
  const int n = static_cast<int>(fields.size());
  auto first = [&](auto pred) {
    for (int i = 0; i < n; ++i) {
      if (i != other && is_numeric(fields[i]) && pred(fields[i].name)) return i;
    }
    return -1;
  };
  if (!key.empty()) {
    const int i = first([&](std::string_view name) { return same_name(name, key); });
    if (i >= 0) return i;
  }
  for (const std::string_view part : names) {
    const int i = first([&](std::string_view name) { return same_name(name, part); });
    if (i >= 0) return i;
  }
  for (const std::string_view part : names) {
    const int i = first([&](std::string_view name) { return name_contains(name, part); });
    if (i >= 0) return i;
  }
  return -1;
}

// "0 ID, 3 HEIGHT": the numeric fields with their numbers, for /DX and /DY.
std::string numeric_field_list(const std::vector<dbf_field>& fields) {
  std::string list;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!is_numeric(fields[i])) continue;
    if (!list.empty()) list += ", ";
    list += std::to_string(i) + " " + fields[i].name;
  }
  return list;
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
  // strtod needs a NUL-terminated copy; a field longer than the buffer is copied whole.
  std::array<char, 1024> buf{};
  std::string long_copy;
  char* start = buf.data();
  if (text.size() < buf.size()) {
    if (!text.empty()) std::memcpy(buf.data(), text.data(), text.size());
  } else {
    long_copy.assign(text);
    start = long_copy.data();
  }
  char* end = nullptr;
  const double v = strtod_l(start, &end, c_locale());
  if (end == start) return false;
  value = v;
  return true;
}

double field_value_number(std::string_view text) {
  double v = 0.0;
  return parse_field_number(text, v) ? v : 0.0;
}

int find_xy_fields(const std::vector<dbf_field>& fields, std::string_view x_key,
                   std::string_view y_key, bool keep_valid, int& x_field, int& y_field) {
  const int n = static_cast<int>(fields.size());
  auto valid = [&](int i) { return keep_valid && i >= 0 && i < n; };
  const bool keep_x = valid(x_field);
  const bool keep_y = valid(y_field);
  if (keep_x && !keep_y) {
    y_field = best_coordinate_field(fields, y_key, kYNames, x_field);
  } else if (keep_y && !keep_x) {
    x_field = best_coordinate_field(fields, x_key, kXNames, y_field);
  } else if (!keep_x && !keep_y) {
    // X first; when its choice leaves no Y, Y first.
    x_field = best_coordinate_field(fields, x_key, kXNames, -1);
    y_field = best_coordinate_field(fields, y_key, kYNames, x_field);
    if (y_field < 0) {
      y_field = best_coordinate_field(fields, y_key, kYNames, -1);
      x_field = best_coordinate_field(fields, x_key, kXNames, y_field);
    }
  }
  if (x_field < 0 || y_field < 0) {
    x_field = y_field = -1;
    const std::string list = numeric_field_list(fields);
    report_input_problem(
        list.empty() ? std::string("No X,Y data for this file\nThe table has no numeric fields.")
                     : "No X,Y data for this file\nNumeric fields (give X and Y with /DX=n "
                       "/DY=n): " +
                           list);
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

bool read_coordinates(TableReader& table, int x_field, int y_field, double& x, double& y) {
  double vx = 0.0;
  double vy = 0.0;
  if (!parse_field_number(table.read_field(x_field), vx) ||
      !parse_field_number(table.read_field(y_field), vy) || !std::isfinite(vx) ||
      !std::isfinite(vy)) {
    return false;
  }
  x = vx;
  y = vy;
  return true;
}

TableExtents table_extents(TableReader& table, int x_field, int y_field) {
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
    // Only the records that are drawn count.
    if (!read_coordinates(table, xi, yi, x, y)) continue;
    e.xmin = std::min(e.xmin, x);
    e.xmax = std::max(e.xmax, x);
    e.ymin = std::min(e.ymin, y);
    e.ymax = std::max(e.ymax, y);
  }
  table.rewind();
  if (e.xmin <= e.xmax && e.ymin <= e.ymax)
    e.diagonal = std::hypot(e.xmax - e.xmin, e.ymax - e.ymin);
  return e;
}

}  // namespace tsn
