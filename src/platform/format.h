// printf-style formatting into a std::string of the size needed.
#pragma once

#include <cstdarg>
#include <string>

namespace tsn {

std::string format_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string vformat_printf(const char* format, std::va_list args);

}  // namespace tsn
