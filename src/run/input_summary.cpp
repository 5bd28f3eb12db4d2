// Opening an input the way a conversion does and describing it.
#include "run/input_summary.h"

#include "input/csv_table.h"
#include "run/input_open.h"

namespace tsn {

namespace {

// "comma-delimited table", or the separator found in its first line.
std::string delimited_table_name(const TableReader& table) {
  const auto* csv = dynamic_cast<const CsvReader*>(&table.underlying());
  const char delimiter = csv != nullptr ? csv->delimiter() : ',';
  return delimiter == ';'    ? "semicolon-delimited table"
         : delimiter == '\t' ? "tab-delimited table"
                             : "comma-delimited table";
}

}  // namespace

int summarise_input(const ConversionRequest& request, FileSettings& f, InputSummary& out) {
  OpenInput in;
  in.summary_only = true;
  if (open_input(request, f, in) != 0) return -1;
  return describe_input(request, in, out);
}

int describe_input(const ConversionRequest& request, OpenInput& in, InputSummary& out,
                   bool walk) {
  out.shape_type = in.is_shapefile ? in.shape_type : 0;
  out.type_name = in.is_shapefile                  ? in.shapes.header().type_name
                  : request.input_file_type == 1 ? "dBase table"
                                                 : delimited_table_name(*in.table);
  out.has_table = in.table != nullptr;
  out.fields = in.table ? static_cast<int>(in.table->fields().size()) : 0;
  if (in.table) out.field_list = in.table->fields();
  if (in.is_shapefile) {
    out.index_path = in.shapes.index_path();
    out.table_path = in.table_path;
  }
  out.xmin = in.extents.xmin;
  out.ymin = in.extents.ymin;
  out.xmax = in.extents.xmax;
  out.ymax = in.extents.ymax;
  // A shapefile's records are counted by walking their headers, as the conversion will (and
  // report what it finds on the way).
  if (!walk && in.is_shapefile && in.shapes.index_entry_count() > 0) {
    out.records = static_cast<long>(in.shapes.index_entry_count());
    return 0;
  }
  out.records = count_records(in);
  return out.records < 0 ? -1 : 0;
}

}  // namespace tsn
