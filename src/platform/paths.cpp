// Path helpers: extensions, base names and directory parts of '/'-separated file names.
#include "platform/paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tsn {
namespace {

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// An extension given as ".shp" means the same as "shp".
std::string_view without_leading_dot(std::string_view ext) {
  if (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
  return ext;
}

// Position of the dot that starts the extension, or npos; only the file-name part counts,
// so a dot in a directory name ("a.b/c") is not an extension.
std::size_t extension_dot(std::string_view path) {
  const std::size_t name_start = path.size() - file_name(path).size();
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < name_start) return std::string_view::npos;
  return dot;
}

}  // namespace

std::string_view file_name(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view directory_of(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash + 1);
}

std::string_view path_extension(std::string_view path) {
  const std::size_t dot = extension_dot(path);
  return dot == std::string_view::npos ? std::string_view{} : path.substr(dot + 1);
}

bool has_extension(std::string_view path, std::string_view ext) {
  return equal_ignoring_case(path_extension(path), without_leading_dot(ext));
}

std::string replace_extension(std::string_view path, std::string_view ext) {
  ext = without_leading_dot(ext);
  std::string result(path.substr(0, extension_dot(path)));
  if (!ext.empty()) {
    result += '.';
    result += ext;
  }
  return result;
}

std::string_view base_name(std::string_view path) {
  const std::string_view name = file_name(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string with_trailing_separator(std::string_view dir) {
  std::string result(dir);
  if (!result.empty() && result.back() != '/') result += '/';
  return result;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

bool LessIgnoringCase::operator()(std::string_view a, std::string_view b) const {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char x = ascii_lower(a[i]);
    const char y = ascii_lower(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

std::string find_companion(std::string_view path, std::string_view ext) {
  ext = without_leading_dot(ext);
  const std::string_view own = path_extension(path);
  const bool upper_case = !own.empty() && std::all_of(own.begin(), own.end(), [](char c) {
    return c < 'a' || c > 'z';
  }) && std::any_of(own.begin(), own.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  std::string lower(ext);
  std::string upper(ext);
  for (char& c : lower) c = ascii_lower(c);
  for (char& c : upper) c = ascii_upper(c);
  const std::string preferred = replace_extension(path, upper_case ? upper : lower);
  const std::string other = replace_extension(path, upper_case ? lower : upper);
  if (file_exists(preferred)) return preferred;
  if (file_exists(other)) return other;
  // Any other mix of cases: look through the directory for the base name with that extension.
  const std::string dir(directory_of(path));
  const std::string wanted_stem(file_name(replace_extension(path, "")));
  std::error_code ec;
  std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec);
  std::string best;
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != wanted_stem.size() + 1 + ext.size()) continue;
    if (name.compare(0, wanted_stem.size(), wanted_stem) != 0) continue;
    if (name[wanted_stem.size()] != '.') continue;
    if (!equal_ignoring_case(std::string_view(name).substr(wanted_stem.size() + 1), ext)) continue;
    std::error_code type_ec;
    if (it->is_directory(type_ec)) continue;
    if (best.empty() || name < best) best = name;
  }
  return best.empty() ? replace_extension(path, lower) : dir + best;
}

bool is_directory(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

// Anything that exists and is not a directory counts as a file (a symbolic link is followed).
bool file_exists(const std::string& path) {
  std::error_code ec;
  if (path.empty()) return false;
  const auto status = std::filesystem::status(path, ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace tsn
