// Real and handle texts of DXF output, without allocation and independent of the locale.
#include "platform/dxf_number.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <system_error>

namespace tsn {

namespace {

constexpr std::uint64_t kPowersOfTen[kMaxDecPlaces + 1] = {
    1ULL,
    10ULL,
    100ULL,
    1000ULL,
    10000ULL,
    100000ULL,
    1000000ULL,
    10000000ULL,
    100000000ULL,
    1000000000ULL,
    10000000000ULL,
    100000000000ULL,
    1000000000000ULL,
    10000000000000ULL,
    100000000000000ULL,
    1000000000000000ULL,
    10000000000000000ULL};

constexpr double kReciprocals[kMaxDecPlaces + 1] = {
    1.0,   1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,  1e-8,
    1e-9,  1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15, 1e-16};

// Scaled values below this have a unit in the last place of at most 1/2, which the rounding
// argument of fixed_by_scaling needs; they also have at most sixteen digits.
constexpr double kScaledLimit = 4503599627370496.0;  // 2^52

// The decimal digits of n < 10^8 as eight characters in one word, leading zeros included,
// the first digit in the lowest byte: the number is split into two halves of four digits, then
// pairs, then single digits, each split done in every lane of the word at once.
std::uint64_t eight_digits(std::uint32_t n) {
  std::uint64_t x = (n / 10000) | (static_cast<std::uint64_t>(n % 10000) << 32);
  std::uint64_t hundreds = ((x * 10486) >> 20) & 0x0000007F0000007FULL;  // lane / 100, lanes < 10^4
  x = hundreds | ((x - hundreds * 100) << 16);
  std::uint64_t tens = ((x * 103) >> 10) & 0x000F000F000F000FULL;  // lane / 10, lanes < 100
  x = tens | ((x - tens * 10) << 8);
  return x | 0x3030303030303030ULL;
}

// Stores the last `count` (1..8) digits of an eight-digit word at out, writing eight bytes;
// returns out + count.
char* put_digits(std::uint64_t word, int count, char* out) {
  word >>= 8 * (8 - count);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  std::memcpy(out, &word, 8);
  return out + count;
}

// The last `count` (1..16) digits of v < 10^16, leading zeros included; may write eight bytes
// beyond the result.
char* put_number(std::uint64_t v, int count, char* out) {
  if (count > 8) {
    out = put_digits(eight_digits(static_cast<std::uint32_t>(v / 100000000)), count - 8, out);
    v %= 100000000;
    count = 8;
  }
  return put_digits(eight_digits(static_cast<std::uint32_t>(v)), count, out);
}

// Number of decimal digits of v (0 for 0), for v below 10^16.
int decimal_digits(std::uint64_t v) {
  const auto guess = static_cast<int>((std::bit_width(v) * 1233) >> 12);  // about bits * log10(2)
  return guess + (v >= kPowersOfTen[guess] ? 1 : 0);
}

// Removes trailing zeros of the decimals just written before `end`, keeping one.
char* trim_decimals(char* end) {
  while (end[-1] == '0' && end[-2] != '.') --end;
  return end;
}

// The common case: |value| * 10^places below 2^52. The product is split exactly into a
// rounded part and its error (one fused multiply-add), so the nearest integer to the exact
// scaled value, with exact ties to even, is found without any wider arithmetic. This is the
// printf result: the stored binary value rounded to `places` decimals. Returns nullptr when
// the value is outside the case.
char* fixed_by_scaling(double value, int places, bool trimmed, char* out) {
  const double scale = static_cast<double>(kPowersOfTen[places]);
  const double product = value * scale;
  if (!(std::fabs(product) < kScaledLimit)) return nullptr;  // also NaN
  const double error = std::fma(value, scale, -product);
  // Adding and taking away 2^52 rounds to a whole number, ties to even.
  const double shift = std::copysign(kScaledLimit, product);
  double nearest = (product + shift) - shift;
  const double above = product - nearest;  // exact
  if ((above == 0.5 || above == -0.5) && error != 0.0 && (error > 0) == (above > 0)) {
    // The rounded product sits on a tie, but the exact one lies beyond it.
    nearest += 2.0 * above;
  }
  const bool negative = nearest < 0.0;
  const double size = negative ? -nearest : nearest;
  const auto magnitude = static_cast<std::uint64_t>(size);

  // Whole part and decimals; the quotient from the reciprocal is off by one at most.
  const std::uint64_t unit = kPowersOfTen[places];
  auto whole = static_cast<std::uint64_t>(size * kReciprocals[places]);
  auto rest = static_cast<std::int64_t>(magnitude - whole * unit);
  if (rest < 0) {
    --whole;
    rest += static_cast<std::int64_t>(unit);
  } else if (rest >= static_cast<std::int64_t>(unit)) {
    ++whole;
    rest -= static_cast<std::int64_t>(unit);
  }
  if (negative) *out++ = '-';  // a value that rounds to zero has no sign here
  out = put_number(whole, std::max(decimal_digits(whole), 1), out);
  if (places == 0) return out;
  *out++ = '.';
  if (places > 8) {
    out = put_number(static_cast<std::uint64_t>(rest), places, out);
    return trimmed ? trim_decimals(out) : out;
  }
  const std::uint64_t word = eight_digits(static_cast<std::uint32_t>(rest));
  out = put_digits(word, places, out);
  if (!trimmed) return out;
  // The last digit is the word's top byte: its zero digits at the top are the trailing zeros.
  const int zeros = std::countl_zero(word ^ 0x3030303030303030ULL) / 8;
  return out - std::min(zeros, places - 1);
}

// The shortest text that reads back as `value`, in exponent notation with a point in the
// mantissa: "1.0E+300", "-1.7976931348623157E+308".
char* write_exponent(double value, char* out) {
  char text[32];
  const std::to_chars_result r =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
  const std::string_view all(text, static_cast<std::size_t>(r.ptr - text));
  const std::size_t e = all.find('e');
  const std::string_view mantissa = all.substr(0, e);
  out = std::copy(mantissa.begin(), mantissa.end(), out);
  if (mantissa.find('.') == std::string_view::npos) out = std::copy_n(".0", 2, out);
  *out++ = 'E';
  const std::string_view exponent = all.substr(e + 1);
  return std::copy(exponent.begin(), exponent.end(), out);
}

}  // namespace

char* write_real(double value, int places, bool trimmed, char* out) {
  places = std::clamp(places, 0, kMaxDecPlaces);
  if (char* end = fixed_by_scaling(value, places, trimmed, out)) return end;
  if (!(std::fabs(value) < kExponentFrom)) [[unlikely]] {
    // "nan" or "inf" would be no number to a DXF reader: the writer's last line of defence.
    if (!std::isfinite(value)) return write_real(0.0, places, trimmed, out);
    return write_exponent(value, out);
  }
  // std::to_chars with a precision formats exactly as printf "%.*f" in the C locale.
  const std::to_chars_result r =
      std::to_chars(out, out + kRealTextSize, value, std::chars_format::fixed, places);
  auto size = r.ec == std::errc{} ? static_cast<std::size_t>(r.ptr - out) : 0;
  // A negative value that rounds to zero would read "-0" or "-0.000": drop the sign.
  if (size > 1 && out[0] == '-' &&
      std::all_of(out + 1, out + size, [](char c) { return c == '0' || c == '.'; })) {
    std::copy(out + 1, out + size, out);
    --size;
  }
  if (trimmed) size = trim_real(out, size);
  return out + size;
}

void format_real(double value, int places, RealText& out) {
  out.size = static_cast<std::size_t>(write_real(value, places, false, out.text) - out.text);
}

std::size_t trim_real(char* text, std::size_t size) {
  if (size < 2) return size;
  // The point is looked for up to the second-to-last character only.
  std::size_t point = 0;
  while (point < size - 1 && text[point] != '.') ++point;
  if (point >= size - 1) return size;
  // One digit after the point always remains.
  while (size > point + 2 && text[size - 1] == '0') --size;
  return size;
}

void format_real_trimmed(double value, int places, RealText& out) {
  out.size = static_cast<std::size_t>(write_real(value, places, true, out.text) - out.text);
}

std::string decimal_text(double value) {
  char text[32];
  const auto r = std::to_chars(text, text + sizeof text, value);
  std::string out(text, r.ptr);
  if (out.find_first_of(".e") == std::string::npos) out += ".0";
  return out;
}

void format_handle(std::uint32_t handle, char (&out)[kHandleTextSize]) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::size_t i = kHandleTextSize;
  do {
    out[--i] = kDigits[handle & 0xFu];
    handle >>= 4;
  } while (handle != 0);
  while (i > 0) out[--i] = ' ';
}

}  // namespace tsn
