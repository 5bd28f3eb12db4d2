// Which path the output takes: DXF text written by the program itself, or the drawing database.
#pragma once

#include "settings/conv_settings.h"

namespace tsn {

// DXF output (SaveFileType 0) of release 12 or 14 (verDXF 4 or 6) while no merge group is open
// or being closed: the program writes the DXF text itself. Otherwise the drawing database
// builds and writes the file.
bool uses_text_path(const ConvSettings& s, bool merge_group_active);
// The text path writing release 14: the only mode with handles, subclass markers, reactors,
// the BLOCK_RECORD table and the OBJECTS section.
bool r14_text_mode(const ConvSettings& s, bool merge_group_active);

}  // namespace tsn
