// Legend range files: one key's value ranges saved on their own, to be loaded for any input,
// and the directory last used for them.
#pragma once

#include <string>

#include "settings/conv_settings.h"

namespace tsn {

// Writes the ranges of the layer key (layer_key) or of the colour key into a legend range file:
// section Tessaryn with Version and the key field's name (LayersKey or ColoursKey), then the
// key's range sections as definition files hold them. Any earlier content of the file is
// replaced. 0, or -1 when the file could not be written.
int save_legend_file(const std::string& path, const ConvSettings& s, bool layer_key);

// Loads a legend range file into the layer key's or the colour key's ranges. The file's
// sections of that key are preferred; a file holding only the other key's sections is loaded
// from those. 0, or -1 with `error` set when the file is missing, unreadable or holds no
// ranges; the key's ranges are then unchanged.
int load_legend_file(const std::string& path, ConvSettings& s, bool layer_key,
                     std::string& error);

// The directory last used for legend range files (section Directories of the program settings
// file, under the legend file extension), and its update from a legend file's path.
std::string legend_directory(const ConvSettings& s);
bool remember_legend_directory(ConvSettings& s, const std::string& legend_path);

}  // namespace tsn
