// Fuzz target for the dBase table reader: arbitrary bytes as a stand-alone table, then every
// record and field read, the coordinate fields chosen and the extents taken.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "input/dbf_reader.h"
#include "fuzz_support.h"

using tsn::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tsn::fuzz::SilentHost host;
  tsn::set_host(&host);
  tsn::DbfReader r;
  r.open_memory(std::string(reinterpret_cast<const char*>(data), size), "fuzz.dbf");
  if (r.read_table_header(tsn::TableUse::stand_alone) != 0) {
    r.save_record_position();
    check(r.begin_record() == -1);
    return 0;
  }
  const auto& fields = r.fields();
  check(fields.size() <= tsn::kMaxTableFields);
  // Every record counted is present in the bytes.
  check(r.record_count() == 0 ||
        r.header_length() + std::int64_t{r.record_count()} * r.record_length() <=
            std::int64_t(size));
  const int n = static_cast<int>(fields.size());
  for (long i = 0; i < r.record_count(); ++i) {
    r.save_record_position();
    check(r.begin_record() == 0);
    for (int f = -1; f <= n; ++f) {
      const std::string_view text = r.read_field(f);
      check(f >= 0 && f < n ? text.size() <= std::size_t(fields[f].width) : text.empty());
      (void)tsn::field_value_number(text);
    }
  }
  r.save_record_position();
  check(r.begin_record() == -1);
  int x = -1;
  int y = -1;
  if (tsn::find_xy_fields(fields, "LONGITUDE", "LATITUDE", false, x, y) == 0) {
    check(x >= 0 && x < n && y >= 0 && y < n && x != y);
    const tsn::TableExtents e = tsn::table_extents(r, x, y);
    // Each axis either saw a finite value or kept its starting range.
    check(e.xmin <= e.xmax || (e.xmin == 1e30 && e.xmax == -1e30));
    check(e.ymin <= e.ymax || (e.ymin == 1e30 && e.ymax == -1e30));
    r.save_record_position();
    if (r.begin_record() == 0) (void)tsn::table_elevation(r, tsn::find_field(fields, "Z"), 2.0);
  }
  check(r.rewind() == 0);
  for (long i = 0; i < r.record_count(); ++i) check(r.skip_record() == 0);
  check(r.skip_record() == -1);
  return 0;
}
