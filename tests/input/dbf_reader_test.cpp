// Tests of the dBase table reader and of the field helpers shared by all tables.
#include "input/dbf_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "input/dbf_builder.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::DbfBuilder;
using test::RecordingHost;
using test::ScopedHost;
using Rows = std::vector<std::vector<std::string>>;

// Three points; the second record is marked deleted and has a blank elevation.
DbfBuilder points_table() {
  DbfBuilder b;
  b.field("NAME", 'C', 8)
      .field("LONGITUDE", 'N', 10, 3)
      .field("LATITUDE", 'N', 10, 3)
      .field("ELEV", 'N', 6, 1);
  b.record({"alpha", "12.500", "-3.250", "100.5"});
  b.record({"beta", "-7.000", "44.000", ""}, true);
  b.record({"gamma", "0.125", "8.000", "2.0"});
  return b;
}

int open_bytes(DbfReader& r, const std::string& bytes, TableUse use = TableUse::stand_alone) {
  r.open_memory(bytes, "points.dbf");
  return r.read_table_header(use);
}

// Every field of every record, walking the table as the converter does.
Rows read_rows(TableReader& t) {
  Rows rows;
  t.rewind();
  for (long i = 0; i < t.record_count(); ++i) {
    t.save_record_position();
    if (t.begin_record() != 0) break;
    std::vector<std::string> row;
    for (int f = 0; f < static_cast<int>(t.fields().size()); ++f) row.emplace_back(t.read_field(f));
    rows.push_back(row);
  }
  return rows;
}

const Rows kPointRows = {{"alpha   ", "    12.500", "    -3.250", " 100.5"},
                         {"beta    ", "    -7.000", "    44.000", "      "},
                         {"gamma   ", "     0.125", "     8.000", "   2.0"}};

TEST(DbfHeader, VersionIsCheckedOnlyForStandAloneTables) {
  struct Case {
    unsigned char version;
    TableUse use;
    int result;
  };
  test::ScratchDir dir;
  for (const Case c :
       {Case{0x03, TableUse::stand_alone, 0}, Case{0x83, TableUse::stand_alone, 0},
        Case{0x04, TableUse::stand_alone, -1}, Case{0x30, TableUse::stand_alone, -1},
        Case{0xF5, TableUse::stand_alone, -1}, Case{0x04, TableUse::shapefile_table, 0},
        Case{0x30, TableUse::shapefile_table, 0}}) {
    SCOPED_TRACE(int(c.version));
    RecordingHost host;
    ScopedHost guard(host);
    const std::string path = (dir / "t.dbf").string();
    test::write_file(path, points_table().version(c.version).bytes());
    DbfReader r;
    ASSERT_EQ(r.open_table(path), 0);
    EXPECT_EQ(r.read_table_header(c.use), c.result);
    if (c.result == 0) {
      EXPECT_EQ(read_rows(r), kPointRows);
      EXPECT_TRUE(host.status.empty());
    } else {
      EXPECT_EQ(host.status_text(), "\nWrong .dbf version (" + std::to_string(c.version) +
                                        "), This software will only translate dBase III format");
      EXPECT_EQ(host.beeps.size(), 1u);
    }
  }
}

TEST(DbfHeader, ShapefileTableLengthCheck) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<Answer> answers;
    int result;
    bool asked;
  };
  const std::string full = points_table().bytes();
  const std::vector<Case> cases = {
      {"exact", full, {}, 0, false},
      {"no end-of-file byte", points_table().no_eof_marker().bytes(), {}, 0, false},
      {"extra byte, continue", full + "x", {Answer::yes}, 0, true},
      {"extra byte, stop", full + "x", {Answer::no}, -1, true},
      {"half a record missing", full.substr(0, full.size() - 20), {Answer::yes}, 0, true},
  };
  test::ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHost host;
    host.answers.assign(c.answers.begin(), c.answers.end());
    ScopedHost guard(host);
    const std::string path = (dir / "t.dbf").string();
    test::write_file(path, c.bytes);
    DbfReader r;
    ASSERT_EQ(r.open_table(path), 0);
    EXPECT_EQ(r.read_table_header(TableUse::shapefile_table), c.result);
    ASSERT_EQ(host.boxes.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(host.boxes[0].caption, "Severe Warning : Incorrect File Length");
      EXPECT_NE(host.boxes[0].text.find("The actual file length of the dBase file ("),
                std::string::npos);
    }
  }
  // A stand-alone table is never length-checked.
  RecordingHost host;
  ScopedHost guard(host);
  DbfReader r;
  EXPECT_EQ(open_bytes(r, full + "junk"), 0);
  EXPECT_TRUE(host.boxes.empty());
}

TEST(DbfRecords, EveryRecordIsReadDeletedOnesToo) {
  RecordingHost host;
  ScopedHost guard(host);
  DbfReader r;
  ASSERT_EQ(open_bytes(r, points_table().bytes()), 0);
  ASSERT_EQ(r.fields().size(), 4u);
  EXPECT_EQ(r.fields()[1].name, "LONGITUDE");
  EXPECT_EQ(r.fields()[1].type, 'N');
  EXPECT_EQ(r.fields()[1].decimals, 3);
  EXPECT_EQ(r.record_length(), 1 + 8 + 10 + 10 + 6);
  EXPECT_EQ(r.table_length(), 32 + 4 * 32 + 1 + 3 * r.record_length() + 1);
  EXPECT_EQ(read_rows(r), kPointRows);
  // Blanks read as 0.
  EXPECT_EQ(field_value_number(kPointRows[1][3]), 0.0);
}

TEST(DbfRecords, CursorStaysInStepWithTheShapes) {
  RecordingHost host;
  ScopedHost guard(host);
  DbfReader r;
  ASSERT_EQ(open_bytes(r, points_table().bytes()), 0);
  r.save_record_position();
  ASSERT_EQ(r.begin_record(), 0);
  EXPECT_EQ(r.read_field(2), "    -3.250");
  // Several readers begin the same record in turn, fields in any order.
  ASSERT_EQ(r.begin_record(), 0);
  EXPECT_EQ(r.read_field(3), " 100.5");
  EXPECT_EQ(r.read_field(0), "alpha   ");
  EXPECT_EQ(r.read_field(4), "");
  // A null shape skips its row.
  EXPECT_EQ(r.skip_record(), 0);
  r.save_record_position();
  ASSERT_EQ(r.begin_record(), 0);
  EXPECT_EQ(r.read_field(0), "gamma   ");
  r.save_record_position();
  EXPECT_EQ(r.begin_record(), -1);
  EXPECT_EQ(r.read_field(0), "");
  EXPECT_EQ(r.skip_record(), -1);
}

TEST(DbfRecords, NulPaddingAndPaddedHeaders) {
  RecordingHost host;
  ScopedHost guard(host);
  DbfBuilder b;
  b.field("POP", 'N', 6).field("TAG", 'C', 4).record({"42", "ab"});
  std::string bytes = b.bytes();
  // A NUL-padded number ends at its first NUL; padding after the terminator (header length
  // beyond the descriptors) is skipped.
  const std::uint16_t hl = test::header_length_of(bytes);
  bytes.replace(hl + 1u, 6, std::string("42\0\0\0\0", 6));
  bytes.insert(hl, 7, '\0');
  test::set_header_length(bytes, static_cast<std::uint16_t>(hl + 7));
  DbfReader r;
  ASSERT_EQ(open_bytes(r, bytes), 0);
  EXPECT_EQ(read_rows(r), (Rows{{"42", "ab  "}}));
}

TEST(DbfHostile, MalformedHeadersAreRefusedNamingTheFile) {
  struct Case {
    const char* name;
    std::function<void(std::string&)> damage;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"shorter than a header", [](std::string& b) { b.resize(20); },
       "too short for a dBase header"},
      {"negative record count", [](std::string& b) { test::set_record_count(b, -5); },
       "negative record count (-5)"},
      {"header length inside the descriptors",
       [](std::string& b) { test::set_header_length(b, 70); }, "header length (70) is too small"},
      {"header length 0", [](std::string& b) { test::set_header_length(b, 0); },
       "header length (0)"},
      {"terminator missing", [](std::string& b) { test::set_terminator(b, 'Q'); },
       "or the terminator byte is missing"},
      {"descriptors run off the file",
       [](std::string& b) {
         test::set_terminator(b, 'Q');
         test::set_header_length(b, 0xFFFF);
       },
       "ends inside its field descriptors"},
      {"record length 0", [](std::string& b) { test::set_record_length(b, 0); },
       "record length (0) is shorter than its fields (35 bytes"},
      {"record length short", [](std::string& b) { test::set_record_length(b, 34); },
       "record length (34) is shorter"},
      {"field width 0", [](std::string& b) { test::set_field_width(b, 2, 0); },
       "field 3 (LATITUDE) has width 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHost host;
    ScopedHost guard(host);
    std::string bytes = points_table().bytes();
    c.damage(bytes);
    DbfReader r;
    EXPECT_EQ(open_bytes(r, bytes), -1);
    EXPECT_NE(host.status_text().find("points.dbf"), std::string::npos) << host.status_text();
    EXPECT_NE(host.status_text().find(c.message), std::string::npos) << host.status_text();
    r.save_record_position();
    EXPECT_EQ(r.begin_record(), -1);
    EXPECT_EQ(r.skip_record(), -1);
  }
}

TEST(DbfHostile, RecordCountBeyondTheFileIsClamped) {
  RecordingHost host;
  ScopedHost guard(host);
  std::string bytes = points_table().bytes();
  test::set_record_count(bytes, 0x7FFFFFFF);
  DbfReader r;
  ASSERT_EQ(open_bytes(r, bytes), 0);
  EXPECT_EQ(r.record_count(), 3);
  EXPECT_NE(host.status_text().find(
                "points.dbf: the dBase header gives 2147483647 records but the file holds only 3"),
            std::string::npos);
  EXPECT_EQ(read_rows(r), kPointRows);
}

TEST(DbfHostile, OnlyTheFirst256DescriptorsAreKept) {
  RecordingHost host;
  ScopedHost guard(host);
  DbfBuilder b;
  std::vector<std::string> values;
  for (int i = 0; i < 300; ++i) {
    b.field("F" + std::to_string(i), 'N', 3);
    values.push_back(std::to_string(i));
  }
  b.record(values);
  DbfReader r;
  ASSERT_EQ(open_bytes(r, b.bytes()), 0);
  ASSERT_EQ(r.fields().size(), 256u);
  EXPECT_EQ(r.fields()[255].name, "F255");
  const Rows rows = read_rows(r);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][255], "255");
}

TEST(DbfHostile, EveryPrefixFailsCleanly) {
  const std::string full = points_table().bytes();
  const std::size_t header = test::header_length_of(full);
  for (std::size_t n = 0; n < full.size(); ++n) {
    SCOPED_TRACE(n);
    RecordingHost host;
    ScopedHost guard(host);
    DbfReader r;
    const int result = open_bytes(r, full.substr(0, n));
    if (n < header) {
      EXPECT_EQ(result, -1);
      EXPECT_FALSE(host.status.empty());
      continue;
    }
    // Whole records that are present are read; the rest are dropped with a message.
    ASSERT_EQ(result, 0);
    const std::size_t whole = (n - header) / static_cast<std::size_t>(r.record_length());
    EXPECT_EQ(r.record_count(), static_cast<long>(whole));
    EXPECT_EQ(host.status.empty(), whole == 3);
    EXPECT_EQ(read_rows(r), Rows(kPointRows.begin(), kPointRows.begin() + long(whole)));
  }
}

TEST(TableFields, NumbersFollowThePercentLfRule) {
  struct Case {
    const char* text;
    double value;
    bool parses;
  };
  for (const Case c :
       {Case{"42", 42, true}, Case{"   -3.250", -3.25, true}, Case{"+7.5", 7.5, true},
        Case{"1.5e3", 1500, true}, Case{"12abc", 12, true}, Case{"3,75", 3, true},
        Case{".5", 0.5, true}, Case{"0x10", 16, true}, Case{"", 0, false}, Case{"      ", 0, false},
        Case{"abc", 0, false}, Case{"-", 0, false}, Case{"+-1", 0, false}}) {
    SCOPED_TRACE(c.text);
    double v = -99;
    EXPECT_EQ(parse_field_number(c.text, v), c.parses);
    EXPECT_EQ(field_value_number(c.text), c.value);
  }
  EXPECT_TRUE(std::isnan(field_value_number("nan")));
}

TEST(TableFields, PlainNumbersReadTheSameAsByStrtod) {
  // The fast path for plain numbers must agree with the general rule to the last bit, for
  // ordinary, long, tiny, huge and padded values.
  std::mt19937 random(7);
  const char* digits = "0123456789";
  for (int n = 0; n < 20000; ++n) {
    std::string text(static_cast<std::size_t>(random() % 3), ' ');
    if (random() % 4 == 0) text += '-';
    for (int d = 1 + static_cast<int>(random() % 20); d > 0; --d) text += digits[random() % 10];
    if (random() % 2) {
      text += '.';
      for (int d = static_cast<int>(random() % 18); d > 0; --d) text += digits[random() % 10];
    }
    if (random() % 5 == 0) text += "e" + std::to_string(static_cast<int>(random() % 700) - 350);
    text += std::string(static_cast<std::size_t>(random() % 3), ' ');
    SCOPED_TRACE(text);
    const double expected = std::strtod(text.c_str(), nullptr);
    double v = -1;
    ASSERT_TRUE(parse_field_number(text, v));
    EXPECT_EQ(std::memcmp(&v, &expected, sizeof v), 0) << v << " " << expected;
  }
}

std::vector<dbf_field> fields_of(const std::vector<std::pair<std::string, char>>& columns) {
  std::vector<dbf_field> out;
  for (const auto& [name, type] : columns) out.push_back({type, 0, name, 8});
  return out;
}

TEST(TableFields, CoordinateFieldChoice) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, char>> fields;
    int x;  // -1: refused
    int y;
  };
  const std::vector<Case> cases = {
      {"keys win over earlier matches",
       {{"XLONG", 'N'}, {"LATX", 'N'}, {"longitude", 'N'}, {"Latitude", 'N'}},
       2,
       3},
      {"LONG and LAT in names", {{"ID", 'N'}, {"LAT_DD", 'N'}, {"LONG_DD", 'N'}}, 2, 1},
      {"X and Y in names", {{"ID", 'N'}, {"POS_Y", 'N'}, {"pos_x", 'N'}}, 2, 1},
      {"whole names before names containing them", {{"ALONGSIDE", 'N'}, {"X", 'N'}, {"Y", 'N'}},
       1,
       2},
      {"only EASTING and NORTHING", {{"NAME", 'C'}, {"EASTING", 'N'}, {"NORTHING", 'N'}}, 1, 2},
      {"survey table: Max_PDOP holds an X but Easting is a whole name",
       {{"Max_PDOP", 'N'}, {"GPS_Week", 'N'}, {"Northing", 'N'}, {"Easting", 'N'}},
       3,
       2},
      {"F fields are numeric", {{"NAME", 'C'}, {"LATITUDE", 'F'}, {"LONGITUDE", 'F'}}, 2, 1},
      {"LON is searched", {{"WBAN", 'N'}, {"LAT", 'N'}, {"LON", 'N'}, {"ELEV", 'N'}}, 2, 1},
      {"EASTING before LONGITUDE when the keys match nothing",
       {{"LAT", 'N'}, {"LONG", 'N'}, {"northing", 'N'}, {"easting", 'N'}},
       3,
       2},
      {"one field is never both", {{"XY", 'N'}, {"Y", 'N'}}, 0, 1},
      {"X whole, Y from a name containing it", {{"XY", 'N'}, {"X", 'N'}}, 1, 0},
      {"Y first when X took the only Y", {{"LONG_Y", 'N'}, {"EX", 'N'}}, 1, 0},
      {"a single candidate is refused", {{"XY", 'N'}, {"V", 'N'}}, -1, -1},
      {"text fields never count", {{"LONGITUDE", 'C'}, {"LATITUDE", 'C'}, {"V", 'N'}}, -1, -1},
      {"no name qualifies", {{"A", 'N'}, {"B", 'N'}}, -1, -1},
      {"no numeric field", {{"LONGITUDE", 'C'}, {"LATITUDE", 'D'}}, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHost host;
    ScopedHost guard(host);
    int x = -1;
    int y = -1;
    const int result = find_xy_fields(fields_of(c.fields), "LONGITUDE", "LATITUDE", false, x, y);
    EXPECT_EQ(result, c.x < 0 ? -1 : 0);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(host.status_text().find("No X,Y data for this file") != std::string::npos, c.x < 0);
  }
}

TEST(TableFields, FindXYFieldsReportsTablesWithoutCoordinates) {
  RecordingHost host;
  ScopedHost guard(host);
  int x = -1;
  int y = -1;
  EXPECT_EQ(find_xy_fields(fields_of({{"NAME", 'C'}}), "LONGITUDE", "LATITUDE", false, x, y), -1);
  EXPECT_EQ(host.status_text(), "\nNo X,Y data for this file\nThe table has no numeric fields.");
  // The numeric fields are listed by number, for /DX and /DY.
  host.status.clear();
  const auto unnamed = fields_of({{"NAME", 'C'}, {"HEIGHT", 'N'}, {"D", 'D'}, {"W", 'F'}});
  EXPECT_EQ(find_xy_fields(unnamed, "LONGITUDE", "LATITUDE", false, x, y), -1);
  EXPECT_EQ(host.status_text(),
            "\nNo X,Y data for this file\nNumeric fields (give X and Y with /DX=n /DY=n): 1 "
            "HEIGHT, 3 W");
  // Given by number (/DX, /DY), any fields are used.
  x = 3;
  y = 1;
  EXPECT_EQ(find_xy_fields(unnamed, "LONGITUDE", "LATITUDE", true, x, y), 0);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 1);
  // A valid preset is kept and the other field chosen apart from it; an invalid one is replaced.
  const auto fields = fields_of({{"A", 'N'}, {"LONGITUDE", 'N'}, {"LATITUDE", 'N'}});
  x = 0;
  y = 7;
  EXPECT_EQ(find_xy_fields(fields, "LONGITUDE", "LATITUDE", true, x, y), 0);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 2);
  x = -1;
  y = 1;
  EXPECT_EQ(find_xy_fields(fields, "LATITUDE", "LONGITUDE", true, x, y), 0);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 1);
  x = 0;
  EXPECT_EQ(find_xy_fields(fields, "LONGITUDE", "LATITUDE", false, x, y), 0);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(find_field(fields, "latitude"), 2);
  EXPECT_EQ(find_field(fields, "LAT"), -1);
}

TEST(TableFields, ExtentsAndElevationOfAPointTable) {
  RecordingHost host;
  ScopedHost guard(host);
  DbfReader r;
  ASSERT_EQ(open_bytes(r, points_table().bytes()), 0);
  const TableExtents e = table_extents(r, 1, 2);
  EXPECT_EQ(e.xmin, -7.0);
  EXPECT_EQ(e.xmax, 12.5);
  EXPECT_EQ(e.ymin, -3.25);
  EXPECT_EQ(e.ymax, 44.0);
  EXPECT_DOUBLE_EQ(e.diagonal, std::hypot(19.5, 47.25));
  // A record with a blank coordinate is not drawn and does not count; the table is back at its
  // first record.
  const TableExtents with_blank = table_extents(r, 1, 3);
  EXPECT_EQ(with_blank.xmin, 0.125);
  EXPECT_EQ(with_blank.ymin, 2.0);
  EXPECT_EQ(with_blank.ymax, 100.5);
  r.save_record_position();
  ASSERT_EQ(r.begin_record(), 0);
  EXPECT_EQ(table_elevation(r, 3, 2.0), 201.0);
  EXPECT_EQ(table_elevation(r, -1, 2.0), 0.0);
  r.save_record_position();
  ASSERT_EQ(r.begin_record(), 0);
  EXPECT_EQ(table_elevation(r, 3, 2.0), 0.0);
  // Out-of-range indexes are clamped to the field list.
  const TableExtents clamped = table_extents(r, 99, -1);
  EXPECT_EQ(clamped.xmin, 2.0);
  EXPECT_EQ(clamped.xmax, 100.5);
  EXPECT_EQ(clamped.ymin, 0.125);
  // Infinite and NaN coordinates are no points either.
  DbfBuilder odd;
  odd.field("X", 'N', 8, 1).field("Y", 'F', 8, 1);
  for (const auto& [x, y] : std::vector<std::pair<std::string, std::string>>{
           {"1", "2"}, {"inf", "-90"}, {"-40", "nan"}, {"5", "6"}, {"*****", "1"}}) {
    odd.record({x, y});
  }
  DbfReader o;
  ASSERT_EQ(open_bytes(o, odd.bytes()), 0);
  const TableExtents finite = table_extents(o, 0, 1);
  EXPECT_EQ(finite.xmin, 1.0);
  EXPECT_EQ(finite.xmax, 5.0);
  EXPECT_EQ(finite.ymin, 2.0);
  EXPECT_EQ(finite.ymax, 6.0);
}

}  // namespace
}  // namespace tsn
