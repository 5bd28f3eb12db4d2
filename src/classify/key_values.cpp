// Gathering, sorting and merging the distinct values of a key field.
#include "classify/key_values.h"

#include <algorithm>

namespace tsn {
namespace {

constexpr std::size_t kSearchedValues = 100;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_numeric(const dbf_field& field) { return field.type == 'N'; }

// <0, 0, >0 for two values of one key.
int compare_values(const KeyValue& a, const KeyValue& b, bool numeric, int sort_method) {
  if (numeric) return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
  return compare_key_text(a.text, b.text, sort_method);
}

}  // namespace

int compare_key_text(std::string_view a, std::string_view b, int sort_method) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(sort_method == 1 ? lower(a[i]) : a[i]);
    const auto y = static_cast<unsigned char>(sort_method == 1 ? lower(b[i]) : b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string normalise_key_text(std::string_view text, const dbf_field& field, bool& blank) {
  const std::size_t width =
      std::min<std::size_t>(kMaxKeyText, static_cast<std::size_t>(std::max(field.width, 0)));
  if (field.width > 0 && text.size() > width) text = text.substr(0, width);
  if (text.size() > kMaxKeyText) text = text.substr(0, kMaxKeyText);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  blank = false;
  if (!text.empty()) return std::string(text);
  if (!is_numeric(field)) return "UNNAMED";
  blank = true;
  return "0";
}

void KeyValues::add(std::string_view text, const dbf_field& field, int sort_method) {
  numeric = is_numeric(field);
  bool blank = false;
  KeyValue v{normalise_key_text(text, field, blank), 1, 0.0};
  if (numeric) v.number = field_value_number(v.text);
  if (blank) ++blank_count;
  ++records;
  if (values.size() < kSearchedValues) {
    const auto at = std::lower_bound(
        sorted_.begin(), sorted_.end(), v, [&](std::size_t i, const KeyValue& x) {
          return compare_values(values[i], x, numeric, sort_method) < 0;
        });
    if (at != sorted_.end() && compare_values(values[*at], v, numeric, sort_method) == 0) {
      ++values[*at].count;
      return;
    }
    sorted_.insert(at, values.size());
  }
  values.push_back(std::move(v));
}

void KeyValues::finish(int sort_method) {
  std::stable_sort(values.begin(), values.end(), [&](const KeyValue& a, const KeyValue& b) {
    return compare_values(a, b, numeric, sort_method) < 0;
  });
  std::size_t kept = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (kept > 0 && compare_values(values[kept - 1], values[i], numeric, sort_method) == 0) {
      values[kept - 1].count += values[i].count;
    } else {
      if (kept != i) values[kept] = std::move(values[i]);
      ++kept;
    }
  }
  values.resize(kept);
  sorted_.clear();
  type = NumberType::alphabetic;
  if (numeric) {
    const bool decimals = std::any_of(values.begin(), values.end(), [](const KeyValue& v) {
      return v.text.find('.') != std::string::npos;
    });
    type = decimals ? NumberType::real : NumberType::integer;
  }
}

long load_key_values(TableReader& table, int field, int sort_method, KeyValues& out) {
  out = KeyValues{};
  const auto& fields = table.fields();
  if (field < 0 || field >= static_cast<int>(fields.size())) return -1;
  const dbf_field& f = fields[static_cast<std::size_t>(field)];
  out.numeric = is_numeric(f);
  if (table.rewind() != 0) return -1;
  for (long r = 0; r < table.record_count(); ++r) {
    table.save_record_position();
    if (table.begin_record() != 0) return -1;
    out.add(table.read_field(field), f, sort_method);
  }
  out.finish(sort_method);
  table.rewind();
  return static_cast<long>(out.values.size());
}

}  // namespace tsn
