// The bit stream of a binary drawing (releases 14 and 2000): a cursor, the value encodings,
// the 16-bit CRC, the section sentinels, and fields reserved now and patched later.
//
// Bits fill each byte from its most significant bit down; values need not start on a byte
// boundary. Raw values (RC, RS, RL, RD) are little-endian. Compressed forms open with a
// 2-bit code:
//   BS  00 RS follows, 01 RC follows, 10 the value 0, 11 the value 256
//   BL  00 RL follows, 01 RC follows, 10 the value 0
//   BD  00 RD follows, 01 the value 1.0, 10 the value 0.0
//   DD  (against a default) 00 the default, 01 its bytes 0-3 replaced (4 bytes follow),
//       10 its bytes 4-5 then 0-3 replaced (6 bytes follow), 11 RD follows
// BLL is a 3-bit byte count then the bytes, low first. MC and MS carry 7 (15) value bits per
// byte (little-endian word), low group first, the top bit saying another follows; a signed
// MC's last byte keeps bit 0x40 for the sign. H is a code nibble, a count nibble, then the
// value's bytes most significant first. T is a BS byte count, then the bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tsn::dwg {

// The bytes of a stream: a vector whose storage stays zeroed beyond its size and reaches at
// least 8 bytes further, so that growing within it is one addition and the bit writer can
// or a whole 64-bit word into place.
class ByteBuffer {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::uint8_t* data() { return store_.data(); }
  const std::uint8_t* data() const { return store_.data(); }
  std::uint8_t* begin() { return data(); }
  std::uint8_t* end() { return data() + size_; }
  const std::uint8_t* begin() const { return data(); }
  const std::uint8_t* end() const { return data() + size_; }
  std::uint8_t& operator[](std::size_t i) { return store_[i]; }
  std::uint8_t operator[](std::size_t i) const { return store_[i]; }
  std::uint8_t& back() { return store_[size_ - 1]; }
  std::vector<std::uint8_t> to_vector() const { return {begin(), end()}; }

  // Grows to n bytes, the new ones zero.
  void grow(std::size_t n) {
    if (n + 8 > store_.size()) reallocate(n);
    size_ = n;
  }
  void push_back(std::uint8_t b) {
    grow(size_ + 1);
    back() = b;
  }
  void append(std::span<const std::uint8_t> bytes);
  void assign(std::size_t n, std::uint8_t value);
  void clear();

 private:
  void reallocate(std::size_t n);
  std::vector<std::uint8_t> store_;
  std::size_t size_ = 0;
};

// The stream written so far; the next bit goes to bytes[bit / 8].
struct BitWriter {
  ByteBuffer bytes;
  std::size_t bit = 0;
};

inline std::size_t bit_size(const BitWriter& w) { return w.bit; }
inline std::size_t byte_size(const BitWriter& w) { return (w.bit + 7) / 8; }
// Zero bits up to the next byte boundary (none when already on one).
void align_byte(BitWriter& w);

// The bytes of `v` in the opposite order.
inline std::uint64_t swap_bytes(std::uint64_t v) { return __builtin_bswap64(v); }

void write_long_bits(BitWriter& w, std::uint64_t value, int count);

// The low `count` bits of `value` (count <= 64), most significant first. Bits not yet written
// are zero, so new ones are or-ed in: up to 56 at a time, shifted into place behind those of
// the last byte, as one 64-bit word (the storage reaches 8 bytes past the size).
inline void write_bits(BitWriter& w, std::uint64_t value, int count) {
  if (count > 56) return write_long_bits(w, value, count);
  if (count <= 0) return;
  const auto used = static_cast<int>(w.bit % 8);
  const std::size_t first = w.bit / 8;
  w.bit += static_cast<std::size_t>(count);
  if (const std::size_t need = (w.bit + 7) / 8; need > w.bytes.size()) w.bytes.grow(need);
  const std::uint64_t chunk = (value & ((std::uint64_t{1} << count) - 1)) << (64 - used - count);
  std::uint8_t* p = w.bytes.data() + first;
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  word = swap_bytes(swap_bytes(word) | chunk);
  std::memcpy(p, &word, 8);
}
// The same over bits already written, from bit `at` on.
void overwrite_bits(BitWriter& w, std::size_t at, std::uint64_t value, int count);
inline void write_b(BitWriter& w, bool v) { write_bits(w, v ? 1 : 0, 1); }
inline void write_bb(BitWriter& w, unsigned v) { write_bits(w, v, 2); }
// R2000 on: 0 as "0", 2 as "10", 6 as "110", 7 as "111"; false (nothing written) otherwise.
bool write_3b(BitWriter& w, unsigned v);

inline void write_rc(BitWriter& w, std::uint8_t v) { write_bits(w, v, 8); }
void write_rs(BitWriter& w, std::uint16_t v);
void write_rl(BitWriter& w, std::uint32_t v);
void write_rd(BitWriter& w, double v);
void write_raw(BitWriter& w, std::span<const std::uint8_t> bytes);

// Signed values go in as their two's complement (BS -1 is 0xFFFF).
void write_bs(BitWriter& w, std::uint16_t v);
void write_bl(BitWriter& w, std::uint32_t v);
// False, with nothing written, from 2^56 on (the count has 3 bits).
bool write_bll(BitWriter& w, std::uint64_t v);
void write_bd(BitWriter& w, double v);
void write_dd(BitWriter& w, double v, double default_value);

void write_mc(BitWriter& w, std::int64_t v);    // signed modular char
void write_umc(BitWriter& w, std::uint64_t v);  // unsigned modular char
void write_ms(BitWriter& w, std::uint32_t v);   // unsigned modular short

// A handle reference: code 2..5 with the handle itself, or the offset codes 6 (+1) and
// 8 (-1) with value 0 and 0xA / 0xC with the distance from the reference handle.
void write_h(BitWriter& w, unsigned code, std::uint64_t value);
// Text up to release 2000: the bytes as given (a terminating zero is the caller's); false,
// with nothing written, beyond 65535 bytes.
bool write_t(BitWriter& w, std::string_view bytes);
inline void write_cmc(BitWriter& w, std::uint16_t index) { write_bs(w, index); }

using Triple = std::array<double, 3>;
void write_2rd(BitWriter& w, double x, double y);
void write_3bd(BitWriter& w, const Triple& p);
// Extrusion and thickness: release 2000 spends one bit on (0,0,1) and on 0.0; release 14
// writes them in full (3BD and BD).
void write_be(BitWriter& w, const Triple& extrusion, bool r2000);
void write_bt(BitWriter& w, double thickness, bool r2000);

// A julian date as the format stores it: whole days and milliseconds into the day.
struct JulianParts {
  std::uint32_t days, ms;
};
JulianParts julian_parts(double julian);

// The table-driven CRC-16 of the format (reflected polynomial 0xA001), from `seed`.
std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t seed);
// The seed of the object, header-variable, class and object-map CRCs.
inline constexpr std::uint16_t kCrcSeed = 0xC0C1;

using Sentinel = std::array<std::uint8_t, 16>;
inline constexpr Sentinel kFileHeaderEnd = {0x95, 0xA0, 0x4E, 0x28, 0x99, 0x82, 0x1A, 0xE5,
                                            0x5E, 0x41, 0xE0, 0x5F, 0x9D, 0x3A, 0x4D, 0x00};
inline constexpr Sentinel kHeaderVarsStart = {0xCF, 0x7B, 0x1F, 0x23, 0xFD, 0xDE, 0x38, 0xA9,
                                              0x5F, 0x7C, 0x68, 0xB8, 0x4E, 0x6D, 0x33, 0x5F};
inline constexpr Sentinel kHeaderVarsEnd = {0x30, 0x84, 0xE0, 0xDC, 0x02, 0x21, 0xC7, 0x56,
                                            0xA0, 0x83, 0x97, 0x47, 0xB1, 0x92, 0xCC, 0xA0};
inline constexpr Sentinel kClassesStart = {0x8D, 0xA1, 0xC4, 0xB8, 0xC4, 0xA9, 0xF8, 0xC5,
                                           0xC0, 0xDC, 0xF4, 0x5F, 0xE7, 0xCF, 0xB6, 0x8A};
inline constexpr Sentinel kClassesEnd = {0x72, 0x5E, 0x3B, 0x47, 0x3B, 0x56, 0x07, 0x3A,
                                         0x3F, 0x23, 0x0B, 0xA0, 0x18, 0x30, 0x49, 0x75};
inline constexpr Sentinel kPreviewStart = {0x1F, 0x25, 0x6D, 0x07, 0xD4, 0x36, 0x28, 0x28,
                                           0x9D, 0x57, 0xCA, 0x3F, 0x9D, 0x44, 0x10, 0x2B};
inline constexpr Sentinel kPreviewEnd = {0xE0, 0xDA, 0x92, 0xF8, 0x2B, 0xC9, 0xD7, 0xD7,
                                         0x62, 0xA8, 0x35, 0xC0, 0x62, 0xBB, 0xEF, 0xD4};
inline constexpr Sentinel kSecondHeaderStart = {0xD4, 0x7B, 0x21, 0xCE, 0x28, 0x93, 0x9F, 0xBF,
                                                0x53, 0x24, 0x40, 0x09, 0x12, 0x3C, 0xAA, 0x01};
inline constexpr Sentinel kSecondHeaderEnd = {0x2B, 0x84, 0xDE, 0x31, 0xD7, 0x6C, 0x60, 0x40,
                                              0xAC, 0xDB, 0xBF, 0xF6, 0xED, 0xC3, 0x55, 0xFE};
inline void write_sentinel(BitWriter& w, const Sentinel& s) { write_raw(w, s); }

// A fixed-width field written as zeros now and patched when its value is known (a size, an
// address, a CRC), little-endian unless the layout wants the most significant byte first.
enum class ByteOrder { little, big };
struct Reserved {
  std::size_t bit;  // where the field starts
  int bytes;
  ByteOrder order;
};
Reserved reserve(BitWriter& w, int bytes, ByteOrder order = ByteOrder::little);
// Overwrites the field with `value`; the cursor stays where it is.
void patch(BitWriter& w, const Reserved& field, std::uint64_t value);
// Patches the field with the CRC of the whole bytes [from_byte, field start) and returns it;
// nothing, with nothing patched, when the field is off a byte boundary or before from_byte.
std::optional<std::uint16_t> patch_crc(BitWriter& w, const Reserved& field,
                                       std::size_t from_byte, std::uint16_t seed);

// An object as the objects section holds it: aligned, MS size of the body's bytes, the
// body, then the RS CRC (seed kCrcSeed) over the size and the body. Returns where it began.
std::size_t append_object(BitWriter& w, const BitWriter& body);

}  // namespace tsn::dwg
