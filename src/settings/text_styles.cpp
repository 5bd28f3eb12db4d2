// Text styles and colour scheme names as the settings need them.
#include "settings/text_styles.h"

#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/string_table.h"

namespace tsn {

namespace {

constexpr int kMappingSchemeText = 267;  // the built-in scheme after the named ones

bool blank(char c) { return c == ' ' || c == '\t'; }

// A value is read back trimmed and up to a line break.
bool value_writable(std::string_view value) {
  return !value.empty() && !blank(value.front()) && !blank(value.back()) &&
         value.find_first_of("\r\n") == std::string_view::npos;
}

bool styles_writable(const std::vector<std::pair<std::string, std::string>>& styles) {
  if (styles.empty() || styles.size() > static_cast<std::size_t>(kMaxTextStyles)) return false;
  for (std::size_t i = 0; i < styles.size(); ++i) {
    if (!style_name_writable(styles[i].first) || !value_writable(styles[i].second)) return false;
    for (std::size_t j = 0; j < i; ++j) {
      // Keys are found ignoring case, so a second such name could never be read.
      if (equal_ignoring_case(styles[i].first, styles[j].first)) return false;
    }
  }
  return true;
}

}  // namespace

int load_text_styles(ConvSettings& s) {
  Profile p;
  p.select_file(s.styles_file);
  p.select_section("Styles");
  s.text_styles.clear();
  for (auto& entry : p.read_section()) {
    if (s.text_styles.size() >= static_cast<std::size_t>(kMaxTextStyles)) break;
    if (entry.first.empty()) continue;
    s.text_styles.push_back(std::move(entry));
  }
  if (s.text_styles.empty()) {
    p.write_string("STANDARD", "txt");
    (void)p.flush();  // an unwritable styles file still leaves the one built-in style in use
    s.text_styles.emplace_back("STANDARD", "txt");
  }
  return static_cast<int>(s.text_styles.size());
}

bool style_name_writable(std::string_view name) {
  return value_writable(name) && name.front() != '[' && name.front() != ';' &&
         name.find('=') == std::string_view::npos;
}

bool save_text_styles(ConvSettings& s,
                      const std::vector<std::pair<std::string, std::string>>& styles) {
  if (!styles_writable(styles)) return false;
  Profile p;
  p.select_file(s.styles_file);
  p.select_section("Styles");
  p.erase_section();
  for (const auto& [name, font] : styles) p.write_string(name, font);
  if (!p.flush()) return false;
  load_text_styles(s);
  resolve_style_indices(s);
  return true;
}

int find_style(const ConvSettings& s, std::string& name) {
  for (std::size_t i = 0; i < s.text_styles.size(); ++i) {
    if (equal_ignoring_case(s.text_styles[i].first, name)) return static_cast<int>(i);
  }
  if (!s.text_styles.empty()) name = s.text_styles[0].first;
  return 0;
}

std::string style_font(const ConvSettings& s, std::string_view name) {
  for (const auto& [style, font] : s.text_styles) {
    if (equal_ignoring_case(style, name)) return font;
  }
  return "txt";
}

std::string_view drawing_style_name(const ConvSettings& s, int index, std::string_view fallback) {
  if (s.drawing_styles.empty()) return fallback;
  const auto i = std::min(static_cast<std::size_t>(std::max(0, index)), s.drawing_styles.size() - 1);
  return s.drawing_styles[i].first;
}

void resolve_style_indices(ConvSettings& s) {
  s.label_style = find_style(s, s.cur.TextLabelsStyle);
  s.marker_style = find_style(s, s.cur.MarkerStyle);
  s.legend_style = find_style(s, s.cur.TextLegendStyle);
  s.attrib_style = find_style(s, s.cur.TextAttribStyle);
}

int load_scheme_names(ConvSettings& s) {
  Profile p;
  p.select_file(s.colours_file);
  p.select_section("ColorSchemes");
  const int declared = p.read_int("NumSchemes", 0);
  s.scheme_names.clear();
  // A hostile count must not drive the loop: each scheme needs a key line of its own.
  const int limit = static_cast<int>(p.read_section().size());
  for (int i = 0; i < declared && i < limit; ++i) {
    std::string name = p.read_string(std::to_string(i), "", 255);
    if (name.empty()) break;
    s.scheme_names.push_back(std::move(name));
  }
  return static_cast<int>(s.scheme_names.size());
}

int find_scheme(const ConvSettings& s, const std::string& name) {
  for (std::size_t i = 0; i < s.scheme_names.size(); ++i) {
    if (equal_ignoring_case(s.scheme_names[i], name)) return static_cast<int>(i);
  }
  if (equal_ignoring_case(load_text(kMappingSchemeText), name)) {
    return static_cast<int>(s.scheme_names.size());
  }
  return -1;
}

std::string scheme_name(const ConvSettings& s, int index) {
  if (index >= 0 && index < static_cast<int>(s.scheme_names.size())) {
    return s.scheme_names[static_cast<std::size_t>(index)];
  }
  if (index == static_cast<int>(s.scheme_names.size())) return load_text(kMappingSchemeText);
  return {};
}

}  // namespace tsn
