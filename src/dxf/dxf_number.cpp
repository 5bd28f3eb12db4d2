// Real and handle texts of DXF output, without allocation and independent of the locale.
#include "dxf/dxf_number.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
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

// Scaled values below this have a unit in the last place of at most 1/2, which the rounding
// argument of fixed_by_scaling needs; they also have at most sixteen digits.
constexpr double kScaledLimit = 4503599627370496.0;  // 2^52

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The eight decimal digits of n < 10^8, with leading zeros; the four pairs come from
// independent divisions, so they do not wait on each other.
void eight_digits(std::uint32_t n, char* out) {
  const std::uint32_t high = n / 10000;
  const std::uint32_t low = n % 10000;
  std::memcpy(out, kDigitPairs + (high / 100) * 2, 2);
  std::memcpy(out + 2, kDigitPairs + (high % 100) * 2, 2);
  std::memcpy(out + 4, kDigitPairs + (low / 100) * 2, 2);
  std::memcpy(out + 6, kDigitPairs + (low % 100) * 2, 2);
}

// Number of decimal digits of v (0 for 0), for v below 10^16.
int decimal_digits(std::uint64_t v) {
  const auto guess = static_cast<int>((std::bit_width(v) * 1233) >> 12);  // about bits * log10(2)
  return guess + (v >= kPowersOfTen[guess] ? 1 : 0);
}

// The common case: |value| * 10^places below 2^52. The product is split exactly into a
// rounded part and its error (one fused multiply-add), so the nearest integer to the exact
// scaled value, with exact ties to even, is found without any wider arithmetic. This is the
// printf result: the stored binary value rounded to `places` decimals.
bool fixed_by_scaling(double value, int places, RealText& out) {
  const double scale = static_cast<double>(kPowersOfTen[places]);
  const double product = value * scale;
  if (!(std::fabs(product) < kScaledLimit)) return false;  // also NaN
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
  const auto magnitude = static_cast<std::uint64_t>(negative ? -nearest : nearest);

  // Twenty-four digits with leading zeros; the number shows at least places + 1 of them (up
  // to seventeen), so that one stands before the point. The copies move sixteen bytes
  // whatever they need, which the scratch area and the text buffer both have room for.
  char digits[40];
  std::memset(digits, '0', 8);
  eight_digits(static_cast<std::uint32_t>(magnitude / 100000000), digits + 8);
  eight_digits(static_cast<std::uint32_t>(magnitude % 100000000), digits + 16);
  const int shown = std::max(decimal_digits(magnitude), places + 1);
  const char* const first = digits + 24 - shown;
  const auto whole = static_cast<std::size_t>(shown - places);
  char* o = out.text;
  if (negative) *o++ = '-';  // a value that rounds to zero has no sign here
  std::memcpy(o, first, 16);
  o += whole;
  if (places > 0) {
    *o++ = '.';
    std::memcpy(o, first + whole, 16);
    o += places;
  }
  out.size = static_cast<std::size_t>(o - out.text);
  return true;
}

}  // namespace

void format_real(double value, int places, RealText& out) {
  places = std::clamp(places, 0, kMaxDecPlaces);
  if (fixed_by_scaling(value, places, out)) return;
  // std::to_chars with a precision formats exactly as printf "%.*f" in the C locale.
  const std::to_chars_result r = std::to_chars(out.text, out.text + kRealTextSize, value,
                                               std::chars_format::fixed, places);
  out.size = r.ec == std::errc{} ? static_cast<std::size_t>(r.ptr - out.text) : 0;
  // A negative value that rounds to zero would read "-0" or "-0.000": drop the sign.
  if (out.size > 1 && out.text[0] == '-' &&
      std::all_of(out.text + 1, out.text + out.size, [](char c) { return c == '0' || c == '.'; })) {
    std::copy(out.text + 1, out.text + out.size, out.text);
    --out.size;
  }
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
  format_real(value, places, out);
  out.size = trim_real(out.text, out.size);
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
