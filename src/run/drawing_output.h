// The one place where a conversion's drawing writer is chosen: the program's own DXF text
// writer for release 12 and 14 DXF outside merge groups, the drawing database otherwise.
#pragma once

#include <memory>
#include <string>

#include "drawing/drawing_writer.h"
#include "settings/conv_settings.h"

namespace tsn {

// Opens the writer of the output (its files, or the database and its drawing); null after the
// failure was said.
std::unique_ptr<DrawingWriter> open_drawing_writer(const ConvSettings& s,
                                                   const std::string& output_path,
                                                   bool merge_group_active, bool table_open);

}  // namespace tsn
