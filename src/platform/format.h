// printf-style formatting into a std::string of the size needed.
#pragma once

#include <cstdarg>
#include <string>

namespace tsn {

std::string format_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string vformat_printf(const char* format, std::va_list args);

// A number for people to read: plain decimals (never an exponent), at most `decimals` digits
// after the point, trailing zeros dropped: 1067380.5, -12, 0.000001.
std::string plain_number(double value, int decimals = 6);

}  // namespace tsn
