// The drawing database's side of a conversion: opening the database and a new drawing,
// the temporary label block, the save and the closing.
//
//   start_dwg:         database initialised from "adinit2k.dat", a drawing of generation 7
//                      (release 2000) or 6 (releases 12 and 14, written back in their release),
//                      *MODEL_SPACE found, the progress callback given, "TEMP_ANNOT" begun when
//                      labels are on and the table is open.
//   write_output_file: "TEMP_ANNOT" dissolved (its labels follow every other entity of model
//                      space), then the drawing saved to the path given.
//   close_dwg:         the drawing closed and the database shut down.
#pragma once

#include <string>

#include "drawdb/drawdb.h"
#include "settings/conv_settings.h"

namespace tsn {

inline constexpr std::string_view kInitFileName = "adinit2k.dat";
inline constexpr std::string_view kLabelBlockName = "TEMP_ANNOT";

struct DwgSession {
  Drawing* drawing = nullptr;  // null while no drawing is open
  bool initialised = false;    // db_init succeeded and db_shutdown is owed
  DbEntityList model_space;
  bool label_block_open = false;
  DbHandle label_block;
  DbEntityList label_entities;
};

// Opens the database and a drawing unless one is open; 0, or -1 with the failure said.
int start_dwg(DwgSession& session, const ConvSettings& s, const std::string& init_path,
              bool table_open);

// Dissolves the label block and saves the drawing as the output type and release of the
// settings into `save_path`. The drawing of a merge group (`group_closing`) shows the save's
// progress percent by percent. 0, or 1 with the failure said.
int write_output_file(DwgSession& session, const ConvSettings& s, const std::string& save_path,
                      const std::string& output_path, bool group_closing = false);

// Closes the drawing and shuts the database down.
void close_dwg(DwgSession& session);

// The release code a save is made in: 4, 6 or 7 (release 12 through the database, verDXF 5,
// is saved as release 12).
int save_release_code(int verDXF);

}  // namespace tsn
