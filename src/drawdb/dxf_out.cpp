// Group and number texts of the database's DXF output, buffered and checked.
#include "drawdb/dxf_out.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "drawdb/releases.h"

namespace tsn {
namespace {

constexpr std::size_t kFlushAt = 1 << 16;

std::string exponent_text(double value) {
  char text[40];
  const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
  std::string s(text, r.ptr);
  const std::size_t e = s.find('e');
  std::string mantissa = s.substr(0, e);
  if (mantissa.find('.') == std::string::npos) mantissa += ".0";
  return mantissa + "E" + s.substr(e + 1);
}

}  // namespace

std::string real_text(double value, int places) {
  places = std::clamp(places, 0, 16);
  if (!std::isfinite(value)) value = 0.0;
  if (std::fabs(value) >= 1e21) return exponent_text(value);
  char text[64];
  const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, places);
  std::string s(text, r.ptr);
  if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  const std::size_t point = s.find('.');
  if (point != std::string::npos) {
    std::size_t end = s.size();
    while (end > point + 2 && s[end - 1] == '0') --end;
    s.resize(end);
  }
  return s;
}

void DxfOut::line(std::string_view text) {
  buffer_.append(text).append("\r\n");
  if (buffer_.size() >= kFlushAt) flush();
}

void DxfOut::flush() {
  if (!buffer_.empty() && !failed_ &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
}

void DxfOut::group(int code, std::string_view value) {
  char c[16];
  const auto r = std::to_chars(c, c + sizeof c, code);
  const auto n = static_cast<std::size_t>(r.ptr - c);
  buffer_.append(n < 3 ? 3 - n : 0, ' ').append(c, n).append("\r\n");
  // Control characters would break the line structure: "^" and the letter, a caret "^ ".
  std::string escaped;
  for (const char ch : value) {
    if (ch == '^') {
      escaped += "^ ";
    } else if (static_cast<unsigned char>(ch) < 32) {
      escaped += '^';
      escaped += static_cast<char>(ch + 64);
    } else {
      escaped += ch;
    }
  }
  line(escaped);
}

void DxfOut::integer(int code, long value) { group(code, std::to_string(value)); }
void DxfOut::real(int code, double value) { group(code, real_text(value, decimals_)); }

void DxfOut::hex(int code, std::uint32_t handle) {
  char c[16];
  const auto r = std::to_chars(c, c + sizeof c, handle, 16);
  std::string s(c, r.ptr);
  for (char& ch : s) ch = static_cast<char>(ch >= 'a' ? ch - 'a' + 'A' : ch);
  group(code, s);
}

void DxfOut::point(int code, const double* xyz) {
  real(code, xyz[0]);
  real(code + 10, xyz[1]);
  if (three_d_ || release_ != kR12) real(code + 20, xyz[2]);
}

void DxfOut::point3(int code, const double* xyz) {
  real(code, xyz[0]);
  real(code + 10, xyz[1]);
  real(code + 20, xyz[2]);
}

void DxfOut::point2(int code, double x, double y) {
  real(code, x);
  real(code + 10, y);
}

bool DxfOut::finish() {
  flush();
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace tsn
