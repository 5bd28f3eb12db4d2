// The program directory: where the settings files, definition files, log and trace live.
#pragma once

#include <string>
#include <string_view>

namespace tsn {

// $TESSARYN_HOME when set, else ${XDG_CONFIG_HOME:-$HOME/.config}/tessaryn/; always ends in '/'.
std::string locate_program_directory();
// Creates the directory (and its parents) when missing; false when it cannot be created.
bool create_program_directory(const std::string& dir);
// Writes colors.ini and styles.ini from the built-in defaults when they are missing.
// Returns false when a missing file could not be written.
bool seed_default_files(const std::string& dir);
// Writes `text` as the file `path` (atomically) unless something of that name is already
// there; false when a missing file could not be written.
bool seed_text_file(const std::string& path, std::string_view text);

}  // namespace tsn
