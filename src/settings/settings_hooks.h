// Work the settings trigger that belongs to colour lists, value ranges, class colours and the
// label field order. The settings call these hooks at the right moments; each does nothing
// until the code that owns that work installs it.
#pragma once

#include "platform/profile.h"
#include "settings/conv_settings.h"

namespace tsn {

struct SettingsHooks {
  // Reloads the current scheme's colour list after the scheme names were read.
  void (*load_scheme_colours)(ConvSettings&) = nullptr;
  // Reads a definition file's own colour list from `section` of the selected file.
  void (*read_file_colours)(ConvSettings&, Profile&, const char* section) = nullptr;
  // Writes the current colour list into section Cols of the selected file.
  void (*write_file_colours)(ConvSettings&, Profile&) = nullptr;
  // Recomputes the class colours from the colour list.
  void (*recompute_class_colours)(ConvSettings&) = nullptr;
  // Reads or writes the value ranges of the layer key (layer = true) or the colour key.
  void (*read_ranges)(ConvSettings&, Profile&, bool layer) = nullptr;
  void (*write_ranges)(ConvSettings&, Profile&, bool layer) = nullptr;
  // Rebuilds the order of the label fields from their positions.
  void (*rebuild_label_order)(ConvSettings&) = nullptr;
};

SettingsHooks& settings_hooks();

}  // namespace tsn
