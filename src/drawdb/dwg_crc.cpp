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

// Slicing by eight: table k gives the CRC of a byte followed by k zero bytes, so eight bytes
// are folded in with eight lookups.
constexpr std::array<std::array<std::uint16_t, 256>, 8> make_slice_tables() {
  std::array<std::array<std::uint16_t, 256>, 8> t{};
  t[0] = kCrcTable;
  for (std::size_t k = 1; k < 8; ++k) {
    for (unsigned i = 0; i < 256; ++i) {
      const unsigned prev = t[k - 1][i];
      t[k][i] = static_cast<std::uint16_t>((prev >> 8) ^ kCrcTable[prev & 0xFF]);
    }
  }
  return t;
}

constexpr auto kSlices = make_slice_tables();

}  // namespace

std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t seed) {
  unsigned crc = seed;
  std::size_t i = 0;
  const std::uint8_t* p = bytes.data();
  for (; i + 8 <= bytes.size(); i += 8, p += 8) {
    crc = kSlices[7][(p[0] ^ crc) & 0xFF] ^ kSlices[6][p[1] ^ (crc >> 8)] ^ kSlices[5][p[2]] ^
          kSlices[4][p[3]] ^ kSlices[3][p[4]] ^ kSlices[2][p[5]] ^ kSlices[1][p[6]] ^
          kSlices[0][p[7]];
  }
  for (; i < bytes.size(); ++i) crc = (crc >> 8) ^ kCrcTable[(crc ^ bytes[i]) & 0xFF];
  return static_cast<std::uint16_t>(crc);
}

Reserved reserve(BitWriter& w, int bytes, ByteOrder order) {
  const Reserved field{w.bit, bytes, order};
  write_bits(w, 0, 8 * bytes);
  return field;
}

void patch(BitWriter& w, const Reserved& field, std::uint64_t value) {
  const int bits = 8 * field.bytes;
  const std::uint64_t low = bits < 64 ? value & ((std::uint64_t{1} << bits) - 1) : value;
  // The bits run in file order: for a little-endian field that is the low byte first.
  const std::uint64_t run =
      field.order == ByteOrder::little ? swap_bytes(low) >> (64 - bits) : low;
  overwrite_bits(w, field.bit, run, bits);
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
