// Paths of the settings files, the definitions and temporary directories and definition files.
#include "settings/settings_files.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/format.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/string_table.h"

namespace tsn {

namespace fs = std::filesystem;

void build_settings_paths(ConvSettings& s, const std::string& program_dir) {
  s.program_dir = with_trailing_separator(program_dir);
  s.settings_file = s.program_dir + "tsn25.ini";
  s.colours_file = s.program_dir + "colors.ini";
  s.styles_file = s.program_dir + "styles.ini";
  s.adinit_file = s.program_dir + "adinit2k.dat";
  s.defs_dir_default = s.program_dir + "DEFS/";
}

DefinitionFile find_definition_file(const ConvSettings& s, const std::string& input_path) {
  DefinitionFile found;
  found.path = replace_extension(input_path, "def");
  if (file_exists(found.path)) {
    found.exists = true;
    return found;
  }
  found.path = s.DefsDir + std::string(base_name(input_path)) + ".def";
  found.exists = file_exists(found.path);
  return found;
}

int directory_write_error(const std::string& dir) {
  // A name of its own, so that no file of the user's is truncated or removed by the probe.
  std::string probe = with_trailing_separator(dir.empty() ? "./" : dir) + ".tsn-probe-XXXXXX";
  const int fd = mkstemp(probe.data());
  if (fd < 0) return errno;
  close(fd);
  unlink(probe.c_str());
  return 0;
}

bool directory_is_writable(const std::string& dir) { return directory_write_error(dir) == 0; }

std::string find_temp_dir(const std::string& tmp_dir_setting) {
  if (!tmp_dir_setting.empty()) {
    std::string dir = with_trailing_separator(tmp_dir_setting);
    if (directory_is_writable(dir)) return dir;
    show_message(7, format_printf(load_text(177).c_str(), dir.c_str()), Icon::warning);
  }
  std::error_code ec;
  fs::path system_temp = fs::temp_directory_path(ec);
  if (ec || system_temp.empty()) system_temp = "/tmp";
  return with_trailing_separator(system_temp.string());
}

std::string settle_defs_dir(const std::string& configured, const std::string& default_dir) {
  if (!configured.empty() && is_directory(configured)) return configured;
  std::error_code ec;
  fs::create_directories(default_dir, ec);
  if (is_directory(default_dir)) return default_dir;
  std::string trimmed = default_dir;
  if (!trimmed.empty()) trimmed.pop_back();
  return trimmed;
}

std::string last_directory(const ConvSettings& s, const std::string& extension) {
  Profile p;
  p.select_file(s.settings_file);
  p.select_section("Directories");
  return p.read_string(extension, s.DefsDir, 259);
}

bool store_last_directory(ConvSettings& s, const std::string& extension, const std::string& dir,
                          bool remember_type) {
  Profile p;
  p.select_file(s.settings_file);
  p.select_section("Directories");
  p.write_string(extension, dir);
  if (remember_type) {
    s.LegendFileType = extension;
    p.select_section("Tessaryn");
    p.write_string("LegendFileType", extension);
  }
  return p.flush();
}

}  // namespace tsn
