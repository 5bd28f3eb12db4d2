// Where the settings live: the program's settings files, the definitions directory, the
// temporary directory, and the definition file of an input.
#pragma once

#include <string>

#include "settings/conv_settings.h"

namespace tsn {

// Builds the program settings, colour schemes, text styles and drawing-database
// initialisation file names and the DefsDir default from the program directory.
void build_settings_paths(ConvSettings& s, const std::string& program_dir);

struct DefinitionFile {
  std::string path;     // the file to read, or to create when none exists yet
  bool exists = false;
};

// The input's path with the extension "def"; when that file is absent, DefsDir + the input's
// base name + ".def" (the file then used for writing, whether or not it exists).
DefinitionFile find_definition_file(const ConvSettings& s, const std::string& input_path);

// TmpDir when set and writable (message 177 when it is not), else the system temporary
// directory; always ends in '/'.
std::string find_temp_dir(const std::string& tmp_dir_setting);

// 0 when a new file can be created (and is then removed) in the directory, else the errno of
// the failure (EACCES, EROFS, ENOENT ...).
int directory_write_error(const std::string& dir);
bool directory_is_writable(const std::string& dir);

// The DefsDir value to keep: the configured directory when it exists, else the default,
// created here; when that cannot be created, the default without its trailing '/'.
std::string settle_defs_dir(const std::string& configured, const std::string& default_dir);

// The directory last used for files with this extension (section Directories of the program
// settings file), DefsDir when none was stored.
std::string last_directory(const ConvSettings& s, const std::string& extension);
// Stores the directory for the extension; remember_type also makes the extension the legend
// file type. False when the settings file could not be written.
bool store_last_directory(ConvSettings& s, const std::string& extension, const std::string& dir,
                          bool remember_type);

}  // namespace tsn
