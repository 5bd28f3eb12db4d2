// Loading and storing the colour list in use.
#include "settings/scheme_colours.h"

#include <string>

#include "settings/colour_lists.h"

namespace tsn {

void load_scheme_colours(ConvSettings& s) {
  const int index = s.cur.DefaultColorSet;
  if (index < 0 || index >= static_cast<int>(s.scheme_names.size())) {
    s.colour_list = {};
    return;
  }
  Profile p;
  p.select_file(s.colours_file);
  s.colour_list = read_colour_list(p, s.scheme_names[static_cast<std::size_t>(index)]);
}

void read_file_colours(ConvSettings& s, const Profile& file, std::string_view section) {
  ColourList own = read_colour_list(file, section);
  if (own.colours.empty()) {
    s.def.NumColors = 0;
    return;
  }
  s.def.NumColors = static_cast<int>(own.colours.size());
  s.colour_list = std::move(own);
}

void write_file_colours(const ConvSettings& s, Profile& file) {
  write_colour_list(file, kOwnColoursSection, s.colour_list);
}

}  // namespace tsn
