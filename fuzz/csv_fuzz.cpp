// Fuzz target for the comma-delimited table reader: arbitrary text scanned for columns, every
// record and field read, the extents taken and the rows walked as polygons.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "input/csv_table.h"
#include "fuzz_support.h"

using tsn::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tsn::fuzz::SilentHost host;
  tsn::set_host(&host);
  const std::string text(reinterpret_cast<const char*>(data), size);

  // Tokens of the first line cover it without going back.
  const std::string_view line = std::string_view(text).substr(0, text.find('\n'));
  for (std::size_t pos = 0;;) {
    const tsn::CsvToken t = tsn::csv_token(line, pos);
    (void)tsn::csv_value_class(t.text);
    if (t.last) break;
    check(t.next > pos && t.next <= line.size());
    pos = t.next;
  }

  tsn::CsvReader r;
  r.open_memory(text, "fuzz.csv");
  int has_header = 1;
  check(r.csv_scan(has_header) == 0);
  check(r.delimiter() == ',' || r.delimiter() == ';' || r.delimiter() == '\t');
  const auto& fields = r.fields();
  check(fields.size() <= tsn::kMaxTableFields);
  for (const tsn::dbf_field& f : fields) {
    check(f.name.size() <= tsn::kFieldNameChars);
    check(f.type == 'C' || f.type == 'N');
    check(f.width >= 0 && std::size_t(f.width) <= tsn::kCsvMaxRecord);
  }
  check(r.record_count() >= 0 && std::size_t(r.record_count()) <= size);
  const int n = static_cast<int>(fields.size());
  for (long i = 0; i < r.record_count(); ++i) {
    r.save_record_position();
    check(r.begin_record() == 0);
    for (int f = n; f >= -1; --f) {
      const std::string_view value = r.read_field(f);
      check(value.size() <= tsn::kCsvMaxRecord);
      (void)tsn::field_value_number(value);
    }
  }
  r.save_record_position();
  check(r.begin_record() == -1);

  int x = -1;
  int y = -1;
  if (tsn::find_xy_fields(fields, "LONGITUDE", "LATITUDE", false, x, y) != 0) return 0;
  check(x != y);
  (void)tsn::table_extents(r, x, y);
  r.rewind();
  tsn::CsvPolygon polygon;
  long before = r.rows_consumed();
  for (;;) {
    r.save_record_position();
    if (r.csv_polygon_scan(x, y, polygon) != 0) break;
    check(!polygon.points.empty());
    check(r.rows_consumed() == before + long(polygon.points.size()));
    check(r.rows_consumed() <= r.record_count());
    before = r.rows_consumed();
  }
  check(r.rows_consumed() == r.record_count());
  return 0;
}
