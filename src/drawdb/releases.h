// Release bits of the declarations, and the release a save writes.
#pragma once

#include <cstdint>

namespace tsn {

inline constexpr std::uint8_t kR12 = 1, kR14 = 2, kR2000 = 4;
inline constexpr std::uint8_t kR14On = kR14 | kR2000;
inline constexpr std::uint8_t kAllReleases = kR12 | kR14 | kR2000;

// The release bit of a save's release code (4, 6, 7), or 0 for any other code.
constexpr std::uint8_t release_bit(int release) {
  return release == 4 ? kR12 : release == 6 ? kR14 : release == 7 ? kR2000 : 0;
}

}  // namespace tsn
