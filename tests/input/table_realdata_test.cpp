// Real tables from the test-data folder read here and by independent readers: shapelib's dbfdump
// for dBase tables, GDAL's ogrinfo for comma-delimited tables.
#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "input/csv_table.h"
#include "input/dbf_reader.h"
#include "support/recording_host.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::RecordingHost;
using test::ScopedHost;

const fs::path kData = TSN_TESTDATA_DIR;

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

std::vector<fs::path> files_with(const std::string& ext) {
  std::vector<fs::path> out;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(kData, ec)) {
    if (e.is_regular_file() && lower(e.path().extension().string()) == ext) out.push_back(e.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The standard output of a command, or nothing when it could not run.
std::string run(const std::string& command) { return test::capture(command + " 2>/dev/null"); }

std::string quoted(const fs::path& p) { return test::quoted(p.string()); }

bool tool_present(const std::string& name) { return !run("command -v " + name).empty(); }

std::string trim(std::string_view s, bool left = true) {
  while (left && !s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

std::string data_name(const fs::path& p) { return fs::relative(p, kData).string(); }

// dbfdump -h -m -r: "Field i: Type=T/..., Title=`name', Width=w, Decimals=d", then per record
// "Record: n" and one "name: value" line per field (values left-trimmed and padded).
struct Dump {
  std::vector<dbf_field> fields;
  std::vector<std::vector<std::string>> records;
};

// dbfdump prints the type letter followed by bytes it never set ("Type=D/<garbage>, Title=");
// they can hold line breaks, so they are cut out before the text is split into lines.
std::string without_type_garbage(std::string text) {
  for (std::size_t at = text.find("Type="); at != std::string::npos;
       at = text.find("Type=", at + 1)) {
    const std::size_t keep = at + 6;  // "Type=" and the letter
    const std::size_t title = text.find(", Title=`", keep);
    if (title == std::string::npos) break;
    text.erase(keep, title - keep);
  }
  return text;
}

Dump parse_dump(const std::string& raw) {
  Dump d;
  std::istringstream in(without_type_garbage(raw));
  std::string line;
  std::size_t next_field = 0;
  while (std::getline(in, line)) {
    if (line.rfind("Field ", 0) == 0 && d.records.empty()) {
      dbf_field f;
      const auto t = line.find("Type=");
      const auto q1 = line.find("Title=`");
      const auto q2 = line.rfind("', Width=");
      if (t == std::string::npos || q1 == std::string::npos || q2 == std::string::npos) continue;
      f.type = line[t + 5];
      f.name = line.substr(q1 + 7, q2 - q1 - 7);
      std::sscanf(line.c_str() + q2, "', Width=%d, Decimals=%d", &f.width, &f.decimals);
      d.fields.push_back(f);
    } else if (line.rfind("Record: ", 0) == 0) {
      d.records.emplace_back();
      next_field = 0;
    } else if (!d.records.empty() && next_field < d.fields.size() &&
               line.rfind(d.fields[next_field].name + ": ", 0) == 0) {
      d.records.back().push_back(trim(line.substr(d.fields[next_field].name.size() + 2)));
      ++next_field;
    } else if (!d.records.empty() && next_field > 0 && line != "(DELETED)" && !line.empty()) {
      d.records.back().back() =
          trim(d.records.back().back() + "\n" + line);  // a value with a line break
    }
  }
  return d;
}

// Tables that are not dBase III: refused here with a message; dbfdump reads them as garbage.
const std::map<std::string, std::string> kDbfRefused = {
    {"dbf-infused/dbase_02.dbf", "dBase II layout (16-byte descriptors)"},
    {"dbf-infused/dbase_8c.dbf", "dBase 7 layout (48-byte descriptors)"},
};

TEST(TableRealData, DbaseTablesMatchDbfdump) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  if (!tool_present("dbfdump")) GTEST_SKIP() << "shapelib's dbfdump is not installed";
  int compared = 0;
  long values = 0;
  for (const fs::path& file : files_with(".dbf")) {
    const std::string name = data_name(file);
    SCOPED_TRACE(name);
    RecordingHost host;
    ScopedHost guard(host);
    DbfReader r;
    ASSERT_EQ(r.open_table(file.string()), 0);
    // Read as a shapefile's table: no version check; a length question is answered Yes.
    const int result = r.read_table_header(TableUse::shapefile_table);
    if (kDbfRefused.count(name)) {
      EXPECT_EQ(result, -1);
      EXPECT_NE(host.status_text().find(file.filename().string()), std::string::npos);
      continue;
    }
    const std::string text = run("dbfdump -h -m -r " + quoted(file));
    const Dump dump = parse_dump(text);
    EXPECT_EQ(result, 0) << host.status_text();
    if (result != 0) continue;
    ASSERT_EQ(r.fields().size(), dump.fields.size());
    // dbfdump prints nothing else for a table without fields.
    if (dump.fields.empty() && text.find("no fields") != std::string::npos) continue;
    for (std::size_t i = 0; i < dump.fields.size(); ++i) {
      EXPECT_EQ(trim(r.fields()[i].name, false), dump.fields[i].name);
      EXPECT_EQ(r.fields()[i].type, dump.fields[i].type);
      EXPECT_EQ(r.fields()[i].width, dump.fields[i].width) << dump.fields[i].name;
    }
    EXPECT_EQ(r.record_count(), static_cast<long>(dump.records.size()));
    // Values of the first 40 records and of every 50th after them.
    for (long rec = 0; rec < r.record_count() && rec < static_cast<long>(dump.records.size());
         ++rec) {
      r.save_record_position();
      ASSERT_EQ(r.begin_record(), 0);
      if (rec >= 40 && rec % 50 != 0) continue;
      const auto& expected = dump.records[static_cast<std::size_t>(rec)];
      for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(trim(r.read_field(static_cast<int>(i))), expected[i])
            << "record " << rec << " field " << dump.fields[i].name;
        ++values;
      }
    }
    ++compared;
  }
  std::printf("compared %d dBase tables, %ld values\n", compared, values);
  EXPECT_GT(compared, 150);
}

// ogrinfo -so: "Feature Count: n" and one "name: Type (w.p)" line per field.
struct OgrSummary {
  long count = -1;
  std::vector<std::string> fields;
};

OgrSummary ogr_summary(const fs::path& file) {
  OgrSummary s;
  const std::string out = run("ogrinfo -ro -al -so " + quoted(file));
  const auto at = out.find("Feature Count: ");
  if (at != std::string::npos) s.count = std::atol(out.c_str() + at + 15);
  static const std::regex field_line(
      R"(^(.*): (String|Integer|Integer64|Real|Date|DateTime|Time)(\(\w+\))? \(\d+\.\d+\)$)");
  std::istringstream in(out);
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_match(line, m, field_line))
      s.fields.push_back(m[1].str().substr(0, kFieldNameChars));
  }
  return s;
}

// Files outside what both readers define the same way.
const std::map<std::string, std::string> kCsvExclusions = {
    {"gdal-autotest-csv/double_quotes_in_middle_of_field_bis.csv",
     "a quote inside an unquoted field ends the field here; GDAL opens a quoted span over lines"},
    {"gdal-autotest-csv/single_column.csv", "GDAL does not open a one-column file"},
};
// Files whose records agree but whose field names are read differently.
const std::map<std::string, std::string> kCsvNameDifferences = {
    {"gdal-autotest-csv/header_with_line_break.csv",
     "names holding line breaks: the listing of ogrinfo splits them over lines"},
    {"gdal-autotest-csv/csv_with_utf8_bom.csv",
     "GDAL drops the byte-order mark; here it stays in the first name"},
};

TEST(TableRealData, CsvRecordCountsMatchOgrinfo) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  if (!tool_present("ogrinfo")) GTEST_SKIP() << "GDAL's ogrinfo is not installed";
  int compared = 0;
  for (const fs::path& file : files_with(".csv")) {
    const std::string name = data_name(file);
    SCOPED_TRACE(name);
    if (kCsvExclusions.count(name)) continue;
    RecordingHost host;
    ScopedHost guard(host);
    CsvReader r;
    ASSERT_EQ(r.open_table(file.string()), 0);
    int has_header = 1;
    ASSERT_EQ(r.csv_scan(has_header), 0);
    EXPECT_EQ(has_header, 1) << host.status_text();
    const OgrSummary ogr = ogr_summary(file);
    EXPECT_EQ(r.record_count(), ogr.count);
    std::vector<std::string> names;
    for (const dbf_field& f : r.fields()) names.push_back(f.name);
    if (!kCsvNameDifferences.count(name)) {
      EXPECT_EQ(names, ogr.fields);
    }
    ++compared;
  }
  std::printf("compared %d comma-delimited tables\n", compared);
  EXPECT_GT(compared, 15);
}

// The coordinate fields that real point tables name, and their separators.
TEST(TableRealData, CoordinateFieldsOfRealTables) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  struct Case {
    const char* file;
    char delimiter;  // 0 for dBase
    const char* x;
    const char* y;
    long records;
  };
  for (const Case& c : {
           Case{"dbf-infused/dbase_03.dbf", 0, "Easting", "Northing", 14},
           Case{"ne-2.0-wagner7/110m_cultural/ne_110m_populated_places.dbf", 0, "LONGITUDE",
                "LATITUDE", 243},
           Case{"gdal-autotest-misc/flat.dbf", 0, "x", "y", -1},
           Case{"csv-points/noaa_isd-history.csv", ',', "LON", "LAT", 29771},
           Case{"csv-points/meteofrance_postesSynop.csv", ';', "Longitude", "Latitude", 62},
           Case{"csv-points/usmap_us_states_centroids.csv", ',', "x", "y", 51},
           Case{"csv-points/vega_la-riots.csv", ',', "longitude", "latitude", 63},
       }) {
    SCOPED_TRACE(c.file);
    RecordingHost host;
    ScopedHost guard(host);
    const std::string path = (kData / c.file).string();
    std::unique_ptr<TableReader> table;
    if (c.delimiter == 0) {
      auto dbf = std::make_unique<DbfReader>();
      ASSERT_EQ(dbf->open_table(path), 0);
      ASSERT_EQ(dbf->read_table_header(TableUse::stand_alone), 0) << host.status_text();
      table = std::move(dbf);
    } else {
      auto csv = std::make_unique<CsvReader>();
      ASSERT_EQ(csv->open_table(path), 0);
      int has_header = 1;
      ASSERT_EQ(csv->csv_scan(has_header), 0);
      EXPECT_EQ(csv->delimiter(), c.delimiter);
      table = std::move(csv);
    }
    if (c.records >= 0) {
      EXPECT_EQ(table->record_count(), c.records);
    }
    int x = -1;
    int y = -1;
    ASSERT_EQ(find_xy_fields(table->fields(), "LONGITUDE", "LATITUDE", false, x, y), 0)
        << host.status_text();
    EXPECT_EQ(table->fields()[static_cast<std::size_t>(x)].name, c.x);
    EXPECT_EQ(table->fields()[static_cast<std::size_t>(y)].name, c.y);
  }
}

}  // namespace
}  // namespace tsn
