// Opening an input the way a conversion does and describing it.
#include "run/input_summary.h"

#include "input/csv_table.h"
#include "input/dbf_reader.h"
#include "input/shapefile_reader.h"
#include "platform/format.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "run/messages.h"

namespace tsn {

namespace {

constexpr int kMsgCouldNotOpenInput = 76;
constexpr int kMsgNoTable = 77;

int refuse_open(const std::string& path) {
  status_error(format_printf(load_status_text(kMsgCouldNotOpenInput).c_str(), path.c_str()));
  return -1;
}

int summarise_shapefile(const ConversionRequest& request, InputSummary& out) {
  ShapefileReader shapes;
  if (shapes.open(request.input_path) != 0) return refuse_open(request.input_path);
  if (shapes.read_shp_header(false) != 0 || shapes.read_shx_header() != 0) return -1;
  const shp_header& h = shapes.header();
  out.type_name = h.type_name;
  out.shape_type = h.shape_type;
  out.xmin = h.xmin;
  out.ymin = h.ymin;
  out.xmax = h.xmax;
  out.ymax = h.ymax;

  DbfReader table;
  const std::string table_path = replace_extension(request.input_path, "dbf");
  if (table.open_table(table_path) == 0) {
    if (table.read_table_header(TableUse::shapefile_table) != 0) return -1;
    out.has_table = true;
    out.fields = static_cast<int>(table.fields().size());
  } else {
    host().beep(Icon::warning);
    show_message(8, format_printf(load_text(kMsgNoTable).c_str(), table_path.c_str()),
                 Icon::warning);
  }
  if (h.shp_empty) return 0;
  shape_rec rec;
  for (;;) {
    shapes.read_index_entry();
    const int r = shapes.read_record_header(rec, false);
    if (r == 1) break;
    if (r == -1) return -1;
    if (r == 0) ++out.records;
  }
  return 0;
}

int summarise_table(const ConversionRequest& request, FileSettings& f, TableReader& table,
                    InputSummary& out) {
  out.has_table = true;
  out.fields = static_cast<int>(table.fields().size());
  out.records = table.record_count();
  int x = -1, y = -1;
  if (find_xy_fields(table.fields(), f.XKey, f.YKey, false, x, y) != 0) return -1;
  const TableExtents e = table_extents(table, x, y);
  out.xmin = e.xmin;
  out.ymin = e.ymin;
  out.xmax = e.xmax;
  out.ymax = e.ymax;
  (void)request;
  return 0;
}

}  // namespace

int summarise_input(const ConversionRequest& request, FileSettings& f, InputSummary& out) {
  switch (request.input_file_type) {
    case 0:
      return summarise_shapefile(request, out);
    case 1: {
      DbfReader table;
      if (table.open_table(request.input_path) != 0) return refuse_open(request.input_path);
      if (table.read_table_header(TableUse::stand_alone) != 0) return -1;
      out.type_name = "dBase table";
      return summarise_table(request, f, table, out);
    }
    default: {
      CsvReader table;
      if (table.open_table(request.input_path) != 0) return refuse_open(request.input_path);
      if (table.csv_scan(f.CSVHasHeader) != 0) return -1;
      out.type_name = "comma-delimited table";
      return summarise_table(request, f, table, out);
    }
  }
}

}  // namespace tsn
