// Fuzz target for value range sections and legend range files: arbitrary bytes as a legend
// range file, loaded for both keys; the ranges read must stay within their limits, write and
// read back unchanged, and be looked up alike by the walk and the search by halves.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "classify/key_classes.h"
#include "settings/legend_file.h"
#include "settings/value_ranges.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

const std::string& scratch_file() {
  static const std::string path = [] {
    char name[] = "/tmp/tsn-legend-fuzz-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name);
  }();
  return path;
}

bool same(const tsn::RangeSet& a, const tsn::RangeSet& b) {
  if (a.type != b.type || a.classes.size() != b.classes.size()) return false;
  for (std::size_t i = 0; i < a.classes.size(); ++i) {
    const tsn::KeyClass& x = a.classes[i];
    const tsn::KeyClass& y = b.classes[i];
    if (x.label != y.label || x.lo_text != y.lo_text || x.hi_text != y.hi_text) return false;
    if (a.type != tsn::NumberType::alphabetic && (x.lo != y.lo || x.hi != y.hi)) return false;
  }
  return true;
}

void check_limits(const tsn::RangeSet& r) {
  check(r.classes.size() <= static_cast<std::size_t>(tsn::kMaxClasses));
  for (const tsn::KeyClass& c : r.classes) {
    check(c.label.size() <= tsn::kMaxLabelText);
    check(c.lo_text.size() <= tsn::kMaxClassText && c.hi_text.size() <= tsn::kMaxClassText);
  }
}

void check_lookups(const tsn::RangeSet& r) {
  const bool ordered = tsn::ranges_ordered(r, 0);
  for (const tsn::KeyClass& c : r.classes) {
    for (const double probe : {c.lo, c.hi, c.lo - 1, c.hi + 1}) {
      for (const bool outside : {false, true}) {
        check(tsn::class_of_value(r, c.lo_text, probe, outside, 0, ordered) ==
              tsn::class_of_value(r, c.lo_text, probe, outside, 0, false));
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = scratch_file();
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }
  for (const bool layer_key : {true, false}) {
    tsn::ConvSettings s;
    std::string error;
    if (tsn::load_legend_file(path, s, layer_key, error) != 0) {
      check(!error.empty());
      continue;
    }
    const tsn::RangeSet first = layer_key ? s.layer_ranges : s.colour_ranges;
    check_limits(first);
    check_lookups(first);
    // Saved and loaded again, then once more: the second round changes nothing.
    check(tsn::save_legend_file(path, s, layer_key) == 0);
    tsn::ConvSettings again;
    check(tsn::load_legend_file(path, again, layer_key, error) == 0 || first.classes.empty());
    const tsn::RangeSet second = layer_key ? again.layer_ranges : again.colour_ranges;
    check(tsn::save_legend_file(path, again, layer_key) == 0);
    tsn::ConvSettings third;
    if (tsn::load_legend_file(path, third, layer_key, error) == 0) {
      check(same(second, layer_key ? third.layer_ranges : third.colour_ranges));
    }
  }
  return 0;
}
