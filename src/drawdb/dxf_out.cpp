// Group and number texts of the database's DXF output, buffered and checked.
#include "drawdb/dxf_out.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "drawdb/releases.h"
#include "platform/dxf_number.h"

namespace tsn {
namespace {

constexpr std::size_t kFlushAt = 1 << 16;

}  // namespace

// The text writer's formatter: the same rule, and the same bytes, for both writers.
std::size_t real_chars(double value, int places, char (&text)[kRealTextSize]) {
  return static_cast<std::size_t>(write_real(value, std::clamp(places, 0, kMaxDecPlaces), true, text) -
                                  text);
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

// The code lines of the codes below 1100, made once: "  0\r\n", " 10\r\n", "1000\r\n" ...
const std::string& code_line_text(int code) {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> out;
    for (int c = 0; c < 1100; ++c) {
      std::string digits = std::to_string(c);
      out.push_back(std::string(digits.size() < 3 ? 3 - digits.size() : 0, ' ') + digits + "\r\n");
    }
    return out;
  }();
  return lines[static_cast<std::size_t>(code)];
}

void DxfOut::code_line(int code) {
  if (code >= 0 && code < 1100) {
    buffer_.append(code_line_text(code));
    return;
  }
  char c[16];
  const auto r = std::to_chars(c, c + sizeof c, code);
  const auto n = static_cast<std::size_t>(r.ptr - c);
  buffer_.append(n < 3 ? 3 - n : 0, ' ').append(c, n).append("\r\n");
}

void DxfOut::group(int code, std::string_view value) {
  code_line(code);
  const bool plain = std::none_of(value.begin(), value.end(), [](char ch) {
    return ch == '^' || static_cast<unsigned char>(ch) < 32;
  });
  if (plain) return line(value);
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

void DxfOut::integer(int code, long value) {
  char text[24];
  const auto r = std::to_chars(text, text + sizeof text, value);
  code_line(code);
  line(std::string_view(text, static_cast<std::size_t>(r.ptr - text)));
}

void DxfOut::real(int code, double value) {
  char text[kRealTextSize];
  const std::size_t n = real_chars(value, decimals_, text);
  code_line(code);
  line(std::string_view(text, n));
}

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
