// Finding and creating the program directory and seeding it with the default settings files.
#include "platform/program_dir.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/default_files.h"
#include "platform/paths.h"
#include "platform/profile.h"

namespace tsn {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

// "/" becomes "", so that appending "/name" never doubles the separator.
std::string without_trailing_separators(std::string dir) {
  while (!dir.empty() && dir.back() == '/') dir.pop_back();
  return dir;
}

// $HOME, or the password database's home directory when HOME is unset.
std::string home_directory() {
  std::string home = environment("HOME");
  if (!home.empty()) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return {};
}

// Writes one default file unless something of that name is already there (a file the user
// has edited, or even a dangling link to one, is never replaced).
bool seed_file(const std::filesystem::path& file, const std::string& text) {
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(file, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) return false;
  if (std::filesystem::exists(status)) return true;
  return ProfileDocument::parse(text).save(file);
}

}  // namespace

bool seed_text_file(const std::string& path, std::string_view text) {
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(path, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) return false;
  if (std::filesystem::exists(status)) return true;
  const std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) {
      std::filesystem::remove(temporary, ec);
      return false;
    }
  }
  std::filesystem::rename(temporary, path, ec);
  if (ec) std::filesystem::remove(temporary, ec);
  return !ec;
}

std::string locate_program_directory() {
  if (std::string home = environment("TESSARYN_HOME"); !home.empty()) {
    return with_trailing_separator(home);
  }
  // The XDG base directory rules say a relative XDG_CONFIG_HOME is to be ignored.
  std::string config = environment("XDG_CONFIG_HOME");
  if (config.empty() || config.front() != '/') {
    const std::string home = home_directory();
    // Without any home directory the settings live below the working directory.
    config = home.empty() ? std::string(".config") : without_trailing_separators(home) + "/.config";
  }
  return without_trailing_separators(config) + "/tessaryn/";
}

bool create_program_directory(const std::string& dir) {
  if (dir.empty()) return false;
  std::error_code ec;
  if (std::filesystem::is_directory(dir, ec)) return true;
  // mkdir -p with 0755 (less the umask) for every missing level.
  std::filesystem::path partial;
  for (const auto& part : std::filesystem::path(dir)) {
    if (part.empty()) continue;  // the empty last part of "a/b/"
    partial /= part;
    if (part == "/") continue;
    if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return std::filesystem::is_directory(dir, ec);
}

bool seed_default_files(const std::string& dir) {
  const std::filesystem::path base(dir);
  const bool colors = seed_file(base / "colors.ini", default_colors_ini());
  const bool styles = seed_file(base / "styles.ini", default_styles_ini());
  return colors && styles;
}

}  // namespace tsn
