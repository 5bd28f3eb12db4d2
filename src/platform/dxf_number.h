// Number texts of DXF output, for the program's own DXF writer and the drawing database's
// alike: reals in fixed notation with DecPlaces digits, trimmed; handles.
//
// Every real written is a number a DXF reader can take back: magnitudes from kExponentFrom on
// (far beyond any survey coordinate) are written in exponent notation, and a value that is not
// a finite number is written as 0 (the writer counts it, see DxfState).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tsn {

inline constexpr int kMaxDecPlaces = 16;
// From this magnitude on a real is written as the shortest text that reads back as the same
// double, in exponent notation ("1.0E+300", "-2.5E+21"), as CAD programs write huge values
// themselves: in fixed notation 1e300 would take 301 digits, more than a DXF line may hold.
// Every smaller value keeps its fixed notation ("%.*f"), at most 21 integer digits.
inline constexpr double kExponentFrom = 1e21;
// The longest text: sign, 21 integer digits, point and 16 decimals (39), with room to spare;
// the exponent form is at most 24 characters ("-1.7976931348623157E+308").
inline constexpr std::size_t kRealTextSize = 64;
// "%8lX" of a 32-bit handle: always eight characters.
inline constexpr std::size_t kHandleTextSize = 8;

// A real in fixed notation with `places` decimals (0..16), as printf "%.*lf" does in the C
// locale, into a caller's buffer. A result that shows only zeros carries no minus sign. From
// kExponentFrom on the exponent form; NaN and infinities are written as 0.
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

// The shortest decimal text that reads back as `value`, with at least one digit after the
// point ("0.5", "1.0"): for fixed numbers that do not follow DecPlaces.
std::string decimal_text(double value);

// A handle as "%8lX": upper-case hexadecimal, right-aligned in eight columns with blanks.
void format_handle(std::uint32_t handle, char (&out)[kHandleTextSize]);

}  // namespace tsn
