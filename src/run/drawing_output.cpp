// Text writer or drawing database.
#include "run/drawing_output.h"

#include "dwg/database_writer.h"
#include "dwg/dwg_session.h"
#include "dxf/dxf_text_writer.h"
#include "dxf/output_mode.h"

namespace tsn {

std::unique_ptr<DrawingWriter> open_drawing_writer(const ConvSettings& s,
                                                   const std::string& output_path,
                                                   bool merge_group_active, bool table_open) {
  if (uses_text_path(s, merge_group_active)) {
    auto text = std::make_unique<DxfTextWriter>(s, nullptr);
    if (text->open(output_path, s.temp_dir, s.trace == 1) != 0) return nullptr;
    return text;
  }
  auto database = std::make_unique<DatabaseWriter>(s);
  const std::string init_path = s.program_dir + std::string(kInitFileName);
  if (database->open(output_path, s.temp_dir, init_path, table_open) != 0) return nullptr;
  return database;
}

}  // namespace tsn
