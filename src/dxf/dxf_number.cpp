// Real and handle texts of DXF output, without allocation and independent of the locale.
#include "dxf/dxf_number.h"

#include <algorithm>
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
// argument of fixed_by_scaling needs.
constexpr double kScaledLimit = 4503599627370496.0;  // 2^52

// Writes the decimal digits of v, at least `width` of them (zero-padded), so that they end at
// `end`, two at a time; returns the first digit's position.
char* digits_backwards(std::uint64_t v, char* end, int width) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char* p = end;
  while (v >= 100) {
    const auto pair = static_cast<std::size_t>(v % 100) * 2;
    v /= 100;
    p -= 2;
    std::memcpy(p, kPairs + pair, 2);
  }
  if (v >= 10) {
    p -= 2;
    std::memcpy(p, kPairs + static_cast<std::size_t>(v) * 2, 2);
  } else {
    *--p = static_cast<char>('0' + v);
  }
  while (end - p < width) *--p = '0';
  return p;
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

  // At least places + 1 digits, so that one stands before the point; the point goes between
  // the whole part and the decimals as they are copied out.
  char scratch[24];
  char* const end = scratch + sizeof scratch;
  const char* first = digits_backwards(magnitude, end, places + 1);
  const auto whole = static_cast<std::size_t>(end - first) - static_cast<std::size_t>(places);
  char* o = out.text;
  if (negative) *o++ = '-';  // a value that rounds to zero has no sign here
  std::memcpy(o, first, whole);
  o += whole;
  if (places > 0) {
    *o++ = '.';
    std::memcpy(o, first + whole, static_cast<std::size_t>(places));
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
