// Opening the input of a conversion.
#include "run/input_open.h"

#include "input/csv_table.h"
#include "input/dbf_reader.h"
#include "input/table_encoding.h"
#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "settings/file_reset.h"

namespace tsn {

namespace {

constexpr int kMsgCouldNotOpenInput = 76;
constexpr int kMsgNoTable = 77;

// The table warning is shown once per program run.
bool g_no_table_warned = false;

int refuse_input(const std::string& path) {
  status_error(format_printf(load_status_text(kMsgCouldNotOpenInput).c_str(), path.c_str()));
  return -1;
}

// The table read in the drawing's code page, its encoding taken from /ENC, the .cpg beside the
// input, the dBase language byte or, for a delimited table, its bytes.
std::unique_ptr<TableReader> in_code_page(std::unique_ptr<TableReader> table,
                                          const ConversionRequest& request, const OpenInput& in,
                                          int language_byte) {
  if (request.drawing_code_page.empty()) return table;
  TableEncodingClues clues;
  clues.user_name = request.encoding;
  const std::string cpg = find_companion(request.input_path, "cpg");
  if (file_exists(cpg)) clues.cpg_path = cpg;
  clues.language_byte = language_byte;
  clues.quiet = in.summary_only;
  std::string head;
  if (auto* csv = dynamic_cast<CsvReader*>(table.get())) {
    clues.delimited = true;
    head = csv->head(3);
    clues.head = head;
    clues.all_valid_utf8 = csv->text_is_utf8();
  }
  const std::string encoding = table_encoding(clues, in.table_path);
  return in_drawing_code_page(std::move(table), encoding, request.drawing_code_page,
                              in.table_path, in.summary_only);
}

int open_shapefile_input(const ConversionRequest& request, OpenInput& in) {
  in.is_shapefile = true;
  if (in.shapes.open(request.input_path) != 0) return refuse_input(request.input_path);
  if (in.shapes.read_shp_header(in.ask) != 0) {
    in.declined = in.shapes.question_declined();
    return -1;
  }
  // The window asked when the input was selected; its conversion does not ask again.
  if (in.shapes.read_shx_header(in.ask || (!in.summary_only && !request.questions_asked)) != 0) {
    in.declined = true;
    return -1;
  }
  const shp_header& h = in.shapes.header();
  in.extents = {h.xmin, h.ymin, h.xmax, h.ymax};
  if (!make_extents_finite(in.extents) && !in.summary_only) {
    status_write("\nThe bounding box in the header of %s is not a finite number: the drawing "
                 "extents are 0, as for an empty file",
                 request.input_path.c_str());
  }
  in.shape_type = h.shape_type;
  // Without a table the index tells how many records there are, so the progress bar moves.
  const std::int64_t indexed = in.shapes.index_entry_count();
  in.record_count = indexed > 0 ? static_cast<long>(indexed) : -1;
  in.table_path = find_companion(request.input_path, "dbf");
  const std::string& table_path = in.table_path;
  auto table = std::make_unique<DbfReader>();
  if (table->open_table(table_path) == 0) {
    if (table->read_table_header(TableUse::shapefile_table) != 0) return -1;
    in.record_count = table->record_count();
    const int language_byte = table->language_byte();
    in.table = in_code_page(std::move(table), request, in, language_byte);
  } else if (!g_no_table_warned) {
    g_no_table_warned = true;
    host().beep(Icon::warning);
    show_message(8, format_printf(load_text(kMsgNoTable).c_str(), table_path.c_str()),
                 Icon::warning);
  }
  return 0;
}

int open_table_input(const ConversionRequest& request, FileSettings& f, OpenInput& in) {
  in.table_path = request.input_path;
  int x = request.x_field;
  int y = request.y_field;
  if (request.input_file_type == 1) {
    auto table = std::make_unique<DbfReader>();
    if (table->open_table(request.input_path) != 0) return refuse_input(request.input_path);
    if (table->read_table_header(TableUse::stand_alone) != 0) return -1;
    const int language_byte = table->language_byte();
    in.table = in_code_page(std::move(table), request, in, language_byte);
  } else {
    auto table = std::make_unique<CsvReader>();
    if (table->open_table(request.input_path) != 0) return refuse_input(request.input_path);
    if (table->csv_scan(f.CSVHasHeader) != 0) return -1;
    in.table = in_code_page(std::move(table), request, in, 0);
  }
  if (find_xy_fields(in.table->fields(), f.XKey, f.YKey, true, x, y) != 0) return -1;
  in.x_field = x;
  in.y_field = y;
  const TableExtents e = table_extents(*in.table, x, y);
  in.extents = {e.xmin, e.ymin, e.xmax, e.ymax};
  in.shape_type = f.PointsArePolys ? 5 : 1;
  in.record_count = in.table->record_count();
  return 0;
}

}  // namespace

int open_input(const ConversionRequest& request, FileSettings& f, OpenInput& in) {
  return request.input_file_type == 0 ? open_shapefile_input(request, in)
                                      : open_table_input(request, f, in);
}

InputInfo input_info_of(const ConversionRequest& request, const OpenInput& in) {
  InputInfo info;
  info.path = request.input_path;
  info.input_file_type = request.input_file_type;
  info.shape_type = in.is_shapefile ? in.shape_type : 0;
  info.field_count = in.table ? static_cast<int>(in.table->fields().size()) : 0;
  info.has_table = in.table != nullptr;
  info.extent_diagonal =
      extent_diagonal(in.extents.xmin, in.extents.ymin, in.extents.xmax, in.extents.ymax);
  return info;
}

long count_records(OpenInput& in) {
  if (!in.is_shapefile) return in.record_count;
  if (in.shapes.header().shp_empty) return 0;
  in.shapes.quiet_walk();
  shape_rec rec;
  long records = 0;
  for (;;) {
    in.shapes.read_index_entry();
    const int r = in.shapes.read_record_header(rec);
    if (r == 1) return records;
    if (r == -1) return -1;
    if (r == 0) ++records;
  }
}

}  // namespace tsn
