// Tests of the shapefile reader: header checks, the record walk, decoding and corrupt input.
#include "input/shapefile_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/shape_types.h"
#include "platform/messages.h"
#include "settings/conv_settings.h"
#include "shapefile_builder.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::build_shapefile;
using test::multipart_content;
using test::null_content;
using test::point_content;
using test::RecordingHost;
using test::ScopedHost;
using test::ScratchDir;
using test::write_shapefile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

const test::Part kSquare = {{0, 0, 1}, {10, 0, 2}, {10, 10, 3}, {0, 0, 1}};
const test::Part kLine = {{1, 2, 7}, {3, 4, 8}};

// Walks the records as the conversion does: "ok", "null", "refused" (content), "end", "error".
std::vector<std::string> walk(ShapefileReader& reader, shape_rec& rec) {
  std::vector<std::string> steps;
  for (int guard = 0; guard < 64; ++guard) {
    reader.read_index_entry();
    const int head = reader.read_record_header(rec);
    if (head == 1 || head == -1) {
      steps.emplace_back(head == 1 ? "end" : "error");
      break;
    }
    if (head == -2) {
      steps.emplace_back("null");
    } else {
      steps.emplace_back(reader.read_record_content(rec) == 0 ? "ok" : "refused");
    }
  }
  return steps;
}

struct Fixture {
  RecordingHost host;
  ScopedHost guard{host};
  ScratchDir dir;
  ShapefileReader reader;
  shape_rec rec;

  // Writes the files, opens them and reads both headers (expected to pass).
  void open(const test::ShapefileBytes& files, bool with_index = true) {
    ASSERT_EQ(reader.open(write_shapefile(dir, files, with_index)), 0);
    ASSERT_EQ(reader.read_shp_header(false), 0);
    ASSERT_EQ(reader.read_shx_header(), 0);
  }
  std::vector<std::string> walk_all() { return walk(reader, rec); }
  // Reads the next record and its content; the result of the content reader.
  int read_one() {
    reader.read_index_entry();
    const int head = reader.read_record_header(rec);
    return head != 0 ? 100 + head : reader.read_record_content(rec);
  }
};

TEST(ShapeTypes, TableAgreesWithSettingsClassesAndZTypes) {
  for (const shape_type_info& t : shape_type_table()) {
    SCOPED_TRACE(std::string(t.name));
    EXPECT_EQ(&shape_type_lookup(t.code), &t);
    InputInfo input;
    input.shape_type = t.code;
    EXPECT_EQ(t.shape_class, shape_class(input, FileSettings{}));
    EXPECT_EQ(t.accepted, t.code != 0 && t.code != 18 && t.code != 28);
    if (has_z_block(t.code)) {
      EXPECT_TRUE(is_z_shape_type(t.code));
    }
  }
  EXPECT_EQ(shape_type_index(31), 13);
  EXPECT_EQ(shape_type_name(23), "PolyLineM");
  for (int unknown : {2, 4, 30, 32, -1}) EXPECT_EQ(shape_type_index(unknown), 0);
}

TEST(ShapeRecord, TablePolygonIsOnePartWithoutZ) {
  shape_rec rec;
  load_table_polygon(rec, {0, 0, 1, 1}, std::vector<shape_point>{{0, 0, 9}, {1, 1, 9}, {0, 0, 9}});
  EXPECT_EQ(rec.num_parts, 1);
  EXPECT_EQ(rec.points_in_part(0), 3);
  EXPECT_EQ(rec.points_in_part(1), 0);
  EXPECT_EQ(rec.points[1].y, 1.0);
  EXPECT_EQ(rec.points[1].z, 0.0);
}

TEST(ShapefileHeader, EmptyFileIsReportedAndMayStopInteractiveUse) {
  for (const bool interactive : {false, true}) {
    Fixture f;
    f.host.answers.push_back(Answer::no);
    ASSERT_EQ(f.reader.open(write_shapefile(f.dir, build_shapefile(1, {}))), 0);
    EXPECT_EQ(f.reader.read_shp_header(interactive), interactive ? -1 : 0);
    EXPECT_THAT(f.host.status_text(), HasSubstr("does not contain any data."));
    EXPECT_EQ(f.host.boxes.size(), interactive ? 1u : 0u);
    if (!interactive) {
      EXPECT_TRUE(f.reader.header().shp_empty);
    }
  }
}

// A header length below the real size is replaced silently (one beyond it is reported unless
// the user is asked: the end-to-end record accounting checks it).
TEST(ShapefileHeader, LengthMismatchReplacedSilentlyOrAskedInteractively) {
  auto files = build_shapefile(1, {point_content(1, 1, 2)});
  files.set_header_int(test::kFileLength, 60);
  {
    Fixture f;
    ASSERT_EQ(f.reader.open(write_shapefile(f.dir, files)), 0);
    EXPECT_EQ(f.reader.read_shp_header(false), 0);
    EXPECT_EQ(f.reader.header().file_length, static_cast<std::int64_t>(files.shp.size()));
    EXPECT_TRUE(f.host.boxes.empty());
  }
  files.set_header_int(test::kFileLength, 500);
  Fixture f;
  f.host.answers.push_back(Answer::no);
  ASSERT_EQ(f.reader.open(write_shapefile(f.dir, files)), 0);
  EXPECT_EQ(f.reader.read_shp_header(true), -1);
  ASSERT_EQ(f.host.boxes.size(), 1u);
  EXPECT_EQ(f.host.boxes[0].caption, "Severe Warning : Incorrect File Length");
  EXPECT_THAT(f.host.boxes[0].text,
              HasSubstr("(128) does not match\n the file length given in its Header (1000)"));
}

TEST(ShapefileHeader, WrongVersionIsReportedButConverted) {
  auto files = build_shapefile(1, {point_content(1, 1, 2)});
  files.set_header_int(test::kVersion, 999);
  Fixture f;
  f.open(files);
  EXPECT_THAT(f.host.status_text(), HasSubstr("Unknown Version (999), "));
  EXPECT_THAT(f.walk_all(), ElementsAre("ok", "end"));
}

TEST(ShapefileHeader, ExtentsBeyondLimitAreRefused) {
  const struct {
    std::size_t field;
    double value;
    int result;
  } cases[] = {{test::kXmin, 1e101, -1},
               {test::kXmin + 16, -1e101, -1},
               {test::kXmin + 24, 1e100, 0},
               {test::kXmin + 8, -1e100, 0}};
  for (const auto& c : cases) {
    auto files = build_shapefile(1, {point_content(1, 1, 2)});
    files.set_header_double(c.field, c.value);
    Fixture f;
    ASSERT_EQ(f.reader.open(write_shapefile(f.dir, files)), 0);
    EXPECT_EQ(f.reader.read_shp_header(false), c.result) << c.value;
    EXPECT_EQ(
        f.host.status_text().find("has invalid extents, cannot translate.") != std::string::npos,
        c.result != 0);
  }
}

TEST(ShapefileHeader, TypesRefusedOrAcceptedWithZRange) {
  const struct {
    std::int32_t type;
    int result;
    const char* shown;  // box text or status text expected
    double zmax;
  } cases[] = {
      {18, -1, "Shape type MultiPointZ not supported in this version of Tessaryn.", 0},
      {28, -1, "Shape type MultiPointM not supported in this version of Tessaryn.", 0},
      {2, -1, "Unknown Type, ", 0},
      {0, -1, "Unknown Type, ", 0},
      {3, 0, "", 0},
      {13, 0, "", 5},
      {31, 0, "", 5},
      {21, 0, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    Fixture f;
    ASSERT_EQ(f.reader.open(write_shapefile(f.dir, build_shapefile(c.type, {null_content()}))), 0);
    EXPECT_EQ(f.reader.read_shp_header(false), c.result);
    if (c.result == 0) {
      EXPECT_EQ(f.reader.header().zmax, c.zmax);
    }
    if (c.type == 18 || c.type == 28) {
      ASSERT_EQ(f.host.boxes.size(), 1u);
      EXPECT_EQ(f.host.boxes[0].caption, "Unsupported Shapefile Type");
      EXPECT_EQ(f.host.boxes[0].text, c.shown);
      EXPECT_EQ(f.host.beeps.size(), 1u);
    } else {
      EXPECT_THAT(f.host.status_text(), HasSubstr(c.shown));
    }
  }
}

TEST(ShapefileWalk, NullRecordInTheMiddleIsSkippedAndTraced) {
  Fixture f;
  const std::string trace = (f.dir / "trace").string();
  ASSERT_TRUE(open_trace_file(trace, true));
  f.open(build_shapefile(1, {point_content(1, 1, 2), null_content(), point_content(1, 5, 6)}));
  EXPECT_THAT(f.walk_all(), ElementsAre("ok", "null", "ok", "end"));
  close_diagnostic_files();
  EXPECT_EQ(f.rec.record_number, 3);
  EXPECT_EQ(f.rec.points[0].x, 5.0);
  EXPECT_THAT(f.host.status_text(), HasSubstr("Skipping empty shape record (#2)"));
  EXPECT_TRUE(f.host.beeps.empty());
  EXPECT_THAT(test::read_file(trace), HasSubstr("\nRecord # 2\nlength == 4\nshape type == 0\n"));
}

TEST(ShapefileWalk, MissingIndexIsReportedAndTheMainFileWalked) {
  Fixture f;
  f.open(build_shapefile(3, {multipart_content(3, {kLine}), null_content(),
                             multipart_content(3, {kSquare, kLine})}),
         false);
  EXPECT_THAT(f.host.status_text(),
              HasSubstr("Warning: Could not open index file " + (f.dir / "t.shx").string() +
                        ".\nUsing internal structure of .shp file instead"));
  EXPECT_THAT(f.walk_all(), ElementsAre("ok", "null", "ok", "end"));
  EXPECT_EQ(f.rec.num_parts, 2);
  EXPECT_EQ(f.rec.points_in_part(1), 2);
  EXPECT_EQ(f.rec.points[4].x, 1.0);
}

// The end of the main file ends the walk, with or without the index; the driver compares the
// records walked with the table's rows.
TEST(ShapefileWalk, EndOfTheMainFileEndsTheWalk) {
  for (const bool with_index : {true, false}) {
    Fixture f;
    f.open(build_shapefile(1, {point_content(1, 1, 2)}), with_index);
    EXPECT_THAT(f.walk_all(), ElementsAre("ok", "end"));
    EXPECT_THAT(f.host.status_text(), Not(HasSubstr("Premature end of file reached.")));
  }
}

TEST(ShapefileDecode, ZBlockPartTypesAndPointValues) {
  Fixture z;
  z.open(build_shapefile(
      13, {multipart_content(13, {kSquare, kLine}), multipart_content(13, {kLine})}));
  ASSERT_EQ(z.read_one(), 0);
  EXPECT_TRUE(z.rec.has_z);
  EXPECT_EQ(z.rec.zmax, 99.0);
  EXPECT_EQ(z.rec.points[5].z, 8.0);
  z.reader.read_index_entry();
  ASSERT_EQ(z.reader.read_record_header(z.rec), 0);
  EXPECT_FALSE(z.rec.has_z);  // cleared for every record

  Fixture patch;
  patch.open(build_shapefile(31, {multipart_content(31, {kSquare, kLine, kLine}, {0, 1, 3})}));
  ASSERT_EQ(patch.read_one(), 0);
  EXPECT_THAT(std::vector<int>(patch.rec.part_types.begin(), patch.rec.part_types.begin() + 3),
              ElementsAre(0, 1, 3));
  EXPECT_EQ(patch.rec.points[7].z, 8.0);
  EXPECT_TRUE(patch.rec.has_z);

  Fixture m;
  m.open(build_shapefile(21, {point_content(21, 3, 4, 55)}));
  ASSERT_EQ(m.read_one(), 0);
  EXPECT_EQ(m.rec.points[0].z, 55.0);
  EXPECT_EQ(m.rec.box.ymax, 4.0);
  EXPECT_FALSE(m.rec.has_z);

  Fixture lm;
  lm.open(build_shapefile(23, {multipart_content(23, {kLine})}));
  ASSERT_EQ(lm.read_one(), 0);
  EXPECT_FALSE(lm.rec.has_z);
  EXPECT_EQ(lm.rec.points[1].y, 4.0);
  EXPECT_EQ(lm.rec.points[1].z, 0.0);
}

TEST(ShapefileDecode, LargeRecordsCrossTheBufferAndArraysNeverShrink) {
  test::Part big;
  for (int i = 0; i < 6000; ++i) big.push_back({double(i), double(-i), double(2 * i)});
  Fixture f;
  f.open(build_shapefile(15, {multipart_content(15, {big}), multipart_content(15, {kSquare}),
                              multipart_content(15, {big, kLine})}));
  shape_rec& rec = f.rec;
  for (int r = 0; r < 3; ++r) {
    ASSERT_EQ(f.read_one(), 0);
    EXPECT_GE(rec.points.size(), 6000u);
  }
  EXPECT_EQ(rec.num_points, 6002);
  EXPECT_EQ(rec.points[5999].x, 5999.0);
  EXPECT_EQ(rec.points[5999].z, 11998.0);
  EXPECT_EQ(rec.points[6001].y, 4.0);
}

// A corrupt record is refused with a message naming the file and the record; the walk then
// goes on to the next record (or stops when the position is lost).
TEST(ShapefileCorruption, NamedFieldsOutOfRange) {
  using Bytes = test::ShapefileBytes;
  const struct {
    const char* name;
    void (*corrupt)(Bytes&);
    std::vector<std::string> steps;
    const char* message;
    bool with_index = true;
  } cases[] = {
      // clang-format off
      {"negative parts", [](Bytes& b) { b.set_num_parts(0, -1); },
          {"refused", "ok", "end"}, "Number of parts for shape (1) cannot be negative. Shapefile may be corrupt."},
      {"huge points", [](Bytes& b) { b.set_num_points(0, 0x7fffffff); },
          {"refused", "ok", "end"}, "Record 1: 2 parts and 2147483647 points need"},
      {"huge parts", [](Bytes& b) { b.set_num_parts(0, 0x40000000); },
          {"refused", "ok", "end"}, "Record 1: 1073741824 parts"},
      {"negative points", [](Bytes& b) { b.set_num_points(0, -3); },
          {"refused", "ok", "end"}, "the number of points (-3) cannot be negative"},
      {"starts out of order", [](Bytes& b) { b.set_part_start(0, 1, 0); },
          {"refused", "ok", "end"}, "part 1 starts at point 0"},
      {"start past the points", [](Bytes& b) { b.set_part_start(0, 1, 6); },
          {"refused", "ok", "end"}, "part 1 starts at point 6"},
      {"negative start", [](Bytes& b) { b.set_part_start(0, 0, -1); },
          {"refused", "ok", "end"}, "its first part starts at point -1"},
      {"negative content length", [](Bytes& b) { b.set_content_length_words(0, -8); },
          {"error"}, "content length of -16 bytes", false},
      {"content past the end", [](Bytes& b) { b.set_content_length_words(0, 1000); },
          {"error"}, "content length of 2000 bytes", false},
      {"index offset past the end", [](Bytes& b) { b.set_index_entry(1, 5000, 10); },
          {"ok", "ok", "end"}, "is damaged: entry 2 gives byte 10000 (20 bytes) for record 2"},
      {"index offset in the header", [](Bytes& b) { b.set_index_entry(0, 10, 10); },
          {"ok", "ok", "end"}, "is damaged: entry 1 gives byte 20 (20 bytes) for record 1"},
      {"first part after the first point", [](Bytes& b) { b.set_part_start(0, 0, 1); },
          {"refused", "ok", "end"}, "Record 1: its first part starts at point 1, not at point 0."},
      {"index and record lengths past the end", [](Bytes& b) {
         b.set_index_entry(1, int(b.record_offsets[1] / 2), 900);
         b.set_content_length_words(1, 900); },
          {"ok", "error"}, "content length of 1800 bytes"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto files =
        build_shapefile(3, {multipart_content(3, {kSquare, kLine}), multipart_content(3, {kLine})});
    c.corrupt(files);
    Fixture f;
    f.open(files, c.with_index);
    EXPECT_EQ(f.walk_all(), c.steps);
    EXPECT_THAT(f.host.status_text(), HasSubstr(c.message));
    // The negative part count has its own fixed text, which names the record only.
    if (std::string(c.name) != "negative parts") {
      EXPECT_THAT(f.host.status_text(), HasSubstr(f.reader.shp_path()));
    }
  }
}

TEST(ShapefileCorruption, RecordOfAnotherTypeIsDecodedAsTheFilesType) {
  Fixture f;
  f.open(build_shapefile(3, {point_content(1, 1, 2), multipart_content(3, {kLine})}));
  EXPECT_THAT(f.walk_all(), ElementsAre("refused", "ok", "end"));
  EXPECT_THAT(f.host.status_text(), HasSubstr("Record 1 holds 20 bytes, too few for a PolyLine."));
}

// The record's own length places the next record; an index that disagrees is damaged and said
// to be once, however many of its entries disagree.
TEST(ShapefileCorruption, IndexLengthsDifferingFromTheRecord) {
  auto files = build_shapefile(3, {multipart_content(3, {kLine}), multipart_content(3, {kLine})});
  files.set_index_entry(0, 50, 44);
  files.set_index_entry(1, int(files.record_offsets[1] / 2), 200);
  Fixture f;
  f.open(files);
  f.reader.read_index_entry();
  ASSERT_EQ(f.reader.read_record_header(f.rec), 0);
  EXPECT_EQ(f.rec.content_length, 80);
  EXPECT_TRUE(f.reader.index_damaged());
  f.reader.read_index_entry();
  ASSERT_EQ(f.reader.read_record_header(f.rec), 0);
  EXPECT_EQ(f.rec.content_length, 80);
  EXPECT_EQ(f.reader.read_record_content(f.rec), 0);
  const std::string said = f.host.status_text();
  EXPECT_THAT(said, HasSubstr("is damaged: entry 1 gives byte 100 (88 bytes) for record 1, which "
                              "starts at byte 100 (80 bytes)"));
  EXPECT_EQ(said.find("is damaged"), said.rfind("is damaged"));
}

TEST(ShapefileCorruption, IndexShorterThanItsHeaderClaims) {
  auto files =
      build_shapefile(1, {point_content(1, 1, 2), point_content(1, 3, 4), point_content(1, 5, 6)});
  files.shx.resize(files.shx.size() - 12);  // one whole entry and half of another gone
  Fixture f;
  f.open(files);
  EXPECT_EQ(f.reader.index_entry_count(), 1);
  ASSERT_EQ(f.host.boxes.size(), 1u);
  EXPECT_THAT(f.host.boxes[0].text, HasSubstr("The actual file length of the Index file (112)"));
  EXPECT_THAT(f.walk_all(), ElementsAre("ok", "ok", "ok", "end"));
  EXPECT_EQ(f.rec.points[0].x, 5.0);
  EXPECT_THAT(f.host.status_text(), HasSubstr("t.shx is damaged: it lists 1 records"));
}

// Every truncation of a record ends the walk cleanly: with the record's length left as it was
// the header is refused; with the length cut down to match, the content reader refuses whatever
// no longer holds the counts, starts, points and Z block (the M block is not needed).
TEST(ShapefileCorruption, EveryPrefixOfARecordFailsCleanly) {
  const auto full = build_shapefile(31, {multipart_content(31, {kSquare, kLine}, {2, 3})});
  const std::size_t needed = 4 + 32 + 8 + 2 * 8 + 6 * 16 + 16 + 6 * 8;
  for (const bool declared : {false, true}) {
    for (const bool with_index : {true, false}) {
      for (std::size_t size = 101; size < full.shp.size(); ++size) {
        SCOPED_TRACE(testing::Message()
                     << size << (declared ? " declared" : "") << (with_index ? " indexed" : ""));
        auto files = full;
        files.shp.resize(size);
        // The header agrees: a file shorter than its header says is refused before any record.
        files.set_header_int(test::kFileLength, int(size / 2));
        const std::size_t content = size >= 108 ? (size - 108) & ~std::size_t{1} : 0;
        if (declared && size >= 108) files.set_content_length_words(0, int(content / 2));
        Fixture f;
        f.open(files, with_index);
        const auto steps = f.walk_all();
        if (!declared || content < 4) {
          EXPECT_EQ(steps, std::vector<std::string>{size < 112 ? "end" : "error"});
        } else {
          EXPECT_EQ(steps, (std::vector<std::string>{content < needed ? "refused" : "ok", "end"}));
        }
      }
    }
  }
}

TEST(ShapefilePaths, IndexNameFollowsTheExtensionCase) {
  ScratchDir dir;
  test::write_file(dir / "A.SHX", "");
  EXPECT_EQ(index_path_for((dir / "A.SHP").string()), (dir / "A.SHX").string());
  EXPECT_EQ(index_path_for((dir / "b.SHP").string()), (dir / "b.shx").string());
  EXPECT_EQ(index_path_for("roads.shp"), "roads.shx");
}

}  // namespace
}  // namespace tsn
