// Range sets in settings files: default class labels, old-format range texts, and the range
// sections of definition files and legend range files.
#include "settings/value_ranges.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>

#include "platform/profile.h"
#include "settings/conv_settings.h"

namespace tsn {

namespace {

constexpr int kLastVersionWithoutRanges = 240;
constexpr int kFirstVersionWithLabels = 243;  // before it: one "R" text per range, no labels
constexpr double kSameEndTolerance = 1e-10;
constexpr double kIntegerTolerance = 5e-7;

struct SectionNames {
  const char* ranges;
  const char* labels;
};
constexpr SectionNames kLayerSections{"RangesLayer", "RangesLayerLabels"};
constexpr SectionNames kColourSections{"RangesColor", "RangesColorLabels"};

std::string fixed(double value, int decimals) {
  char buffer[400];  // 309 integer digits of the largest double, the point and the decimals
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

// "%ld" of a value that may lie outside the range of an integer (a hand-edited file).
std::string whole(double value) {
  constexpr double kLimit = 9.2e18;
  if (std::isnan(value)) return "0";
  const double clamped = std::clamp(value, -kLimit, kLimit);
  return std::to_string(static_cast<std::int64_t>(clamped));
}

std::string_view trim_blanks(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool starts_number(std::string_view t) {
  return !t.empty() && (is_digit(t[0]) || t[0] == '.' || t[0] == '-' || t[0] == '+');
}

// The number at the start of the text ("%lf" without the leading blanks); nullopt when there is
// none or it is not finite.
std::optional<double> leading_real(std::string_view t) {
  if (!t.empty() && t[0] == '+') {
    t.remove_prefix(1);
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) return std::nullopt;
  }
  double value = 0.0;
  const auto result = std::from_chars(t.data(), t.data() + t.size(), value);
  if (result.ec != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool is_whole(double v) {
  return std::abs(v - std::round(v)) <= kIntegerTolerance && std::abs(v) < 9.2e18;
}

std::string clip(std::string text, std::size_t max_chars) {
  if (text.size() > max_chars) text.resize(max_chars);
  return text;
}

NumberType number_type_of(int stored) {
  if (stored == 0) return NumberType::alphabetic;
  if (stored == 2) return NumberType::integer;
  return NumberType::real;  // every other value is read as reals, like 1
}

// An old-format text of a character key: split at its first "-" with text on both sides,
// blanks around the ends removed; otherwise the whole text is one value (an empty bound could
// not be stored again).
KeyClass old_alphabetic_range(std::string_view text) {
  KeyClass c;
  text = trim_blanks(text);
  c.label = std::string(text);
  const std::size_t dash = text.find('-');
  const std::string_view lo = trim_blanks(text.substr(0, dash));
  const std::string_view hi =
      dash == std::string_view::npos ? lo : trim_blanks(text.substr(dash + 1));
  const bool split = !lo.empty() && !hi.empty();
  c.lo_text = clip(std::string(split ? lo : text), kMaxClassText);
  c.hi_text = clip(std::string(split ? hi : text), kMaxClassText);
  return c;
}

KeyClass old_numeric_range(std::string_view text, NumberType type) {
  const ParsedRange parsed = parse_range_text(text, type);
  KeyClass c;
  c.lo = parsed.lo;
  c.hi = parsed.hi;
  c.label = clip(parsed.text, kMaxLabelText);
  return c;
}

// One range of the current format; nullopt when the list ends here.
std::optional<KeyClass> stored_range(Profile& p, std::size_t i, NumberType type,
                                     bool both_ends_required) {
  const std::string lo_key = "lo" + std::to_string(i);
  const std::string hi_key = "hi" + std::to_string(i);
  KeyClass c;
  c.lo_text = p.read_string(lo_key, "", kMaxClassText);
  c.hi_text = p.read_string(hi_key, "", kMaxClassText);
  if (c.lo_text.empty()) return std::nullopt;
  if (c.hi_text.empty()) {
    if (both_ends_required) return std::nullopt;
    c.hi_text = c.lo_text;  // a missing high end makes a single-value range
  }
  if (type != NumberType::alphabetic) {
    c.lo = p.read_real(lo_key, 0.0);
    c.hi = p.read_real(hi_key, c.lo);
    c.lo_text.clear();
    c.hi_text.clear();
  }
  return c;
}

void write_ranges(Profile& p, const RangeSet& set, int class_type, const SectionNames& names) {
  const std::size_t n = std::min(set.classes.size(), static_cast<std::size_t>(kMaxClasses));
  const bool numeric = set.type != NumberType::alphabetic;
  p.select_section(names.ranges);
  p.erase_section();
  p.write_int("Num", static_cast<int>(n));
  p.write_int("Class", class_type);
  p.write_int("NumType", static_cast<int>(set.type));
  if (set.edited) p.write_int("Edited", 1);
  for (std::size_t i = 0; i < n; ++i) {
    const KeyClass& c = set.classes[i];
    const std::string index = std::to_string(i);
    if (numeric) {
      p.write_real("lo" + index, c.lo);
      p.write_real("hi" + index, c.hi);
    } else {
      p.write_string("lo" + index, clip(c.lo_text, kMaxClassText));
      p.write_string("hi" + index, clip(c.hi_text, kMaxClassText));
    }
  }
  p.select_section(names.labels);
  p.erase_section();
  for (std::size_t i = 0; i < n; ++i) {
    p.write_string("L" + std::to_string(i), clip(set.classes[i].label, kMaxLabelText));
  }
}

}  // namespace

std::string default_range_label(const KeyClass& c, NumberType type) {
  std::string label;
  switch (type) {
    case NumberType::integer:
      label = c.lo == c.hi ? whole(c.lo) : whole(c.lo) + "-" + whole(c.hi);
      break;
    case NumberType::real: {
      const int decimals = c.lo >= 100.0 ? 4 : c.lo >= 10.0 ? 5 : 6;
      label = c.lo == c.hi ? fixed(c.lo, decimals)
                           : fixed(c.lo, decimals) + "-" + fixed(c.hi, decimals);
      break;
    }
    case NumberType::alphabetic:
      label = c.lo_text == c.hi_text ? c.lo_text : c.lo_text + "-" + c.hi_text;
      break;
  }
  return clip(std::move(label), kMaxLabelText);
}

ParsedRange parse_range_text(std::string_view text, NumberType type) {
  ParsedRange r;
  text = trim_blanks(text);
  r.text = std::string(text);
  const auto first_digit =
      static_cast<std::size_t>(std::find_if(text.begin(), text.end(), is_digit) - text.begin());
  if (!starts_number(text) || first_digit == text.size()) return r;

  // The separator is a "-" after the first digit that follows a digit or a point (blanks
  // between allowed, as in "5 - 10"); after "e" or "E" it is an exponent's sign.
  std::size_t sep = std::string_view::npos;
  for (std::size_t i = first_digit + 1; i < text.size() && sep == std::string_view::npos; ++i) {
    if (text[i] != '-') continue;
    const std::string_view before = trim_blanks(text.substr(0, i));
    if (!before.empty() && (is_digit(before.back()) || before.back() == '.')) sep = i;
  }
  const auto lo = leading_real(text.substr(0, sep));
  if (!lo) return r;
  r.valid = true;
  r.lo = r.hi = *lo;
  if (sep != std::string_view::npos) {
    const std::string_view rest = trim_blanks(text.substr(sep + 1));
    if (starts_number(rest)) {
      if (const auto hi = leading_real(rest)) {
        r.hi = *hi;
        r.has_hi = true;
      }
    }
  }

  if (type == NumberType::integer && is_whole(r.lo) && is_whole(r.hi)) {
    const std::string lo_text = whole(std::round(r.lo));
    r.text = r.has_hi ? lo_text + "-" + whole(std::round(r.hi)) : lo_text;
  } else if (type != NumberType::integer && (!r.has_hi || r.hi < r.lo)) {
    // kept as it is
  } else {
    KeyClass c;
    c.lo = r.lo;
    c.hi = r.hi;
    r.text = default_range_label(c, NumberType::real);
  }
  return r;
}

void write_layer_ranges(Profile& p, const ConvSettings& s) {
  write_ranges(p, s.layer_ranges, s.cur.ClassTypeLayer, kLayerSections);
}

void write_colour_ranges(Profile& p, const ConvSettings& s) {
  write_ranges(p, s.colour_ranges, s.cur.ClassTypeColor, kColourSections);
}

std::optional<StoredRanges> read_range_sections(Profile& p, int file_version,
                                                bool layer_sections, const RangeSet& current) {
  if (file_version <= kLastVersionWithoutRanges) return std::nullopt;
  const SectionNames& names = layer_sections ? kLayerSections : kColourSections;
  p.select_section(names.ranges);
  // A missing Num means no section: the current ranges stay. Colour sections may hold none.
  const int num = p.read_int("Num", -1);
  if (layer_sections ? num <= 0 : num < 0) return std::nullopt;

  StoredRanges stored;
  stored.class_type = p.read_int("Class", layer_sections ? 0 : 1);
  const NumberType type = number_type_of(p.read_int("NumType", 1));
  stored.ranges.type = type;
  stored.ranges.edited = p.read_int("Edited", 0) == 1;
  const bool old_format = file_version < kFirstVersionWithLabels;
  // Num comes from the file: the reservation is capped, the reading stops at the first gap.
  const auto n = static_cast<std::size_t>(std::min(num, kMaxClasses));
  std::vector<KeyClass>& classes = stored.ranges.classes;
  classes.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (old_format) {
      // Old colour sections fall back on the label the class has now.
      const std::string fallback =
          !layer_sections && i < current.classes.size() ? current.classes[i].label : "";
      const std::string text = p.read_string("R" + std::to_string(i), fallback, kMaxLabelText);
      if (text.empty()) break;
      classes.push_back(type == NumberType::alphabetic ? old_alphabetic_range(text)
                                                       : old_numeric_range(text, type));
    } else {
      auto c = stored_range(p, i, type, !layer_sections);
      if (!c) break;
      classes.push_back(std::move(*c));
    }
  }
  if (!old_format) {
    p.select_section(names.labels);
    for (std::size_t i = 0; i < classes.size(); ++i) {
      classes[i].label = p.read_string("L" + std::to_string(i),
                                       default_range_label(classes[i], type), kMaxLabelText);
    }
  }
  if (layer_sections && classes.empty()) return std::nullopt;
  return stored;
}

void apply_ranges(ConvSettings& s, bool layer_key, StoredRanges stored) {
  const int count = static_cast<int>(stored.ranges.classes.size());
  // Unique Values finds its own count; an empty set never becomes a requested count of 0.
  const bool sets_count = stored.class_type != 2 && count > 0;
  if (layer_key) {
    s.cur.ClassTypeLayer = stored.class_type;
    if (sets_count) s.cur.NumClassesLayer = count;
    s.layer_ranges = std::move(stored.ranges);
    return;
  }
  s.cur.ClassTypeColor = stored.class_type;
  if (sets_count) s.cur.NumClassesColor = count;
  if (stored.class_type != 2) {
    s.colour_key_holds_colour_numbers = false;
  } else if (stored.ranges.type == NumberType::integer) {
    // Unique integer values: the field holds drawing colour numbers.
    s.colour_key_holds_colour_numbers =
        std::all_of(stored.ranges.classes.begin(), stored.ranges.classes.end(),
                    [](const KeyClass& c) { return std::abs(c.hi - c.lo) <= kSameEndTolerance; });
  }
  s.colour_ranges = std::move(stored.ranges);
}

int read_layer_ranges(Profile& p, int file_version, ConvSettings& s) {
  auto stored = read_range_sections(p, file_version, true, s.layer_ranges);
  p.select_section("Tessaryn");
  if (!stored) return -1;
  apply_ranges(s, true, std::move(*stored));
  return 0;
}

int read_colour_ranges(Profile& p, int file_version, ConvSettings& s) {
  auto stored = read_range_sections(p, file_version, false, s.colour_ranges);
  p.select_section("Tessaryn");
  if (!stored) return -1;
  apply_ranges(s, false, std::move(*stored));
  return 0;
}

}  // namespace tsn
