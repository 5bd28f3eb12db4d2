// Real and handle texts of DXF output, without allocation and independent of the locale.
#include "dxf/dxf_number.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace tsn {

void format_real(double value, int places, RealText& out) {
  places = std::clamp(places, 0, kMaxDecPlaces);
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
