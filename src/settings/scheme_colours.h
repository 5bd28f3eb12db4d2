// The colour list in use: the current scheme's list from the colour schemes file, or the list
// a definition file carries of its own in section Cols.
#pragma once

#include <string_view>

#include "platform/profile.h"
#include "settings/conv_settings.h"

namespace tsn {

inline constexpr std::string_view kOwnColoursSection = "Cols";

// Reads the list of the current scheme (cur.DefaultColorSet) from the colour schemes file into
// s.colour_list; the built-in mapping scheme, and an index naming no scheme, give an empty list.
void load_scheme_colours(ConvSettings& s);

// Reads a definition file's own list from `section` of the selected file into s.colour_list
// and sets NumColors to its length. A section without colours leaves the list in use as it is
// and NumColors 0, so that the classes keep the scheme's colours.
void read_file_colours(ConvSettings& s, const Profile& file, std::string_view section);

// Writes s.colour_list into section Cols of the selected file.
void write_file_colours(const ConvSettings& s, Profile& file);

}  // namespace tsn
