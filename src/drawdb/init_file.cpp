// Reading the initialisation file: a bounded line parser over untrusted text.
#include "drawdb/init_file.h"

#include <charconv>
#include <cmath>

#include "drawdb/drawing.h"
#include "drawdb/header_fields.h"

namespace tsn {
namespace {

constexpr std::string_view kDefaultText =
    "; Tessaryn drawing database defaults: header variables, linetypes, text style.\n"
    "[header]\n"
    "$LIMMIN=0,0\n"
    "$LIMMAX=420,297\n"
    "$LTSCALE=1.0\n"
    "$TEXTSIZE=2.5\n"
    "$FILLMODE=1\n"
    "$ATTMODE=1\n"
    "$MIRRTEXT=1\n"
    "$PDMODE=0\n"
    "$PDSIZE=0.0\n"
    "$MEASUREMENT=1\n"
    "[linetypes]\n"
    "CONTINUOUS=Solid line\n"
    "DASHED=Dashed __ __ __ __|0.5,-0.25\n"
    "[style]\n"
    "name=STANDARD\n"
    "font=txt\n"
    "height=0.0\n"
    "width=1.0\n";

enum class Section { none, header, linetypes, style };

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

bool parse_real(std::string_view s, double& out) {
  s = trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  return r.ec == std::errc{} && r.ptr == s.data() + s.size() && std::isfinite(out);
}

bool parse_int(std::string_view s, int& out) {
  s = trim(s);
  const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  return r.ec == std::errc{} && r.ptr == s.data() + s.size() && !s.empty();
}

// Exactly `count` comma-separated reals.
bool parse_reals(std::string_view s, double* out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t comma = s.find(',');
    if ((comma == std::string_view::npos) != (i + 1 == count)) return false;
    if (!parse_real(s.substr(0, comma), out[i])) return false;
    if (comma != std::string_view::npos) s.remove_prefix(comma + 1);
  }
  return true;
}

bool valid_name(std::string_view s) { return !s.empty() && s.size() <= 255; }

bool set_header(std::string_view name, std::string_view value, DbHeader& h) {
  const HeaderVar* v = find_header_var(name);
  if (v == nullptr) return false;
  switch (v->type) {
    case HeaderValue::real: return parse_real(value, h.*(v->real));
    case HeaderValue::integer:
    case HeaderValue::code_page: return parse_int(value, h.*(v->integer));
    case HeaderValue::text:
      if (value.size() > 255) return false;
      h.*(v->text) = std::string(value);
      return true;
    case HeaderValue::point3: return parse_reals(value, (h.*(v->point3)).data(), 3);
    case HeaderValue::point2: return parse_reals(value, (h.*(v->point2)).data(), 2);
    default: return false;  // written by the save itself
  }
}

bool add_linetype(std::string_view name, std::string_view value, InitDefaults& out) {
  if (!valid_name(name) || out.linetypes.size() >= kInitMaxLinetypes) return false;
  InitLinetype lt{std::string(name), {}, {}};
  const std::size_t bar = value.find('|');
  lt.description = std::string(trim(value.substr(0, bar)));
  if (bar != std::string_view::npos) {
    std::string_view dashes = value.substr(bar + 1);
    while (true) {
      if (lt.dashes.size() >= kInitMaxDashes) return false;
      const std::size_t comma = dashes.find(',');
      double dash = 0.0;
      if (!parse_real(dashes.substr(0, comma), dash)) return false;
      lt.dashes.push_back(dash);
      if (comma == std::string_view::npos) break;
      dashes.remove_prefix(comma + 1);
    }
  }
  for (const InitLinetype& other : out.linetypes) {
    if (same_name(other.name, lt.name)) return false;
  }
  out.linetypes.push_back(std::move(lt));
  return true;
}

bool set_style(std::string_view key, std::string_view value, DbStyle& s) {
  if (same_name(key, "name")) {
    if (!valid_name(value)) return false;
    s.name = std::string(value);
    return true;
  }
  if (same_name(key, "font")) {
    if (!valid_name(value)) return false;
    s.font = std::string(value);
    return true;
  }
  if (same_name(key, "height")) return parse_real(value, s.height) && s.height >= 0.0;
  if (same_name(key, "width")) return parse_real(value, s.width_factor) && s.width_factor > 0.0;
  return false;
}

bool parse_line(std::string_view line, Section& section, InitDefaults& out) {
  if (line.empty() || line.front() == ';' || line.front() == '#') return true;
  if (line.front() == '[') {
    if (line.back() != ']') return false;
    const std::string_view name = line.substr(1, line.size() - 2);
    section = same_name(name, "header")      ? Section::header
              : same_name(name, "linetypes") ? Section::linetypes
              : same_name(name, "style")     ? Section::style
                                             : Section::none;
    return section != Section::none;
  }
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  const std::string_view key = trim(line.substr(0, eq));
  const std::string_view value = trim(line.substr(eq + 1));
  switch (section) {
    case Section::header: return set_header(key, value, out.header);
    case Section::linetypes: return add_linetype(key, value, out);
    case Section::style: return set_style(key, value, out.standard_style);
    default: return false;
  }
}

}  // namespace

std::string_view default_init_text() { return kDefaultText; }

bool parse_init_text(std::string_view text, InitDefaults& out, int* bad_line) {
  out = InitDefaults{};
  out.standard_style.name = "STANDARD";
  if (bad_line != nullptr) *bad_line = 0;
  if (text.size() > kInitMaxBytes || text.find('\0') != std::string_view::npos) return false;
  Section section = Section::none;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (line.size() > kInitMaxLine + 1 || !parse_line(trim(line), section, out)) {
      if (bad_line != nullptr) *bad_line = number;
      return false;
    }
  }
  return true;
}

}  // namespace tsn
