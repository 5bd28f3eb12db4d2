// The one place where a conversion's drawing writer is chosen: the program's own DXF text
// writer for release 12 and 14 DXF outside merge groups, the drawing database otherwise,
// inside a merge group the group's one drawing, and for a preview the writer that keeps the
// entities in memory.
#pragma once

#include <memory>
#include <string>

#include "drawing/drawing_writer.h"
#include "preview/preview_drawing.h"
#include "run/merge_group.h"
#include "settings/conv_settings.h"

namespace tsn {

struct ChosenWriter {
  std::unique_ptr<DrawingWriter> owned;  // the writer of this conversion alone
  DrawingWriter* writer = nullptr;       // what the conversion writes into; null after a failure
  bool grouped = false;                  // the group's drawing, saved when the group closes
};

// Opens the writer of the output (its files, or the database and its drawing), or readies the
// drawing of `group` when the input belongs to one; writer null after the failure was said.
// With `preview` the writer fills it and no file is opened.
ChosenWriter open_drawing_writer(const ConvSettings& s, const std::string& output_path,
                                 MergeGroup* group, bool table_open,
                                 PreviewDrawing* preview = nullptr);

}  // namespace tsn
