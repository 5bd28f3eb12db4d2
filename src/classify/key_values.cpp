// Gathering, sorting and merging the distinct values of a key field.
#include "classify/key_values.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace tsn {
namespace {

constexpr std::size_t kSearchedValues = 100;
// A hostile record count must not reserve without bound; beyond this the list grows as read.
constexpr long kMaxReservedValues = 1L << 24;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_numeric(const dbf_field& field) { return field.type == 'N'; }


}  // namespace

int compare_key_text(std::string_view a, std::string_view b, int sort_method) {
  // Text of characters the code page lacks sorts by those characters.
  if (a.find('\\') != std::string_view::npos || b.find('\\') != std::string_view::npos) {
    return compare_escaped(a, b, sort_method == 1 ? lower : +[](char c) { return c; });
  }
  if (sort_method != 1) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(lower(a[i]));
    const auto y = static_cast<unsigned char>(lower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string_view normalise_key_text(std::string_view text, const dbf_field& field,
                                   bool& blank) {
  // The field's width counts characters: a value converted into the drawing's code page holds
  // \U+XXXX escapes of one character each, never cut inside.
  if (field.width > 0) {
    text = text.substr(0, characters_prefix(text, static_cast<std::size_t>(field.width)));
  }
  text = text.substr(0, escape_safe_length(text, kMaxKeyText));
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  blank = false;
  if (!text.empty()) return text;
  if (!is_numeric(field)) return "UNNAMED";
  blank = true;
  return "0";
}

void KeyValues::add(std::string_view text, const dbf_field& field, int sort_method) {
  numeric = is_numeric(field);
  bool blank = false;
  const std::string_view normal = normalise_key_text(text, field, blank);
  const double number = numeric ? field_value_number(normal) : 0.0;
  if (blank) ++blank_count;
  ++records;
  const KeyValue v{texts_.size(),
                   static_cast<std::uint32_t>(normal.size()), 1, number};
  if (values.size() < kSearchedValues) {
    const auto less = [&](std::size_t i) {
      return numeric ? values[i].number < number
                     : compare_key_text(this->text(i), normal, sort_method) < 0;
    };
    const auto at = std::partition_point(sorted_.begin(), sorted_.end(), less);
    if (at != sorted_.end() &&
        (numeric ? values[*at].number == number
                 : compare_key_text(this->text(*at), normal, sort_method) == 0)) {
      ++values[*at].count;
      return;
    }
    sorted_.insert(at, values.size());
  }
  texts_ += normal;
  values.push_back(v);
}

void KeyValues::finish(int sort_method) {
  const auto compare = [&](const KeyValue& a, const KeyValue& b) {
    if (numeric) return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    return compare_key_text(text(a), text(b), sort_method);
  };
  // Texts are stored in the order they were first seen, so among equal values the lowest offset
  // came first: a merged value keeps that text.
  std::sort(values.begin(), values.end(), [&](const KeyValue& a, const KeyValue& b) {
    const int c = compare(a, b);
    return c != 0 ? c < 0 : a.offset < b.offset;
  });
  std::string texts;
  texts.reserve(texts_.size());
  std::size_t kept = 0;
  KeyValue last{};  // the last value kept, as it lies in the old text store
  for (std::size_t i = 0; i < values.size(); ++i) {
    const KeyValue v = values[i];
    if (kept > 0 && compare(last, v) == 0) {
      values[kept - 1].count += v.count;
      continue;
    }
    last = v;
    texts += text(v);
    values[kept] = v;
    values[kept++].offset = texts.size() - v.length;
  }
  values.resize(kept);
  texts_ = std::move(texts);
  sorted_.clear();
  type = NumberType::alphabetic;
  if (numeric) {
    type = texts_.find('.') != std::string::npos ? NumberType::real : NumberType::integer;
  }
}

long load_key_values(TableReader& table, int field, int sort_method, KeyValues& out) {
  out = KeyValues{};
  const auto& fields = table.fields();
  if (field < 0 || field >= static_cast<int>(fields.size())) return -1;
  const dbf_field& f = fields[static_cast<std::size_t>(field)];
  out.numeric = is_numeric(f);
  // Room for every record up front: growing the list would move every value again and again.
  out.reserve(static_cast<std::size_t>(std::clamp<long>(table.record_count(), 0, kMaxReservedValues)));
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
