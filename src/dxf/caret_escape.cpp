// Caret notation of control characters and carets in DXF text values.
#include "dxf/caret_escape.h"

namespace tsn {
namespace {

bool is_control(char c) { return static_cast<unsigned char>(c) < 0x20; }

}  // namespace

bool needs_caret_escape(std::string_view text) {
  for (const char c : text) {
    if (is_control(c) || c == '^') return true;
  }
  return false;
}

std::size_t append_caret_escaped(std::string_view text, std::string& out, std::size_t limit) {
  std::size_t written = 0;
  for (const char c : text) {
    const bool escaped = is_control(c) || c == '^';
    const std::size_t n = escaped ? 2 : 1;
    if (limit - written < n) break;
    if (escaped) {
      out += '^';
      out += c == '^' ? ' ' : static_cast<char>(c + 64);
    } else {
      out += c;
    }
    written += n;
  }
  return written;
}

}  // namespace tsn
