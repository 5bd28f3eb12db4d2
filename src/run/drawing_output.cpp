// Text writer, drawing database, the merge group's drawing, or the preview.
#include "run/drawing_output.h"

#include "dwg/database_writer.h"
#include "dwg/dwg_session.h"
#include "dxf/dxf_text_writer.h"
#include "dxf/output_mode.h"
#include "platform/text_encoding.h"
#include "preview/preview_writer.h"

namespace tsn {

ChosenWriter open_drawing_writer(const ConvSettings& s, const std::string& output_path,
                                 MergeGroup* group, bool table_open,
                                 PreviewDrawing* preview) {
  ChosenWriter chosen;
  if (preview != nullptr) {
    chosen.owned = std::make_unique<PreviewWriter>(
        *preview, encoding_of_drawing_code_page(s.DWGCodePageString));
  } else if (group != nullptr) {
    chosen.writer = group->writer_for(s, table_open);
    chosen.grouped = true;
    return chosen;
  } else if (uses_text_path(s, false)) {
    auto text = std::make_unique<DxfTextWriter>(s, nullptr);
    if (text->open(output_path, s.temp_dir, s.trace == 1) != 0) return chosen;
    chosen.owned = std::move(text);
  } else {
    auto database = std::make_unique<DatabaseWriter>(s);
    const std::string init_path = s.program_dir + std::string(kInitFileName);
    if (database->open(output_path, s.temp_dir, init_path, table_open) != 0) return chosen;
    chosen.owned = std::move(database);
  }
  chosen.writer = chosen.owned.get();
  return chosen;
}

}  // namespace tsn
