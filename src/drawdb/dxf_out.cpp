// Group and number texts of the database's DXF output, buffered and checked.
#include "drawdb/dxf_out.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "drawdb/releases.h"
#include "platform/dxf_number.h"

namespace tsn {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// The code lines of the codes below 1100: "  0\r\n", " 10\r\n", "1000\r\n" ...
struct CodeLine {
  char text[8];
  std::uint8_t size;
};
constexpr std::array<CodeLine, 1100> kCodeLines = [] {
  std::array<CodeLine, 1100> lines{};
  for (int c = 0; c < 1100; ++c) {
    CodeLine& l = lines[static_cast<std::size_t>(c)];
    char digits[4];
    int n = 0;
    for (int v = c; n == 0 || v > 0; v /= 10) digits[n++] = static_cast<char>('0' + v % 10);
    std::uint8_t at = 0;
    for (int pad = 3 - n; pad > 0; --pad) l.text[at++] = ' ';
    while (n > 0) l.text[at++] = digits[--n];
    l.text[at++] = '\r';
    l.text[at++] = '\n';
    l.size = at;
  }
  return lines;
}();

}  // namespace

DxfOut::DxfOut(std::FILE* file, std::uint8_t release, int decimals, bool three_d)
    : file_(file),
      release_(release),
      decimals_(std::clamp(decimals, 0, kMaxDecPlaces)),
      three_d_(three_d),
      buffer_(new char[kBufferSize]) {}

void DxfOut::put(const char* text, std::size_t n) {
  if (used_ + n > kBufferSize) {
    flush();
    if (n > kBufferSize) {  // a text longer than the buffer goes straight to the file
      if (!failed_ && std::fwrite(text, 1, n, file_) != n) failed_ = true;
      return;
    }
  }
  std::memcpy(buffer_.get() + used_, text, n);
  used_ += n;
}

void DxfOut::line(std::string_view text) {
  put(text.data(), text.size());
  end_line();
}

void DxfOut::end_line() {
  if (used_ + 2 > kBufferSize) flush();
  std::memcpy(buffer_.get() + used_, "\r\n", 2);
  used_ += 2;
}

void DxfOut::flush() {
  if (used_ != 0 && !failed_ && std::fwrite(buffer_.get(), 1, used_, file_) != used_) {
    failed_ = true;
  }
  used_ = 0;
}

void DxfOut::code_line(int code) {
  if (code >= 0 && code < static_cast<int>(kCodeLines.size())) {
    // The whole fixed-size text is copied, the line's own length kept.
    const CodeLine& l = kCodeLines[static_cast<std::size_t>(code)];
    if (used_ + sizeof l.text > kBufferSize) flush();
    std::memcpy(buffer_.get() + used_, l.text, sizeof l.text);
    used_ += l.size;
    return;
  }
  char c[16];
  const auto r = std::to_chars(c, c + sizeof c, code);
  const auto n = static_cast<std::size_t>(r.ptr - c);
  if (n < 3) put("   ", 3 - n);
  put(c, n);
  end_line();
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
  code_line(code);
  // Formatted straight into the buffer, by the text writer's rule (the same bytes for both
  // writers): reals are most of what a drawing holds.
  if (used_ + kRealTextSize + 2 > kBufferSize) flush();
  char* at = buffer_.get() + used_;
  char* end = write_real(value, decimals_, true, at);
  *end++ = '\r';
  *end++ = '\n';
  used_ = static_cast<std::size_t>(end - buffer_.get());
}

void DxfOut::hex(int code, std::uint32_t handle) {
  char c[16];
  const auto r = std::to_chars(c, c + sizeof c, handle, 16);
  for (char* ch = c; ch != r.ptr; ++ch) *ch = static_cast<char>(*ch >= 'a' ? *ch - 'a' + 'A' : *ch);
  code_line(code);
  line(std::string_view(c, static_cast<std::size_t>(r.ptr - c)));
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
