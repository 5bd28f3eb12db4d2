// Byte-order helpers: fixed-width integers and IEEE doubles loaded from (and stored to) raw
// bytes in big- or little-endian order, independent of the machine's own order.
#pragma once

#include <bit>
#include <cstdint>

namespace tsn {

inline std::uint16_t load_le16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t load_le32(const unsigned char* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}
inline std::uint32_t load_be32(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}
inline std::uint64_t load_le64(const unsigned char* p) {
  return std::uint64_t{load_le32(p)} | (std::uint64_t{load_le32(p + 4)} << 32);
}
inline std::int32_t load_le_i32(const unsigned char* p) {
  return static_cast<std::int32_t>(load_le32(p));
}
inline std::int32_t load_be_i32(const unsigned char* p) {
  return static_cast<std::int32_t>(load_be32(p));
}
inline double load_le_f64(const unsigned char* p) { return std::bit_cast<double>(load_le64(p)); }

inline void store_le16(unsigned char* p, std::uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
inline void store_le32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
inline void store_be32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * (3 - i)));
}
inline void store_le64(unsigned char* p, std::uint64_t v) {
  store_le32(p, static_cast<std::uint32_t>(v));
  store_le32(p + 4, static_cast<std::uint32_t>(v >> 32));
}
inline void store_le_f64(unsigned char* p, double v) { store_le64(p, std::bit_cast<std::uint64_t>(v)); }

}  // namespace tsn
