// Fuzz target for the shapefile reader: any bytes as main file and index, every record checked.
//
// Input: 1 flag byte (bit 0 interactive header read, bit 1 unused, bit 2 no index), the
// index length (4 bytes, little-endian, taken modulo what follows), the index, the main file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "input/shapefile_reader.h"
#include "fuzz_support.h"

namespace {

using tsn::fuzz::check;

void check_record(const tsn::shape_rec& rec) {
  check(rec.num_points >= 0 && static_cast<std::size_t>(rec.num_points) <= rec.points.size());
  check(rec.num_parts >= 0 && static_cast<std::size_t>(rec.num_parts) <= rec.part_starts.size());
  // Every point came from the record's content, 16 bytes each at least.
  check(std::int64_t{rec.num_points} * 16 <= rec.content_length);
  std::int32_t total = 0;
  for (std::int32_t i = 0; i < rec.num_parts; ++i) {
    check(rec.part_starts[i] >= 0 && rec.part_starts[i] < rec.num_points);
    check(rec.points_in_part(i) >= 1);
    total += rec.points_in_part(i);
  }
  check(rec.num_parts == 0 || total == rec.num_points - rec.part_starts[0]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  static tsn::fuzz::SilentHost host;
  tsn::set_host(&host);
  tsn::fuzz::ShapefileInput input = tsn::fuzz::split_shapefile_input(data, size);
  const std::uint8_t flags = input.flags;
  const auto shp_size = static_cast<std::int64_t>(input.shp.size());
  std::optional<std::string> index;
  if ((flags & 4) == 0) index.emplace(std::move(input.shx));

  tsn::ShapefileReader reader;
  reader.open_memory(std::move(input.shp), std::move(index), "f.shp");
  check(reader.is_open() && reader.index_open() == ((flags & 4) == 0));
  if (reader.read_shp_header((flags & 1) != 0) == 0 && !reader.header().shp_empty &&
      reader.read_shx_header() == 0) {
    tsn::shape_rec rec;
    // Each step moves forward through the main file, so the walk must end.
    const std::int64_t limit = reader.index_entry_count() + shp_size / 12 + 2;
    std::int64_t steps = 0;
    for (;; ++steps) {
      check(steps <= limit);
      reader.read_index_entry();
      const int head = reader.read_record_header(rec);
      if (head == 1 || head == -1) break;
      if (head == 0 && reader.read_record_content(rec) == 0) check_record(rec);
    }
  }
  tsn::set_host(nullptr);
  return 0;
}
