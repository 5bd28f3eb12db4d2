// Editing the colour schemes: the editor works on a working copy of the colour schemes file
// and writes it back on OK; Cancel leaves the schemes file untouched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/colour_lists.h"
#include "settings/conv_settings.h"

namespace tsn {

// The working copy of a schemes file: its name with the last character replaced by 't'
// (colors.ini gives colors.int). Empty for an empty name.
std::string scheme_working_copy(const std::string& schemes_file);

// Removes the working copy at program exit; kept with trace on, like the temporary files.
void remove_scheme_working_copy(const ConvSettings& s);

// One editing session over s.scheme_names and the working copy. The names are edited in place;
// every scheme's colours live in the working copy until OK.
class SchemeEditor {
 public:
  explicit SchemeEditor(ConvSettings& s) : s_(s) {}

  // Writes every scheme from the schemes file into a fresh working copy and remembers the names
  // present now. False when the working copy cannot be written.
  bool begin();

  const std::vector<std::string>& names() const { return s_.scheme_names; }
  // The schemes file, as messages name it.
  const std::string& schemes_file() const { return s_.colours_file; }
  // The colours of scheme `index` as the working copy holds them; empty for a bad index.
  ColourList colours(std::size_t index) const;
  // Stores the colours of scheme `index` in the working copy.
  bool store_colours(std::size_t index, const ColourList& list);

  // A name is usable when it is not empty, has no blanks at either end, no ']' and no line
  // break, is at most 255 characters, is not the index section's name and no other scheme
  // (other than `except`) has it, case ignored: the name is also a section of the file.
  bool name_usable(const std::string& name, std::size_t except = SIZE_MAX) const;
  // The name is the index section's, the mapping scheme's or another scheme's (other than
  // `except`), case ignored.
  bool name_taken(const std::string& name, std::size_t except = SIZE_MAX) const;
  // Appends a scheme with these colours; false (nothing changed) when the name is not usable.
  bool add_scheme(const std::string& name, const ColourList& list);
  // Gives scheme `index` a new name, its colours moving with it; a scheme in use stays in use.
  bool rename_scheme(std::size_t index, const std::string& name);
  // Drops scheme `index` from the list; its section goes from the schemes file on OK.
  bool remove_scheme(std::size_t index);

  // Erases from the schemes file the sections of schemes no longer listed, writes every
  // listed scheme from the working copy into it, keeps the current scheme by name (else the
  // first; the mapping scheme stays the mapping scheme) and reloads the colour list in use.
  // False when the schemes file cannot be written.
  bool ok();
  // Reads the names again from the schemes file.
  void cancel();

 private:
  Profile working_copy() const;

  ConvSettings& s_;
  std::vector<std::string> names_before_;
  std::string prog_scheme_before_;
  std::string cur_scheme_before_;
};

}  // namespace tsn
