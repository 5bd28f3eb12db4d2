// Every record of a damaged shapefile, index or table is drawn once, or refused with a word:
// generated inputs converted by the real executable, the drawing's polylines and labels counted.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "input/dbf_builder.h"
#include "input/shapefile_builder.h"
#include "run/startup.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::quoted;
using test::ScratchDir;

constexpr int kRecords = 4;

// Polyline r starts at x = 10 r, so the drawing tells which records it holds; the third has a
// second part, starting at x = 24.
test::ShapefileBytes four_polylines() {
  std::vector<std::string> contents;
  for (int r = 0; r < kRecords; ++r) {
    const double x = 10.0 * r;
    std::vector<test::Part> parts{{{x, 0, 0}, {x + 1, 5, 0}, {x + 3, 1, 0}}};
    if (r == 2) parts.push_back({{x + 4, 2, 0}, {x + 5, 3, 0}});
    contents.push_back(test::multipart_content(3, parts));
  }
  return test::build_shapefile(3, contents);
}

std::string table_of(int rows) {
  test::DbfBuilder b;
  b.field("NAME", 'C', 8);
  for (int r = 0; r < rows; ++r) b.record({"row" + std::to_string(r + 1)});
  return b.bytes();
}

// What a release 12 drawing holds: the first X of each polyline and the text of each label.
struct Drawn {
  std::multiset<double> polylines;
  std::multiset<std::string> labels;
};

Drawn read_drawing(const std::string& dxf) {
  Drawn d;
  std::istringstream in(dxf);
  std::string code, value, entity;
  while (std::getline(in, code) && std::getline(in, value)) {
    if (!value.empty() && value.back() == '\r') value.pop_back();
    const int c = std::stoi(code);
    if (c == 0 && value == "VERTEX" && entity == "POLYLINE") entity = "first VERTEX";
    else if (c == 0) entity = value;
    if (c == 10 && entity == "first VERTEX") d.polylines.insert(std::stod(value));
    if (c == 1 && entity == "TEXT") d.labels.insert(value);
  }
  return d;
}

struct Case {
  const char* name;
  std::function<void(test::ShapefileBytes&, std::string& dbf)> damage;
  int status;
  std::multiset<double> polylines;  // first X of each polyline drawn
  int labels;
  std::vector<std::string> messages;
};

TEST(RecordAccounting, EveryRecordDrawnOnceOrRefusedAloud) {
  const std::multiset<double> all = {0, 10, 20, 24, 30};
  const Case cases[] = {
      {"intact", [](auto&, auto&) {}, 0, all, 4, {"Translated 1 source files"}},
      {"table shorter than the shapes", [](auto&, std::string& t) { t = table_of(2); }, 0, all, 2,
       {"t.dbf has 2 rows for 4 records: 2 records were drawn without attribute values"}},
      {"table longer than the shapes", [](auto&, std::string& t) { t = table_of(6); }, 0, all, 4,
       {"t.dbf has 6 rows for 4 records: the last 2 rows were not used"}},
      {"table header claims rows it does not hold",
       [](auto&, std::string& t) { t = table_of(2), test::set_record_count(t, 4); }, 0, all, 2,
       {"the dBase header gives 4 records but the file holds only 2",
        "t.dbf has 2 rows for 4 records: 2 records were drawn without attribute values"}},
      {"index entries repeat the first",
       [](auto& b, auto&) { b.set_index_entry(1, 50, 48), b.set_index_entry(2, 50, 48); }, 0, all,
       4, {"t.shx is damaged: entry 2 gives byte 100"}},
      {"record's own length wrong, the index right",
       [](auto& b, auto&) { b.set_content_length_words(1, 10); }, 0, all, 4, {"Translated 1"}},
      {"index entry inside a record",
       [](auto& b, auto&) { b.set_index_entry(2, int(b.record_offsets[2] / 2) + 4, 40); }, 0, all,
       4, {"t.shx is damaged: entry 3 gives byte"}},
      {"parts out of order",
       [](auto& b, auto&) { b.set_part_start(2, 1, 0); }, 0, {0, 10, 30}, 3,
       {"Record 3: part 1 starts at point 0", "Records refused as malformed = 1",
        "Warning: 1 records were refused (each is named above)"}},
      {"point count overflows",
       [](auto& b, auto&) { b.set_num_points(1, 0x7fffffff); }, 0, {0, 20, 24, 30},
       3, {"Record 2: 1 parts and 2147483647 points", "Records refused as malformed = 1"}},
      {"first part starts after the first point",
       [](auto& b, auto&) { b.set_part_start(0, 0, 2); }, 0, {10, 20, 24, 30},
       3, {"Record 1: its first part starts at point 2", "Records refused as malformed = 1"}},
      {"main file shorter than its header",
       [](auto& b, auto&) { b.shp.resize(60); }, 2, {}, 0,
       {"t.shp is damaged: 60 bytes, shorter than the 100-byte header"}},
      {"main file cut after a record",
       [](auto& b, auto&) { b.shp.resize(b.record_offsets[3]); }, 0, {0, 10, 20, 24}, 3,
       {"t.shp may have been cut short: its header gives a length of 552 bytes, the file holds 448",
        "t.shx is damaged: it lists 4 records", "t.dbf has 4 rows for 3 records"}},
      {"main file cut inside a record",
       [](auto& b, auto&) { b.shp.resize(b.record_offsets[3] + 20); }, 2, {}, 0,
       {"Record 4 at byte 448 gives a content length of 96 bytes"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir d;
    test::ShapefileBytes files = four_polylines();
    std::string dbf = table_of(kRecords);
    c.damage(files, dbf);
    const std::string shp = test::write_shapefile(d, files);
    test::write_file(d / "t.dbf", dbf);
    const std::string log = (d / "log.txt").string();
    const int status = test::exit_status(
        "TESSARYN_HOME=" + quoted((d / "home").string()) + " " + TSN_BINARY + " " + quoted(shp) +
        " /T=0 >" + quoted(log) + " 2>&1 </dev/null");
    const std::string said = test::read_file(log);
    EXPECT_EQ(status, c.status) << said;
    const Drawn drawn = read_drawing(test::read_file(d / "t.dxf"));
    EXPECT_EQ(drawn.polylines, c.polylines) << said;
    EXPECT_EQ(drawn.labels.size(), static_cast<std::size_t>(c.labels)) << said;
    EXPECT_EQ(std::set(drawn.labels.begin(), drawn.labels.end()).size(), drawn.labels.size());
    for (const std::string& m : c.messages) EXPECT_NE(said.find(m), std::string::npos) << m;
    if (std::string(c.name) == "intact") {
      EXPECT_EQ(said.find("Warning"), std::string::npos) << said;
    }
  }
}

TEST(RecordAccounting, TableCutShortDuringTheRunFailsTheConversion) {
  ScratchDir d;
  constexpr int kMany = 40000;  // a table of many buffer blocks
  std::vector<std::string> contents;
  test::DbfBuilder table;
  table.field("NAME", 'C', 20);
  for (int r = 0; r < kMany; ++r) {
    contents.push_back(test::point_content(1, r, r));
    table.record({"point" + std::to_string(r)});
  }
  const std::string shp = test::write_shapefile(d, test::build_shapefile(1, contents));
  test::write_file(d / "t.dbf", table.bytes());
  ASSERT_EQ(::setenv("TESSARYN_HOME", (d / "home").c_str(), 1), 0);
  // The table is cut to half its size, as by another program while the run reads it; the polls
  // before the record loop are few, so the cut falls in its first quarter.
  test::RecordingHost host;
  int polls = 0;
  host.on_poll = [&] {
    if (++polls == kMany / 4) fs::resize_file(d / "t.dbf", fs::file_size(d / "t.dbf") / 2);
  };
  test::ScopedHost guard(host);
  std::string program = "tessaryn", input = shp, labels = "/T=0";
  char* argv[] = {program.data(), input.data(), labels.data(), nullptr};
  const int status = run_program(3, argv);
  ::unsetenv("TESSARYN_HOME");
  const std::string said = host.status_text();
  EXPECT_EQ(status, 2) << said;
  EXPECT_NE(said.find("Could not read row"), std::string::npos) << said;
  EXPECT_NE(said.find("of table " + (d / "t.dbf").string()), std::string::npos);
  EXPECT_FALSE(fs::exists(d / "t.dxf"));
}

}  // namespace
}  // namespace tsn
