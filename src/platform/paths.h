// Path helpers for file names as the user gives them: extensions compared ignoring case,
// extension replacement, base names and directory strings with a trailing separator.
#pragma once

#include <string>
#include <string_view>

namespace tsn {

// The extension without its dot ("shp" for "a/roads.SHP" gives "SHP"); empty when none.
std::string_view path_extension(std::string_view path);
bool has_extension(std::string_view path, std::string_view ext);  // ASCII case ignored
// Replaces (or adds) the extension: ("a/roads.shp", "def") -> "a/roads.def".
std::string replace_extension(std::string_view path, std::string_view ext);
// The file name without directory and extension: "a/roads.shp" -> "roads".
std::string_view base_name(std::string_view path);
// The file name without directory: "a/roads.shp" -> "roads.shp".
std::string_view file_name(std::string_view path);
// The directory part with its trailing '/', empty when the path has none.
std::string_view directory_of(std::string_view path);
// Appends '/' unless the text is empty or already ends in one.
std::string with_trailing_separator(std::string_view dir);
bool equal_ignoring_case(std::string_view a, std::string_view b);
// Orders names as equal_ignoring_case compares them; a map keyed with it is searched by any
// string view without making an upper-case copy.
struct LessIgnoringCase {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};
bool is_directory(const std::string& path);
// The file beside `path` with the same base name and the extension `ext` in any case, as files
// copied from other systems come ("senate.shp" with "senate.DBF"). The extension written in the
// case of path's own extension (lower case unless that is all upper case) is preferred, then
// the other case, then any mix, the first in name order. When none exists, the name with the
// extension in lower case, so that a message can name the file that was looked for.
std::string find_companion(std::string_view path, std::string_view ext);
bool file_exists(const std::string& path);

}  // namespace tsn
