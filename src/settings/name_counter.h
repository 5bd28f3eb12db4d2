// Generated block names: a prefix and five base-36 digits from persistent running totals.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tsn {

enum class NameKind { polygon = 0, arc = 1, fill = 2, multipoint = 3 };

// Totals wrap to 0 once total + count would exceed this (36^5 - 1 = 60466175 is the last name).
inline constexpr std::uint32_t kNameCounterWrap = 60466000;

struct NameCounters {
  std::array<std::uint32_t, 4>* totals = nullptr;  // the persistent Runtot1..Runtot4
  std::array<std::uint32_t, 4> counts{};           // names handed out in this input

  // The next name of a kind ("POL", "ARC", "FIL" or "MPT" and five digits), counted.
  std::string next_name(NameKind kind);
  // Adds every count to its total and clears it (end of an input file).
  void commit();
};

// Five base-36 digits, most significant first; values above 36^5 - 1 keep their low digits.
std::string base36_5(std::uint32_t value);

}  // namespace tsn
