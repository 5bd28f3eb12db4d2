// Initialisation (.ini) files with private-profile semantics: case-blind sections and keys,
// defaults for anything missing, lines kept as they are, and atomic rewrites.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tsn {

// One initialisation file held in memory as its lines. Reads find the first section and the
// first key of that name (ASCII case ignored); a value is trimmed of blanks and of one pair of
// enclosing quotes. Edits touch only the lines concerned, so comments and unknown keys survive.
class ProfileDocument {
 public:
  // A missing or unreadable file gives an empty document.
  static ProfileDocument load(const std::filesystem::path& file);
  static ProfileDocument parse(std::string_view text);

  std::optional<std::string> get(std::string_view section, std::string_view key) const;
  // Every "key=value" line of the section in file order (values trimmed like get()).
  std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;
  bool has_section(std::string_view section) const;

  void set(std::string_view section, std::string_view key, std::string_view value);
  void erase_key(std::string_view section, std::string_view key);
  void erase_section(std::string_view section);

  std::string text() const;  // every line followed by LF
  // Writes the document beside `file` under a temporary name, syncs it and renames it over
  // `file`, so a crash leaves either the old or the new file, never a torn one.
  bool save(const std::filesystem::path& file) const;

 private:
  std::vector<std::string> lines_;
};

// The profile access state: a current file and a current section, reads that take only a key
// and a default, and writes that are kept in memory until flush() (or until another file is
// selected) and then written atomically.
class Profile {
 public:
  // Selects a file; pending writes to the previous file are flushed first.
  bool select_file(const std::filesystem::path& file);
  void select_section(std::string_view section);
  const std::filesystem::path& file() const { return file_; }
  const std::string& section() const { return section_; }

  // Integer: an empty or missing value gives `def`; otherwise the leading decimal number,
  // 0 when there is none. Values beyond 32 bits wrap like the unsigned platform call.
  int read_int(std::string_view key, int def) const;
  std::uint32_t read_uint(std::string_view key, std::uint32_t def) const;
  // String: a missing key gives `def`; at most max_chars characters are kept.
  std::string read_string(std::string_view key, std::string_view def, std::size_t max_chars) const;
  // Real: an empty value or one that does not parse as a number gives `def`.
  double read_real(std::string_view key, double def) const;
  std::vector<std::pair<std::string, std::string>> read_section() const;
  bool has_key(std::string_view key) const;

  void write_int(std::string_view key, int value);
  void write_uint(std::string_view key, std::uint32_t value);
  void write_real(std::string_view key, double value);  // six decimals, like "%lf"
  void write_string(std::string_view key, std::string_view value);
  void erase_section();

  // Writes pending changes; false when the file could not be written (the changes stay pending).
  [[nodiscard]] bool flush();
  bool dirty() const { return dirty_; }

 private:
  std::filesystem::path file_;
  std::string section_;
  ProfileDocument doc_;
  bool dirty_ = false;
};

// Formats a real the way the settings files store it: fixed, six decimals, C locale.
std::string format_profile_real(double value);

}  // namespace tsn
