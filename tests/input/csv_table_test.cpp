// Tests of the comma-delimited table reader: tokens, value classes, the column scan, records and
// polygon rows.
#include "input/csv_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recording_host.h"

namespace tsn {
namespace {

using test::RecordingHost;
using test::ScopedHost;
using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kNoHeader = "File does not have a header line. Turning No Header flag on.";

struct Scanned {
  RecordingHost host;
  ScopedHost guard{host};
  CsvReader reader;
  int has_header;
  int result;

  explicit Scanned(const std::string& text, int csv_has_header = 1) : has_header(csv_has_header) {
    reader.open_memory(text, "points.csv");
    result = reader.csv_scan(has_header);
  }

  Rows rows() {
    Rows out;
    reader.rewind();
    for (long i = 0; i < reader.record_count(); ++i) {
      reader.save_record_position();
      if (reader.begin_record() != 0) break;
      std::vector<std::string> row;
      for (int f = 0; f < static_cast<int>(reader.fields().size()); ++f)
        row.emplace_back(reader.read_field(f));
      out.push_back(row);
    }
    return out;
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const dbf_field& f : reader.fields()) out.push_back(f.name);
    return out;
  }
};

std::vector<std::string> tokens(const std::string& line) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  for (;;) {
    CsvToken t = csv_token(line, pos);
    out.push_back(t.text);
    if (t.last) return out;
    pos = t.next;
  }
}

TEST(CsvToken, SplitsQuotedAndPlainFields) {
  struct Case {
    const char* line;
    std::vector<std::string> fields;
  };
  const std::vector<Case> cases = {
      {"a,b,c", {"a", "b", "c"}},
      {"  a  , b ,", {"a", "b", ""}},
      {"\"Smith, John\",42", {"Smith, John", "42"}},
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"\"closed\" trailing, next", {"closed", "next"}},
      {"ab\"cd,ef", {"ab", "ef"}},
      {"ab\"\"cd,ef", {"ab\"cd", "ef"}},
      {"\"unterminated, to the end", {"unterminated, to the end"}},
      {",,", {"", "", ""}},
      {"", {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(tokens(c.line), c.fields);
  }
  // Past the end of the line: an empty last field.
  const CsvToken beyond = csv_token("a", 5);
  EXPECT_EQ(beyond.text, "");
  EXPECT_TRUE(beyond.last);
}

TEST(CsvToken, ValueClasses) {
  struct Case {
    const char* text;
    int cls;
  };
  for (const Case c : {Case{"", kCsvEmpty}, Case{"   ", kCsvEmpty}, Case{"12", kCsvInteger},
                       Case{"-12", kCsvInteger}, Case{"2.50", 2}, Case{"+70.933", 3}, Case{"3.", 0},
                       Case{"1.25e3", 2}, Case{"1e5", kCsvInteger}, Case{"1e", kCsvText},
                       Case{"1e+5", kCsvText}, Case{"abc", kCsvText}, Case{"-", kCsvText},
                       Case{"..", kCsvText}, Case{"12 34", kCsvInteger}, Case{"00501", kCsvInteger},
                       Case{"1,5", kCsvText}, Case{"N/A", kCsvText}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(csv_value_class(c.text), c.cls);
  }
}

TEST(CsvScan, HeaderLineNamesTheColumns) {
  Scanned s("name,lon,,lat\nA,1,x,2.50\nB,2.50,y,3\nC,3,,-1\n");
  ASSERT_EQ(s.result, 0);
  EXPECT_EQ(s.has_header, 1);
  EXPECT_TRUE(s.host.status.empty());
  EXPECT_EQ(s.names(), (std::vector<std::string>{"name", "lon", "FIELD3", "lat"}));
  EXPECT_EQ(s.reader.record_count(), 3);
  const auto& f = s.reader.fields();
  EXPECT_EQ(f[0].type, 'C');
  // 1, 2.50, 3: numeric, with the decimal count of the last value (an integer).
  EXPECT_EQ(f[1].type, 'N');
  EXPECT_EQ(f[1].decimals, -1);
  EXPECT_EQ(f[1].width, 4);
  EXPECT_EQ(f[2].type, 'C');
  EXPECT_EQ(f[3].decimals, -1);
  EXPECT_EQ(s.rows(),
            (Rows{{"A", "1", "x", "2.50"}, {"B", "2.50", "y", "3"}, {"C", "3", "", "-1"}}));
}

TEST(CsvScan, NumericFirstLineIsARecord) {
  Scanned s("1.5,2.25,abc\n3,4,def\n");
  ASSERT_EQ(s.result, 0);
  EXPECT_EQ(s.has_header, 0);
  EXPECT_EQ(s.host.status_text(), std::string("\n") + kNoHeader);
  EXPECT_EQ(s.host.beeps.size(), 1u);
  EXPECT_EQ(s.names(), (std::vector<std::string>{"FIELD1", "FIELD2", "FIELD3"}));
  EXPECT_EQ(s.reader.record_count(), 2);
  EXPECT_EQ(s.rows(), (Rows{{"1.5", "2.25", "abc"}, {"3", "4", "def"}}));

  // With the flag already off there is no message, and a text line is a record too.
  Scanned off("name,x\nA,1\n", 0);
  EXPECT_TRUE(off.host.status.empty());
  EXPECT_EQ(off.names(), (std::vector<std::string>{"FIELD1", "FIELD2"}));
  EXPECT_EQ(off.rows(), (Rows{{"name", "x"}, {"A", "1"}}));
  EXPECT_EQ(off.reader.fields()[1].type, 'N');
}

TEST(CsvScan, LinesAndTheEndOfTheTable) {
  struct Case {
    const char* name;
    std::string text;
    Rows rows;
    std::string message = "";
  };
  const std::string long_value(1500, 'w');
  const std::string field_3000(3000, 'v');
  const std::vector<Case> cases = {
      {"empty line ends the table",
       "id,v\n1,a\n\n2,b\n",
       {{"1", "a"}},
       "\nTable ends at the empty line 3; 1 lines after it were not read"},
      {"empty lines at the end are not reported", "id,v\n1,a\n\n\n\r\n", {{"1", "a"}}},
      {"lines after the empty line up to the last with text",
       "id,v\n1,a\n\n\n2,b\n\n",
       {{"1", "a"}},
       "\nTable ends at the empty line 3; 2 lines after it were not read"},
      {"an empty first line ends the table at once",
       "\nid,v\n1,a",
       {},
       "\nTable ends at the empty line 1; 2 lines after it were not read"},
      {"CR before LF dropped", "id,v\r\n1,a\r\n2,b\r\n", {{"1", "a"}, {"2", "b"}}},
      {"last line without LF", "id,v\n1,a\n2,b", {{"1", "a"}, {"2", "b"}}},
      {"a lone CR is kept", "id,v\n1,a\rb\n", {{"1", "a\rb"}}},
      {"quoted commas and quotes", "id,v\n1,\"x, \"\"y\"\"\"\n", {{"1", "x, \"y\""}}},
      {"fields beyond a short line are empty", "a,b,c\n1\n", {{"1", "", ""}}},
      {"only a header", "a,b\n", {}},
      {"empty file", "", {}},
      {"a long line is one record", "id,v\n1," + long_value + "\n2,x\n",
       {{"1", long_value}, {"2", "x"}}},
      {"a 3,000-byte field", "id,v,w\n1," + field_3000 + ",2\n", {{"1", field_3000, "2"}}},
      {"a quoted line break continues the record",
       "id,v,w\n1,\"a\nb\",2\n3,c,4\n",
       {{"1", "a\nb", "2"}, {"3", "c", "4"}}},
      {"a quoted CR LF is kept", "id,v\n1,\"a\r\nb\"\r\n", {{"1", "a\r\nb"}}},
      {"a quoted empty line is no end",
       "id,v\n1,\"a\n\nb\"\n2,c\n",
       {{"1", "a\n\nb"}, {"2", "c"}}},
      {"doubled quotes before a quoted line break", "id,v\n1,\"x\"\"\ny\"\n",
       {{"1", "x\"\ny"}}},
      {"a quote inside an unquoted field opens nothing", "id,v\n1,ab\"c\n2,d\n",
       {{"1", "ab"}, {"2", "d"}}},
      {"a quoted field that never closes runs to the end", "id,v\n1,\"open\n2,b\n",
       {{"1", "open\n2,b\n"}}},
      {"the empty line after a quoted line break is counted in file lines",
       "id,v\n1,\"a\nb\"\n\nc\n",
       {{"1", "a\nb"}},
       "\nTable ends at the empty line 4; 1 lines after it were not read"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scanned s(c.text);
    ASSERT_EQ(s.result, 0);
    EXPECT_EQ(s.reader.record_count(), static_cast<long>(c.rows.size()));
    EXPECT_EQ(s.rows(), c.rows);
    EXPECT_EQ(s.host.status_text(), c.message);
  }
}

TEST(CsvScan, RecordOverTheLimitIsLeftOut) {
  const std::string huge(kCsvMaxRecord, 'z');
  Scanned s("id,v\n1,a\n2," + huge + "\n3,c\n");
  ASSERT_EQ(s.result, 0);
  EXPECT_EQ(s.reader.record_count(), 2);
  EXPECT_EQ(s.rows(), (Rows{{"1", "a"}, {"3", "c"}}));
  EXPECT_EQ(s.host.status_text(), "\n1 records longer than 4194304 bytes were not read");
  // Just within the limit it is read.
  Scanned within("id\n" + std::string(kCsvMaxRecord, '7') + "\n");
  EXPECT_EQ(within.reader.record_count(), 1);
  EXPECT_EQ(within.reader.fields()[0].width, static_cast<int>(kCsvMaxRecord));
}

TEST(CsvScan, SeparatorFromTheFirstLine) {
  struct Case {
    const char* name;
    std::string text;
    char delimiter;
    std::vector<std::string> names;
    Rows rows;
  };
  const std::vector<Case> cases = {
      {"semicolons", "a;b;c\n1;2,5;x\n", ';', {"a", "b", "c"}, {{"1", "2,5", "x"}}},
      {"tabs, quoted tab kept", "a\tb\tc\n1\t\"x\ty\"\t3\n", '\t', {"a", "b", "c"},
       {{"1", "x\ty", "3"}}},
      {"more semicolons than commas", "a,b;c;d\n1,2;3;4\n", ';', {"a,b", "c", "d"},
       {{"1,2", "3", "4"}}},
      {"quoted semicolons do not count", "\"x;y;z\",b\n1,2\n", ',', {"x;y;z", "b"},
       {{"1", "2"}}},
      {"a tie is a comma", "a;b\tc\n1;2\t3\n", ',', {"a;b\tc"}, {{"1;2\t3"}}},
      {"one column is a comma", "single\n1\n", ',', {"single"}, {{"1"}}},
      {"data lines do not decide", "a,b\n1;2;3;4,5\n", ',', {"a", "b"}, {{"1;2;3;4", "5"}}},
      {"a quoted line break in a semicolon table", "a;b\n\"x\ny\";2\n3;4\n", ';',
       {"a", "b"}, {{"x\ny", "2"}, {"3", "4"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scanned s(c.text);
    ASSERT_EQ(s.result, 0);
    EXPECT_EQ(s.reader.delimiter(), c.delimiter);
    EXPECT_EQ(s.names(), c.names);
    EXPECT_EQ(s.rows(), c.rows);
  }
}

TEST(CsvScan, ColumnsAreLimitedTo256) {
  std::string header = "first";
  std::string values = "0";
  for (int i = 1; i < 300; ++i) {
    header += i == 255 ? ",last" : ",a";
    values += "," + std::to_string(i % 10);
  }
  Scanned s(header + "\n" + values + "\n");
  ASSERT_EQ(s.reader.fields().size(), 256u);
  EXPECT_EQ(s.reader.fields()[255].name, "last");
  EXPECT_EQ(s.rows()[0][255], "5");
  Scanned names("averyveryverylongname,b\n1,2\n");
  EXPECT_EQ(names.reader.fields()[0].name, "averyveryve");
  // A header of 300 long names (3,300 bytes) is one line: 256 columns, one record, and the
  // coordinate fields where they are.
  std::string wide_header;
  std::string wide_values;
  for (int i = 0; i < 300; ++i) {
    wide_header += (i ? ",column_" : "column_") + std::to_string(i);
    if (i == 200) wide_header += ",LON,LAT";
    wide_values += (i ? "," : "") + std::to_string(i);
    if (i == 200) wide_values += ",-12.5,48.25";
  }
  Scanned wide(wide_header + "\n" + wide_values + "\n");
  ASSERT_EQ(wide.reader.fields().size(), 256u);
  EXPECT_EQ(wide.reader.record_count(), 1);
  EXPECT_EQ(wide.reader.fields()[255].name, "column_253");
  int x = -1;
  int y = -1;
  ASSERT_EQ(find_xy_fields(wide.reader.fields(), "LONGITUDE", "LATITUDE", false, x, y), 0);
  EXPECT_EQ(x, 201);
  EXPECT_EQ(y, 202);
  EXPECT_EQ(wide.rows()[0][201], "-12.5");
  EXPECT_EQ(wide.rows()[0][255], "253");
}

TEST(CsvRecords, CursorStaysInStep) {
  Scanned s("id,x,y\n1,10,20\n2,11,21\n3,12,22\n");
  CsvReader& r = s.reader;
  r.save_record_position();
  ASSERT_EQ(r.begin_record(), 0);
  EXPECT_EQ(r.read_field(2), "20");
  const std::string_view id = r.read_field(0);
  ASSERT_EQ(r.begin_record(), 0);
  EXPECT_EQ(r.read_field(1), "10");
  EXPECT_EQ(id, "1");
  EXPECT_EQ(r.read_field(3), "");
  EXPECT_EQ(r.skip_record(), 0);
  r.save_record_position();
  ASSERT_EQ(r.begin_record(), 0);
  EXPECT_EQ(r.read_field(0), "3");
  r.save_record_position();
  EXPECT_EQ(r.begin_record(), -1);
  EXPECT_EQ(r.skip_record(), -1);
}

TEST(CsvRecords, ExtentsCountOnlyRecordsWithBothCoordinates) {
  // "+-3" looks numeric but does not parse; the blank X does not count either, and neither does
  // the other coordinate of such a record.
  Scanned s("name,longitude,latitude\nA,1.5,2\nB,,7\nC,4,+-3\nD,9e1,3\n");
  int x = -1;
  int y = -1;
  ASSERT_EQ(find_xy_fields(s.reader.fields(), "LONGITUDE", "LATITUDE", false, x, y), 0);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);
  const TableExtents e = table_extents(s.reader, x, y);
  EXPECT_EQ(e.xmin, 1.5);
  EXPECT_EQ(e.xmax, 90.0);
  EXPECT_EQ(e.ymin, 2.0);
  EXPECT_EQ(e.ymax, 3.0);
  std::vector<bool> drawn;
  for (long i = 0; i < s.reader.record_count(); ++i) {
    s.reader.save_record_position();
    ASSERT_EQ(s.reader.begin_record(), 0);
    double px = -1;
    double py = -1;
    drawn.push_back(read_coordinates(s.reader, x, y, px, py));
    if (i == 3) {
      EXPECT_EQ(px, 90.0);
      EXPECT_EQ(py, 3.0);
    }
  }
  EXPECT_EQ(drawn, (std::vector<bool>{true, false, false, true}));
  // A text column is never a coordinate.
  Scanned text("name,longitude,latitude\nA,n/a,1\n");
  EXPECT_EQ(find_xy_fields(text.reader.fields(), "LONGITUDE", "LATITUDE", false, x, y), -1);
}

TEST(CsvPolygons, TwoTrianglesFromClosedRows) {
  Scanned s("x,y\n0,0\n1,0\n1,1\n0,0\n5,5\n6,5\n6,6\n5,5\n");
  CsvReader& r = s.reader;
  ASSERT_EQ(r.record_count(), 8);
  CsvPolygon p;
  r.save_record_position();
  ASSERT_EQ(r.csv_polygon_scan(0, 1, p), 0);
  EXPECT_TRUE(p.closed);
  ASSERT_EQ(p.points.size(), 4u);
  EXPECT_EQ(p.points[1].x, 1.0);
  EXPECT_EQ(p.xmax, 1.0);
  EXPECT_EQ(p.ymax, 1.0);
  EXPECT_EQ(r.rows_consumed(), 4);
  // The first row still gives the polygon's attributes.
  ASSERT_EQ(r.begin_record(), 0);
  EXPECT_EQ(r.read_field(1), "0");
  r.save_record_position();
  ASSERT_EQ(r.csv_polygon_scan(0, 1, p), 0);
  EXPECT_TRUE(p.closed);
  EXPECT_EQ(p.points.size(), 4u);
  EXPECT_EQ(p.xmin, 5.0);
  EXPECT_EQ(p.ymax, 6.0);
  EXPECT_EQ(r.rows_consumed(), 8);
  r.save_record_position();
  EXPECT_EQ(r.csv_polygon_scan(0, 1, p), -1);
  EXPECT_TRUE(s.host.status.empty());
}

TEST(CsvPolygons, UnclosedLastPolygonIsReportedAndKept) {
  Scanned s("x,y\n0,0\n2,0\n2,2\n0,0\n5,5\n6,5\n6,6\n");
  CsvPolygon p;
  s.reader.save_record_position();
  ASSERT_EQ(s.reader.csv_polygon_scan(0, 1, p), 0);
  EXPECT_TRUE(s.host.status.empty());
  s.reader.save_record_position();
  ASSERT_EQ(s.reader.csv_polygon_scan(0, 1, p), 0);
  EXPECT_FALSE(p.closed);
  EXPECT_EQ(p.points.size(), 3u);
  EXPECT_EQ(s.reader.rows_consumed(), 7);
  EXPECT_EQ(s.host.status_text(),
            "\nError: Could not find closing Polygon vertex. Will insert closing link to last read "
            "vertex.");
}

}  // namespace
}  // namespace tsn
