// The binary drawing's CRC-16 and the fields reserved in a bit stream, patched once known.
#include "drawdb/dwg_bits.h"

namespace tsn::dwg {
namespace {

constexpr std::array<std::uint16_t, 256> make_crc_table() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned r = i;
    for (int k = 0; k < 8; ++k) r = (r & 1) ? (r >> 1) ^ 0xA001 : r >> 1;
    table[i] = static_cast<std::uint16_t>(r);
  }
  return table;
}

constexpr auto kCrcTable = make_crc_table();

// Overwrites one bit already written.
void set_bit(BitWriter& w, std::size_t at, bool on) {
  const auto mask = static_cast<std::uint8_t>(0x80 >> (at % 8));
  if (on) {
    w.bytes[at / 8] |= mask;
  } else {
    w.bytes[at / 8] &= static_cast<std::uint8_t>(~mask);
  }
}

}  // namespace

std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t seed) {
  unsigned crc = seed;
  for (std::uint8_t b : bytes) crc = (crc >> 8) ^ kCrcTable[(crc ^ b) & 0xFF];
  return static_cast<std::uint16_t>(crc);
}

Reserved reserve(BitWriter& w, int bytes, ByteOrder order) {
  const Reserved field{w.bit, bytes, order};
  for (int i = 0; i < bytes; ++i) write_rc(w, 0);
  return field;
}

void patch(BitWriter& w, const Reserved& field, std::uint64_t value) {
  for (int i = 0; i < field.bytes; ++i) {
    const int shift = 8 * (field.order == ByteOrder::little ? i : field.bytes - 1 - i);
    const auto byte = static_cast<std::uint8_t>(value >> shift);
    for (int k = 0; k < 8; ++k) set_bit(w, field.bit + 8 * i + k, (byte >> (7 - k)) & 1);
  }
}

std::optional<std::uint16_t> patch_crc(BitWriter& w, const Reserved& field,
                                       std::size_t from_byte, std::uint16_t seed) {
  if (field.bit % 8 != 0 || from_byte * 8 > field.bit) return std::nullopt;
  const std::span<const std::uint8_t> range(w.bytes.data() + from_byte, field.bit / 8 - from_byte);
  const std::uint16_t crc = crc16(range, seed);
  patch(w, field, crc);
  return crc;
}

std::size_t append_object(BitWriter& w, const BitWriter& body) {
  align_byte(w);
  const std::size_t start = w.bit / 8;
  write_ms(w, static_cast<std::uint32_t>(body.bytes.size()));
  write_raw(w, body.bytes);
  const Reserved crc = reserve(w, 2);
  patch_crc(w, crc, start, kCrcSeed);  // aligned by construction
  return start;
}

}  // namespace tsn::dwg
