// Definition files: the settings of one input, restored when it is opened again and written
// after each conversion.
#pragma once

#include "platform/profile.h"
#include "settings/conv_settings.h"

namespace tsn {

// Resets the per-file fields, then reads the input's definition file over them.
// 0 when a file was read, -1 when the input has none (the reset values stay).
int load_definition_file(ConvSettings& s, const InputInfo& input);

// Writes the current per-file fields into the input's definition file. A file whose Overwrite
// is 2 or more is left untouched. 0 on success (or untouched), -1 when it could not be written.
int save_definition_file(ConvSettings& s, const InputInfo& input);

// Brings the selected file up to the current settings version when it is older than 240:
// records Version 244 and derives Fill from PlaneFlags. Returns the version the file had.
int upgrade_settings_version(Profile& p);

}  // namespace tsn

namespace tsn {

// Prepares the settings for a newly opened input: the per-file reset, then its definition
// file when LoadDefaults is on and the run is interactive. Returns load_definition_file's
// result, or -1 when the file was not to be read.
int open_input_settings(ConvSettings& s, const InputInfo& input, bool unattended);

}  // namespace tsn
