// The value encodings of the binary drawing's bit stream.
#include "drawdb/dwg_bits.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace tsn::dwg {
namespace {

std::uint64_t double_bits(double v) { return std::bit_cast<std::uint64_t>(v); }

// `count` bytes of `v`, low byte first: as one run of bits, the low byte leading.
void write_le(BitWriter& w, std::uint64_t v, int count) {
  if (count == 0) return;
  write_bits(w, swap_bytes(v) >> (64 - 8 * count), 8 * count);
}

// How many bytes `v` needs, leading zero bytes dropped (none for 0).
int significant_bytes(std::uint64_t v) {
  int count = 0;
  while (count < 8 && (v >> (8 * count)) != 0) ++count;
  return count;
}

// The forms BS and BL share: code 10 for 0, 01 and a byte up to 255, else 00 and the raw value.
void write_compact(BitWriter& w, std::uint32_t v, int raw_bytes) {
  if (v == 0) return write_bb(w, 2);
  if (v < 256) {
    write_bb(w, 1);
    return write_rc(w, static_cast<std::uint8_t>(v));
  }
  write_bb(w, 0);
  write_le(w, v, raw_bytes);
}

// A 2-bit code and then a raw double, as two runs: the code with the double's first four
// bytes, then the other four.
void write_code_and_double(BitWriter& w, unsigned code, std::uint64_t bits) {
  const std::uint64_t run = swap_bytes(bits);
  write_bits(w, (std::uint64_t{code} << 32) | (run >> 32), 34);
  write_bits(w, run & 0xFFFFFFFFu, 32);
}

}  // namespace

void ByteBuffer::append(std::span<const std::uint8_t> bytes) {
  const std::size_t at = size_;
  grow(size_ + bytes.size());
  if (!bytes.empty()) std::memcpy(data() + at, bytes.data(), bytes.size());
}

void ByteBuffer::assign(std::size_t n, std::uint8_t value) {
  clear();
  grow(n);
  if (n > 0) std::memset(data(), value, n);
}

void ByteBuffer::reallocate(std::size_t n) { store_.resize(n < 56 ? 64 : 2 * n + 8); }

void ByteBuffer::clear() {
  if (size_ > 0) std::memset(data(), 0, size_);
  size_ = 0;
}

void align_byte(BitWriter& w) { write_bits(w, 0, static_cast<int>((8 - w.bit % 8) % 8)); }

void overwrite_bits(BitWriter& w, std::size_t at, std::uint64_t value, int count) {
  std::uint8_t* p = w.bytes.data();
  // A byte at a time: the bits that fit in the byte at `at`, then whole bytes.
  while (count > 0) {
    const int used = static_cast<int>(at % 8);
    const int room = 8 - used;
    const int take = count < room ? count : room;
    const unsigned mask = ((1u << take) - 1) << (room - take);
    const auto chunk = static_cast<unsigned>((value >> (count - take)) << (room - take)) & mask;
    p[at / 8] = static_cast<std::uint8_t>((p[at / 8] & ~mask) | chunk);
    at += static_cast<std::size_t>(take);
    count -= take;
  }
}

void write_long_bits(BitWriter& w, std::uint64_t value, int count) {
  write_bits(w, value >> 32, count - 32);
  write_bits(w, value & 0xFFFFFFFFu, 32);
}

bool write_3b(BitWriter& w, unsigned v) {
  switch (v) {
    case 0: write_bits(w, 0b0, 1); return true;
    case 2: write_bits(w, 0b10, 2); return true;
    case 6: write_bits(w, 0b110, 3); return true;
    case 7: write_bits(w, 0b111, 3); return true;
    default: return false;
  }
}

void write_rs(BitWriter& w, std::uint16_t v) { write_le(w, v, 2); }
void write_rl(BitWriter& w, std::uint32_t v) { write_le(w, v, 4); }
void write_rd(BitWriter& w, double v) { write_le(w, double_bits(v), 8); }

void write_raw(BitWriter& w, std::span<const std::uint8_t> bytes) {
  if (w.bit % 8 == 0) {
    w.bytes.append(bytes);
    w.bit += 8 * bytes.size();
    return;
  }
  // Off a byte boundary: seven bytes a shift.
  std::size_t i = 0;
  for (; i + 7 <= bytes.size(); i += 7) {
    std::uint64_t run = 0;
    for (std::size_t k = 0; k < 7; ++k) run = (run << 8) | bytes[i + k];
    write_bits(w, run, 56);
  }
  for (; i < bytes.size(); ++i) write_rc(w, bytes[i]);
}

void write_bs(BitWriter& w, std::uint16_t v) {
  if (v == 256) return write_bb(w, 3);
  write_compact(w, v, 2);
}

void write_bl(BitWriter& w, std::uint32_t v) { write_compact(w, v, 4); }

bool write_bll(BitWriter& w, std::uint64_t v) {
  const int count = significant_bytes(v);
  if (count > 7) return false;
  write_bits(w, static_cast<std::uint64_t>(count), 3);
  write_le(w, v, count);
  return true;
}

void write_bd(BitWriter& w, double v) {
  // Compared by bits so that -0.0 keeps its sign.
  if (double_bits(v) == double_bits(0.0)) return write_bb(w, 2);
  if (v == 1.0) return write_bb(w, 1);
  write_code_and_double(w, 0, double_bits(v));
}

void write_dd(BitWriter& w, double v, double default_value) {
  const std::uint64_t b = double_bits(v), d = double_bits(default_value);
  if (b == d) return write_bb(w, 0);
  if ((b >> 32) == (d >> 32)) {
    write_bb(w, 1);
    return write_le(w, b, 4);
  }
  if ((b >> 48) == (d >> 48)) {
    write_bb(w, 2);
    write_le(w, b >> 32, 2);
    return write_le(w, b, 4);
  }
  write_code_and_double(w, 3, b);
}

void write_mc(BitWriter& w, std::int64_t v) {
  const bool negative = v < 0;
  std::uint64_t m = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  // Whole groups of 7 while more than 6 bits remain: the last byte gives one bit to the sign.
  while (m >= 0x40) {
    write_rc(w, static_cast<std::uint8_t>(0x80 | (m & 0x7F)));
    m >>= 7;
  }
  write_rc(w, static_cast<std::uint8_t>(m | (negative ? 0x40 : 0)));
}

void write_umc(BitWriter& w, std::uint64_t v) {
  for (; v >= 0x80; v >>= 7) write_rc(w, static_cast<std::uint8_t>(0x80 | (v & 0x7F)));
  write_rc(w, static_cast<std::uint8_t>(v));
}

void write_ms(BitWriter& w, std::uint32_t v) {
  for (; v >= 0x8000; v >>= 15) write_rs(w, static_cast<std::uint16_t>(0x8000 | (v & 0x7FFF)));
  write_rs(w, static_cast<std::uint16_t>(v));
}

void write_h(BitWriter& w, unsigned code, std::uint64_t value) {
  const int count = significant_bytes(value);
  write_bits(w, ((code & 0xF) << 4) | static_cast<unsigned>(count), 8);
  write_bits(w, value, 8 * count);  // most significant byte first
}

bool write_t(BitWriter& w, std::string_view bytes) {
  if (bytes.size() > 0xFFFF) return false;
  write_bs(w, static_cast<std::uint16_t>(bytes.size()));
  write_raw(w, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  return true;
}

JulianParts julian_parts(double julian) {
  double days = std::floor(julian);
  auto ms = std::llround((julian - days) * 86400000.0);
  if (ms >= 86400000) days += 1, ms = 0;
  return {static_cast<std::uint32_t>(days), static_cast<std::uint32_t>(ms)};
}

void write_2rd(BitWriter& w, double x, double y) {
  write_rd(w, x);
  write_rd(w, y);
}

void write_3bd(BitWriter& w, const Triple& p) {
  for (double v : p) write_bd(w, v);
}

void write_be(BitWriter& w, const Triple& extrusion, bool r2000) {
  if (!r2000) return write_3bd(w, extrusion);
  const bool default_z = extrusion == Triple{0.0, 0.0, 1.0};
  write_b(w, default_z);
  if (!default_z) write_3bd(w, extrusion);
}

void write_bt(BitWriter& w, double thickness, bool r2000) {
  if (!r2000) return write_bd(w, thickness);
  const bool zero = thickness == 0.0;
  write_b(w, zero);
  if (!zero) write_bd(w, thickness);
}

}  // namespace tsn::dwg
