// The colour scheme editing session and its working copy of the schemes file.
#include "settings/scheme_editor.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/paths.h"
#include "platform/string_table.h"
#include "settings/scheme_colours.h"
#include "settings/text_styles.h"

namespace tsn {

namespace {

constexpr std::size_t kMaxSchemeNameChars = 255;
constexpr int kMappingSchemeText = 267;

bool listed(const std::vector<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& n) { return equal_ignoring_case(n, name); });
}

// The scheme index that names the same scheme after editing: the mapping scheme follows the
// named ones wherever they end; a scheme that is gone gives the first.
int same_scheme(const ConvSettings& s, const std::string& name) {
  const int found = find_scheme(s, name);
  return found < 0 ? 0 : found;
}

}  // namespace

std::string scheme_working_copy(const std::string& schemes_file) {
  if (schemes_file.empty()) return {};
  std::string copy = schemes_file;
  copy.back() = 't';
  return copy;
}

void remove_scheme_working_copy(const ConvSettings& s) {
  if (s.trace == 1) return;
  const std::string copy = scheme_working_copy(s.colours_file);
  if (copy.empty()) return;
  std::error_code ec;
  std::filesystem::remove(copy, ec);  // nothing to do when no editing session made one
}

Profile SchemeEditor::working_copy() const {
  Profile p;
  p.select_file(scheme_working_copy(s_.colours_file));
  return p;
}

bool SchemeEditor::begin() {
  const std::string copy = scheme_working_copy(s_.colours_file);
  if (copy.empty()) return false;
  // A copy left by an earlier session (kept with trace on) must not lend it stale sections.
  std::error_code ec;
  std::filesystem::remove(copy, ec);
  names_before_ = s_.scheme_names;
  prog_scheme_before_ = scheme_name(s_, s_.prog.DefaultColorSet);
  cur_scheme_before_ = scheme_name(s_, s_.cur.DefaultColorSet);
  Profile source;
  source.select_file(s_.colours_file);
  Profile target = working_copy();
  write_all_schemes(target, source, s_.scheme_names);
  return target.flush();
}

ColourList SchemeEditor::colours(std::size_t index) const {
  if (index >= s_.scheme_names.size()) return {};
  return read_colour_list(working_copy(), s_.scheme_names[index]);
}

bool SchemeEditor::store_colours(std::size_t index, const ColourList& list) {
  if (index >= s_.scheme_names.size()) return false;
  Profile p = working_copy();
  write_colour_list(p, s_.scheme_names[index], list);
  return p.flush();
}

bool SchemeEditor::name_usable(const std::string& name, std::size_t except) const {
  if (name.empty() || name.size() > kMaxSchemeNameChars) return false;
  if (name.front() == ' ' || name.back() == ' ' || name.front() == '\t' || name.back() == '\t') {
    return false;
  }
  if (name.find_first_of("]\r\n") != std::string::npos) return false;
  return !name_taken(name, except);
}

bool SchemeEditor::name_taken(const std::string& name, std::size_t except) const {
  if (equal_ignoring_case(name, kSchemeIndexSection) ||
      equal_ignoring_case(name, load_text(kMappingSchemeText))) {
    return true;
  }
  for (std::size_t i = 0; i < s_.scheme_names.size(); ++i) {
    if (i != except && equal_ignoring_case(s_.scheme_names[i], name)) return true;
  }
  return false;
}

bool SchemeEditor::add_scheme(const std::string& name, const ColourList& list) {
  if (!name_usable(name)) return false;
  Profile p = working_copy();
  write_colour_list(p, name, list);
  if (!p.flush()) return false;
  s_.scheme_names.push_back(name);
  return true;
}

bool SchemeEditor::rename_scheme(std::size_t index, const std::string& name) {
  if (index >= s_.scheme_names.size() || !name_usable(name, index)) return false;
  Profile p = working_copy();
  const ColourList list = read_colour_list(p, s_.scheme_names[index]);
  p.select_section(s_.scheme_names[index]);
  p.erase_section();
  write_colour_list(p, name, list);
  if (!p.flush()) return false;
  // The scheme in use stays in use under its new name.
  for (std::string* in_use : {&prog_scheme_before_, &cur_scheme_before_}) {
    if (equal_ignoring_case(*in_use, s_.scheme_names[index])) *in_use = name;
  }
  s_.scheme_names[index] = name;
  return true;
}

bool SchemeEditor::remove_scheme(std::size_t index) {
  if (index >= s_.scheme_names.size()) return false;
  s_.scheme_names.erase(s_.scheme_names.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool SchemeEditor::ok() {
  Profile schemes;
  schemes.select_file(s_.colours_file);
  for (const std::string& name : names_before_) {
    if (listed(s_.scheme_names, name)) continue;
    schemes.select_section(name);
    schemes.erase_section();
  }
  write_all_schemes(schemes, working_copy(), s_.scheme_names);
  if (!schemes.flush()) return false;
  s_.prog.DefaultColorSet = same_scheme(s_, prog_scheme_before_);
  s_.cur.DefaultColorSet = same_scheme(s_, cur_scheme_before_);
  // A definition file's own list stays in use; otherwise the scheme's colours may have changed.
  if (s_.def.NumColors == 0) load_scheme_colours(s_);
  return true;
}

void SchemeEditor::cancel() { load_scheme_names(s_); }

}  // namespace tsn
