// Reading a saved binary drawing in the tests: its bytes, little-endian fields and CRCs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "drawdb/dwg_bits.h"

namespace tsn::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t le(const Bytes& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
  return v;
}

// The format's CRC (seed 0xC0C1) of bytes [from, to).
inline std::uint16_t crc(const Bytes& b, std::size_t from, std::size_t to) {
  return dwg::crc16(std::span(b.data() + from, to - from), dwg::kCrcSeed);
}

}  // namespace tsn::test
