// printf-style formatting into a std::string of the size needed.
#include "platform/format.h"

#include <cmath>
#include <cstdio>

namespace tsn {

std::string vformat_printf(const char* format, std::va_list args) {
  std::va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (needed <= 0) return {};
  std::string out(static_cast<std::size_t>(needed), '\0');
  std::vsnprintf(out.data(), out.size() + 1, format, args);
  return out;
}

std::string format_printf(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string out = vformat_printf(format, args);
  va_end(args);
  return out;
}

std::string plain_number(double value, int decimals) {
  if (!std::isfinite(value)) return format_printf("%g", value);
  std::string text = format_printf("%.*f", decimals, value);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

}  // namespace tsn
