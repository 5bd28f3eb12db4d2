// Opening an input the way a conversion does and describing it: shape type, records, fields
// and extent. Used by the command-line run to show what would be converted.
#pragma once

#include <string>
#include <vector>

#include "input/dbf_field.h"

#include "run/command_line.h"
#include "run/input_open.h"
#include "settings/conv_settings.h"

namespace tsn {

struct InputSummary {
  std::string type_name;  // "PolyLine", or "dBase table" / "comma-delimited table" (or
                          // semicolon- or tab-delimited)
  int shape_type = 0;     // the shapefile's type; 0 for tables
  long records = 0;
  int fields = 0;
  std::vector<dbf_field> field_list;  // the table's columns in order, numbered from 0
  bool has_table = false;
  std::string index_path;  // a shapefile's companions as found beside it
  std::string table_path;
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

// Opens the input and its companions, reads their headers and walks the records once.
// 0, or -1 after the message that explains the refusal.
int summarise_input(const ConversionRequest& request, FileSettings& f, InputSummary& out);

// Describes an input opened already. A shapefile's records are counted by walking them, or
// without `walk` taken from its index when it has one (at once, null records included).
// 0, or -1.
int describe_input(const ConversionRequest& request, OpenInput& in, InputSummary& out,
                   bool walk = true);

}  // namespace tsn
