// Fuzz target for the entity generators: every record a hostile shapefile yields goes through
// the point, polyline or polygon generator of its type, with the options that take the most
// paths (release, fills: triangulated, faces and hatches, loop check, thinning, markers,
// attribute blocks).
//
// Input: as for the shapefile target (1 flag byte, the index length, the index, the main file);
// the flag byte's upper bits choose the options: 8 release 14, 16 Fill, 32 the loop check and
// thinning, 64 markers, 128 attribute blocks; 4 writes release 2000 through the drawing
// database instead of DXF text (its drawing saved to a scratch file), and then 1 saves it as
// DWG instead of DXF (release 14 with 2, else release 12 with 8, else 2000), whose file must
// open with its version.
// A drawing that fails to save is a finding.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#include "drawdb/init_file.h"
#include "dwg/database_writer.h"
#include "dxf/dxf_text_writer.h"
#include "dxf/group_sink.h"
#include "entities/marker_blocks.h"
#include "entities/feature_blocks.h"
#include "entities/point_shape.h"
#include "entities/polygon_shape.h"
#include "entities/polyline_shape.h"
#include "fuzz_support.h"
#include "input/shapefile_reader.h"
#include "settings/name_counter.h"

namespace {

using tsn::fuzz::check;

// Every write of the generators is whole groups: a code line and a value line.
void check_groups(const tsn::StringGroupSink& sink) {
  std::size_t lines = 0;
  for (const char c : sink.text()) lines += c == '\n' ? 1 : 0;
  check(lines % 2 == 0);
  check(sink.text().empty() || sink.text().back() == '\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  static tsn::fuzz::SilentHost host;
  tsn::set_host(&host);
  tsn::fuzz::ShapefileInput input = tsn::fuzz::split_shapefile_input(data, size);
  const std::uint8_t flags = input.flags;
  const auto shp_size = static_cast<std::int64_t>(input.shp.size());
  tsn::ShapefileReader reader;
  reader.open_memory(std::move(input.shp), std::move(input.shx), "f.shp");
  if (reader.read_shp_header(false) != 0 || reader.header().shp_empty ||
      reader.read_shx_header() != 0) {
    tsn::set_host(nullptr);
    return 0;
  }

  tsn::ConvSettings s;
  s.verDXF = (flags & 8) != 0 ? 6 : 4;
  s.cur.Fill = (flags & 16) != 0 ? 1 : 0;
  s.CheckForBadLoops = (flags & 32) != 0 ? 1 : 0;
  s.Merge = (flags & 32) != 0 ? 1 : 0;
  s.cur.PointsTranslate = (flags & 64) != 0 ? 1 : 0;
  s.cur.DrawEdges = 3;
  s.cur.Attribs = (flags & 128) != 0 ? 1 : 0;
  s.cur.MultipointBlock = (flags & 128) != 0 ? 1 : 0;

  const bool database = (flags & 4) != 0;
  const bool dwg = database && (flags & 1) != 0;
  if (database) s.verDXF = dwg && (flags & 2) != 0 ? 6 : dwg && (flags & 8) != 0 ? 4 : 7;
  if (dwg) s.SaveFileType = 1;
  // One scratch directory for the run, whichever input comes first (the working directory
  // is never written).
  static const std::string dir = tsn::fuzz::scratch_directory();
  const std::string saved = dir + (dwg ? "out.dwg" : "out.dxf");
  tsn::StringGroupSink entity_sink, block_sink, record_sink, fill_sink;
  tsn::DxfTextWriter text_writer(s, nullptr);
  text_writer.write_streams_to(record_sink, block_sink, fill_sink, entity_sink, entity_sink, true);
  tsn::DatabaseWriter database_writer(s);
  if (database) {
    static const bool init_written = tsn::fuzz::write_text_file(
        dir + "adinit2k.dat", std::string(tsn::default_init_text()));
    check(init_written);
    check(database_writer.open(saved, dir, dir + "adinit2k.dat", false) == 0);
    check(database_writer.begin_drawing(tsn::DrawingSetup{}) == 0);
  }
  tsn::DrawingWriter& writer = database ? static_cast<tsn::DrawingWriter&>(database_writer)
                                        : text_writer;
  const tsn::DrawingOut out{&writer, tsn::DrawingStream::entities};
  const tsn::DrawingOut blocks{&writer, tsn::DrawingStream::blocks};
  const tsn::DrawingOut fills{&writer, tsn::DrawingStream::fill_blocks};
  std::array<std::uint32_t, 4> totals{};
  tsn::NameCounters names{.totals = &totals};
  tsn::FeatureBlockWriter block_writer;

  tsn::PolylineContext lines{.out = out, .blocks = blocks, .settings = s, .names = &names};
  lines.block_writer = &block_writer;
  lines.layer = "L";
  tsn::PointContext points{.out = out, .blocks = blocks, .settings = s, .names = &names};
  points.block_writer = &block_writer;
  points.drawing = tsn::point_drawing(s.cur, tsn::marker_choice(s.cur, false));
  points.layer = "P";
  tsn::PolygonContext polygons{.out = out, .blocks = blocks, .settings = s, .names = &names};
  polygons.block_writer = &block_writer;
  polygons.fill_blocks = fills;
  polygons.layer = "A";

  const int type = reader.header().shape_type;
  tsn::shape_rec rec;
  const std::int64_t limit = reader.index_entry_count() + shp_size / 12 + 2;
  for (std::int64_t steps = 0; steps <= limit; ++steps) {
    reader.read_index_entry();
    const int head = reader.read_record_header(rec);
    if (head == 1 || head == -1) break;
    if (head != 0) continue;
    switch (type) {
      case 1: case 11: case 21: case 8:
        (void)tsn::point_shape(points, reader, rec, type);
        break;
      case 3: case 13: case 23:
        (void)tsn::polyline_shape(lines, reader, rec);
        break;
      case 5: case 15: case 25: case 31:
        (void)tsn::polygon_shape(polygons, reader, rec, type);
        break;
      default:
        break;
    }
    check_groups(entity_sink);
    check_groups(block_sink);
    check_groups(fill_sink);
    // Nothing accumulates from record to record.
    entity_sink.clear();
    block_sink.clear();
    record_sink.clear();
    fill_sink.clear();
  }
  if (database) check(database_writer.finish(nullptr) == 0);
  if (dwg) {
    std::FILE* f = std::fopen(saved.c_str(), "rb");
    char magic[7] = {};
    check(f != nullptr && std::fread(magic, 1, 6, f) == 6);
    std::fclose(f);
    check(std::string_view(magic) ==
          (s.verDXF == 4 ? "AC1009" : s.verDXF == 6 ? "AC1014" : "AC1015"));
  }
  tsn::set_host(nullptr);
  return 0;
}
