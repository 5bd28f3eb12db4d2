// Generated block names from the persistent running totals.
#include "settings/name_counter.h"

#include <string_view>

namespace tsn {

namespace {
constexpr std::string_view kPrefixes[] = {"POL", "ARC", "FIL", "MPT"};
constexpr std::string_view kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
}  // namespace

std::string base36_5(std::uint32_t value) {
  std::string out(5, '0');
  for (int i = 4; i >= 0; --i) {
    out[static_cast<std::size_t>(i)] = kDigits[value % 36];
    value /= 36;
  }
  return out;
}

std::string NameCounters::next_name(NameKind kind) {
  const auto k = static_cast<std::size_t>(kind);
  std::uint32_t& total = (*totals)[k];
  std::uint32_t& count = counts[k];
  if (static_cast<std::uint64_t>(total) + count > kNameCounterWrap) total = 0;
  std::string name(kPrefixes[k]);
  name += base36_5(total + count);
  ++count;
  return name;
}

void NameCounters::commit() {
  for (std::size_t k = 0; k < counts.size(); ++k) {
    (*totals)[k] += counts[k];
    counts[k] = 0;
  }
}

}  // namespace tsn
