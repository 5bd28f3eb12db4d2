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

void clean_for_release_14(std::string_view name, std::string& out) {
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
  if (out.size() > kMaxLayerName14) {
    out.resize(kMaxLayerName14);
    if (ends_with(out, '_')) out.pop_back();
  }
}

}  // namespace

void make_layer_name(std::string_view name, int verDXF, std::string& out) {
  out.clear();
  if (verDXF == 7) {
    for (const char c : name) {
      if (kDroppedIn2000.find(c) == std::string_view::npos) out += c;
    }
  } else {
    clean_for_release_14(name, out);
  }
  if (out.empty()) out = "UNNAMED";
}

std::string make_layer_name(std::string_view name, int verDXF) {
  std::string out;
  make_layer_name(name, verDXF, out);
  return out;
}

}  // namespace tsn
