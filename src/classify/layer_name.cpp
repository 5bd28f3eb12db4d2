// The layer-name cleaning rule of the output releases.
#include "classify/layer_name.h"

namespace tsn {
namespace {

constexpr std::string_view kDroppedIn2000 = "<>/\\:;?,*|=`";

bool is_ascii_alnum(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool ends_with(const std::string& s, char c) { return !s.empty() && s.back() == c; }

bool is_control(char c) { return static_cast<unsigned char>(c) < 0x20; }

void clean_for_release_14(std::string_view name, std::size_t max_length, std::string& out) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = ascii_upper(name[i]);
    const bool dash_next = i + 1 < name.size() && name[i + 1] == '-';
    if (c == '.') {
      if (!dash_next && !ends_with(out, '_')) out += '_';
    } else if (c == '_') {
      if (!dash_next && !ends_with(out, '_')) out += '_';
    } else if (c == '$' || c == '-' || is_ascii_alnum(c)) {
      out += c;
    } else if (!dash_next && !ends_with(out, '_') && !ends_with(out, '-')) {
      out += '_';
    }
  }
  while (ends_with(out, '_')) out.pop_back();
  if (out.size() > max_length) {
    out.resize(max_length);
    if (ends_with(out, '_')) out.pop_back();
  }
}

void clean_name(std::string_view name, int verDXF, std::size_t max_length, std::string& out) {
  out.clear();
  if (verDXF == 7) {
    for (const char c : name) {
      if (kDroppedIn2000.find(c) == std::string_view::npos && !is_control(c)) out += c;
    }
    if (out.size() > max_length) out.resize(max_length);
  } else {
    clean_for_release_14(name, max_length, out);
  }
  if (out.empty()) out = "UNNAMED";
}

}  // namespace

void make_layer_name(std::string_view name, int verDXF, std::string& out) {
  clean_name(name, verDXF, verDXF == 7 ? std::string_view::npos : kMaxLayerName14, out);
}

void make_symbol_name(std::string_view name, int verDXF, std::size_t max_length,
                      std::string& out) {
  clean_name(name, verDXF, max_length, out);
}

std::string make_layer_name(std::string_view name, int verDXF) {
  std::string out;
  make_layer_name(name, verDXF, out);
  return out;
}

}  // namespace tsn
