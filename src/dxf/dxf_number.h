// Number texts of DXF output: reals in fixed notation with DecPlaces digits, trimmed; handles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tsn {

inline constexpr int kMaxDecPlaces = 16;
// The longest fixed-notation double: 309 integer digits of DBL_MAX, sign, point and 16
// decimals (327), with room to spare.
inline constexpr std::size_t kRealTextSize = 352;
// "%8lX" of a 32-bit handle: always eight characters.
inline constexpr std::size_t kHandleTextSize = 8;

// A real in fixed notation with `places` decimals (0..16), as printf "%.*lf" does in the C
// locale, into a caller's buffer. A result that shows only zeros carries no minus sign.
struct RealText {
  char text[kRealTextSize];
  std::size_t size = 0;
  std::string_view view() const { return {text, size}; }
};
void format_real(double value, int places, RealText& out);
// The same text (trimmed by trim_real when asked) written at `out`, which has room for
// kRealTextSize characters; bytes after the text may be overwritten. Returns its end.
char* write_real(double value, int places, bool trimmed, char* out);

// Removes trailing zeros after the first "." while at least one digit stays after it;
// a text without a point before its last character is left as it is. Returns the new length.
std::size_t trim_real(char* text, std::size_t size);

// format_real, then trim_real.
void format_real_trimmed(double value, int places, RealText& out);

// A handle as "%8lX": upper-case hexadecimal, right-aligned in eight columns with blanks.
void format_handle(std::uint32_t handle, char (&out)[kHandleTextSize]);

}  // namespace tsn
