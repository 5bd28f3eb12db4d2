// Unique Values, Quantile and Equal Intervals classes, their labels, and value lookup.
#include "classify/key_classes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "classify/layer_name.h"
#include "platform/text_encoding.h"

namespace tsn {
namespace {

std::string cut(std::string_view s, std::size_t n) { return std::string(s.substr(0, n)); }

std::string integer_text(double v) {
  return std::to_string(static_cast<long>(v));
}

struct Builder {
  const KeyValues& values;
  bool layer_key;
  int verDXF;
  ClassTable& out;

  std::string separator() const { return verDXF == 7 ? " - " : "-"; }

  void add(KeyClass c) {
    c.label.resize(escape_safe_length(c.label, kMaxKeyText));
    if (layer_key) c.label = make_layer_name(c.label, verDXF);
    out.classes.push_back(std::move(c));
  }
};

void unique_values(Builder& b) {
  for (std::size_t i = 0; i < b.values.values.size(); ++i) {
    const KeyValue& v = b.values.values[i];
    KeyClass c;
    c.label = b.values.text(v);
    c.lo = c.hi = v.number;
    c.lo_text = c.hi_text = cut(b.values.text(v), kMaxClassText);
    b.add(std::move(c));
    b.out.value_class[i] = static_cast<std::uint16_t>(i);
  }
}

// Class c of Quantile from distinct values f..l, the previous class ending at p (or none).
KeyClass quantile_class(const Builder& b, std::size_t f, std::size_t l, long p) {
  const auto& v = b.values.values;
  KeyClass c;
  const NumberType type = b.values.type;
  if (type == NumberType::alphabetic) {
    c.lo_text = cut(b.values.text(f), kMaxClassText);
    c.hi_text = cut(b.values.text(l), kMaxClassText);
    c.label = b.values.text(f);
    if (l > f) c.label += b.separator() + std::string(b.values.text(l));
    return c;
  }
  c.hi = v[l].number;
  bool append = l > f;
  if (p < 0) {
    c.lo = v[f].number;
    c.label = b.values.text(f);
  } else if (type == NumberType::integer) {
    c.lo = std::trunc(v[static_cast<std::size_t>(p)].number) + 1;
    c.label = integer_text(c.lo);
    append = static_cast<long>(c.lo) != static_cast<long>(std::trunc(v[l].number));
  } else {
    const double prev = v[static_cast<std::size_t>(p)].number;
    c.lo = prev + kRealStep;
    if (!(c.lo < v[f].number)) c.lo = prev + (v[f].number - prev) / 10;
    c.label = decimal_label(c.lo);
    append = true;
  }
  if (append) c.label += b.separator() + std::string(b.values.text(l));
  return c;
}

void quantile(Builder& b, int classes) {
  const auto& v = b.values.values;
  const std::size_t count = v.size();
  const long blanks = b.values.blank_count;
  // Blank numeric values count as one record of "0".
  auto count_of = [&](std::size_t i) -> long {
    long n = v[i].count;
    if (blanks > 0 && b.values.text(i) == "0") n = n - blanks + 1;
    return n;
  };
  long total = b.values.records;
  if (blanks > 0) total = total - blanks + 1;
  long n = total;
  double average = static_cast<double>(n) / classes;
  const double first_average = average;
  long target = n / classes + (static_cast<long>(classes) * (n / classes) < n ? 1 : 0);
  std::size_t next = 0;
  long previous_last = -1;
  std::size_t closed_first = 0;  // where the last closed class began, and its predecessor's end
  long closed_previous = -1;
  int closed = 0;
  while (closed < classes && n > 0 && next < count) {
    const std::size_t first = next;
    long s = count_of(first);
    std::size_t last = first;
    if (s < target) {
      while (last + 1 < count) {
        const long add = count_of(last + 1);
        if (s + add < target) {
          s += add;
          ++last;
          continue;
        }
        if (s + add == target || (first_average < average && s + add < 2 * target)) {
          s += add;
          ++last;
        }
        break;
      }
    }
    for (std::size_t i = first; i <= last; ++i) b.out.value_class[i] = static_cast<std::uint16_t>(closed);
    b.add(quantile_class(b, first, last, previous_last));
    closed_first = first;
    closed_previous = previous_last;
    previous_last = static_cast<long>(last);
    n -= s;
    ++closed;
    next = last + 1;
    if (closed < classes && n > 0) {
      const int remaining = classes - closed;
      average = static_cast<double>(n) / remaining;
      target = n / remaining;
    }
  }
  // Values left over go to a last class made to end at the last value.
  if (next < count) {
    const std::size_t last = count - 1;
    if (closed < classes) {
      b.add(quantile_class(b, last, last, previous_last));
      ++closed;
    } else {
      KeyClass widened = quantile_class(b, closed_first, last, closed_previous);
      if (b.layer_key) widened.label = make_layer_name(widened.label, b.verDXF);
      b.out.classes.back() = std::move(widened);
    }
    for (std::size_t i = next; i < count; ++i) {
      b.out.value_class[i] = static_cast<std::uint16_t>(closed - 1);
    }
  }
}

void equal_intervals(Builder& b, int classes) {
  const auto& v = b.values.values;
  const double low = v.front().number;
  const double high = v.back().number;
  if (b.values.type == NumberType::integer) {
    const double width = (high - low + 1) / classes;
    if (width <= 1) {
      for (double k = low; k <= high; ++k) {
        KeyClass c;
        c.lo = c.hi = k;
        c.label = integer_text(k);
        b.add(std::move(c));
      }
      for (std::size_t i = 0; i < v.size(); ++i) {
        // The integer k with k + 0.5 above the value.
        const double k = std::floor(v[i].number + 0.5) - low;
        b.out.value_class[i] = static_cast<std::uint16_t>(std::clamp(k, 0.0, high - low));
      }
      return;
    }
    double start = low;
    long lower = static_cast<long>(low);
    std::size_t i = 0;
    for (int c = 0; c < classes; ++c) {
      const double g = start + width;
      long upper = static_cast<long>(std::trunc(g));
      if (g == std::trunc(g)) --upper;
      KeyClass k;
      k.lo = static_cast<double>(lower);
      k.hi = static_cast<double>(upper);
      k.label = std::to_string(lower);
      if (lower != upper) k.label += b.separator() + std::to_string(upper);
      b.add(std::move(k));
      while (i < v.size() && (v[i].number < g || c == classes - 1)) {
        b.out.value_class[i++] = static_cast<std::uint16_t>(c);
      }
      start = g;
      lower = upper + 1;
    }
    return;
  }
  if (std::fabs(high - low) < 1e-10) {
    KeyClass k;
    k.lo = k.hi = low;
    k.label = decimal_label(low);
    b.add(std::move(k));
    std::fill(b.out.value_class.begin(), b.out.value_class.end(), 0);
    return;
  }
  const double width = (high - low) / classes;
  double start = low;
  std::size_t i = 0;
  for (int c = 0; c < classes; ++c) {
    KeyClass k;
    k.hi = start + width;
    k.lo = c == 0 ? low : start + kRealStep;
    if (c > 0 && !(k.lo < k.hi)) k.lo = start + width / 10;
    k.label = decimal_label(k.lo) + " - " + decimal_label(k.hi);
    while (i < v.size() && (v[i].number <= k.hi || c == classes - 1)) {
      b.out.value_class[i++] = static_cast<std::uint16_t>(c);
    }
    start = k.hi;
    b.add(std::move(k));
  }
}

}  // namespace

ClassMethod choose_method(std::size_t distinct, int requested, ClassMethod method, bool numeric) {
  if (distinct <= static_cast<std::size_t>(std::max(requested, 0)) ||
      (method == ClassMethod::unique_values && distinct <= kMaxClasses)) {
    return ClassMethod::unique_values;
  }
  if (method == ClassMethod::equal_intervals && numeric) return ClassMethod::equal_intervals;
  return ClassMethod::quantile;
}

int create_classes(const KeyValues& values, ClassMethod& method, int requested, bool layer_key,
                   int verDXF, ClassTable& out) {
  out = ClassTable{};
  out.type = values.type;
  out.value_class.assign(values.values.size(), 0);
  if (values.values.empty()) return 0;
  requested = std::clamp(requested, 1, kMaxClasses);
  const ClassMethod used = choose_method(values.values.size(), requested, method, values.numeric);
  if (used == ClassMethod::quantile) method = ClassMethod::quantile;
  Builder b{values, layer_key, verDXF, out};
  switch (used) {
    case ClassMethod::unique_values: unique_values(b); break;
    case ClassMethod::equal_intervals: equal_intervals(b, requested); break;
    case ClassMethod::quantile: quantile(b, requested); break;
  }
  return static_cast<int>(out.classes.size());
}

std::string decimal_label(double value) {
  const double size = std::fabs(value);
  const int places = size < 10 ? 6 : (size < 100 ? 5 : 4);
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", places, value);
  return text;
}

bool ranges_ordered(const RangeSet& table, int sort_method) {
  const auto& c = table.classes;
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (table.type != NumberType::alphabetic) {
      if (i > 0 && c[i].hi < c[i - 1].hi) return false;
    } else if (compare_key_text(c[i].lo_text, c[i].hi_text, sort_method) > 0 ||
               (i > 0 && compare_key_text(c[i - 1].hi_text, c[i].lo_text, sort_method) >= 0)) {
      return false;
    }
  }
  return true;
}

int class_of_value(const RangeSet& table, std::string_view text, double number,
                   bool outside_flag, int sort_method, bool ordered) {
  const auto& classes = table.classes;
  if (table.type == NumberType::alphabetic) {
    const std::string_view value = text.substr(0, std::min(text.size(), kMaxClassText));
    if (ordered) {
      // Only the first class reaching up to the value can hold it.
      const auto at = std::partition_point(classes.begin(), classes.end(), [&](const KeyClass& c) {
        return compare_key_text(c.hi_text, value, sort_method) < 0;
      });
      if (at == classes.end() || compare_key_text(at->lo_text, value, sort_method) > 0) return -1;
      return static_cast<int>(at - classes.begin());
    }
    for (std::size_t i = 0; i < classes.size(); ++i) {
      if (compare_key_text(classes[i].lo_text, value, sort_method) <= 0 &&
          compare_key_text(classes[i].hi_text, value, sort_method) >= 0) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  std::size_t first = 0;
  if (ordered) {
    first = static_cast<std::size_t>(
        std::partition_point(classes.begin(), classes.end(),
                             [&](const KeyClass& c) { return c.hi < number; }) -
        classes.begin());
  }
  for (std::size_t i = first; i < classes.size(); ++i) {
    if (classes[i].hi < number) continue;
    if (outside_flag) {
      const double lo = classes[i].lo - (i > 0 ? kRealStep : 0.0);
      if (lo > number) return -1;
    }
    return static_cast<int>(i);
  }
  return -1;
}

}  // namespace tsn
