// Opening the input of a conversion: the shapefile with its index and table, or a stand-alone
// dBase or comma-delimited table, with the headers read and the extents known.
#pragma once

#include <memory>

#include "dxf/header_section.h"
#include "input/shapefile_reader.h"
#include "input/table_reader.h"
#include "run/command_line.h"
#include "settings/conv_settings.h"

namespace tsn {

struct OpenInput {
  ShapefileReader shapes;
  std::unique_ptr<TableReader> table;  // null for a shapefile without its table
  bool is_shapefile = false;
  std::string table_path;  // the shapefile's table as found beside it (or as looked for), or
                           // the table that is the input
  DrawingExtents extents;
  int shape_type = 0;     // the shapefile's type; Point or Polygon for tables
  long record_count = 0;  // table records, or -1 when not known in advance
  int x_field = -1;       // the coordinate fields of a point table
  int y_field = -1;
  bool summary_only = false;  // opened for the summary: what the conversion says is not said
  bool ask = false;           // questions about a damaged header are asked (the window's run)
  bool declined = false;      // set when the user answered No to one of them
};

// Opens the request's input. A shapefile without its table goes on without attributes (the
// warning is shown once per program run). 0, or -1 after the message that explains the refusal.
int open_input(const ConversionRequest& request, FileSettings& f, OpenInput& in);

// What the settings need to know of an opened input.
InputInfo input_info_of(const ConversionRequest& request, const OpenInput& in);

// A shapefile's records that hold a shape, counted by walking their headers (quietly); a
// table's rows. -1 when the walk fails.
long count_records(OpenInput& in);

}  // namespace tsn
