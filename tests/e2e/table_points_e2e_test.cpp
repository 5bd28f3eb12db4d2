// Real and generated X/Y tables converted to DXF: every row with two numeric coordinates becomes
// one POINT at the table's own values (read back by ezdxf, the table read by Python), the rows
// without coordinates are left out and counted, and the summary's extent and the drawing's
// extents are those of the points drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::quoted;

const fs::path kData = TSN_TESTDATA_DIR;

struct Case {
  std::string name;
  fs::path table;          // converted under the name it has here
  std::string switches;    // such as "/DX=5 /DY=4"
  std::string x, y;        // the fields the points must come from
  std::string delimiter;   // for the Python reader: comma, semicolon or tab; empty for dBase
  bool header = true;
  long points_at_least;    // what the file is known to hold
  long without;            // rows without coordinates
  std::string kind = "";   // the summary's name of the table, when checked
};

using test::read_file;
using test::write_file;

// Three generated tables that a line buffer of 1,023 characters used to cut into extra records.
std::vector<Case> generated_cases(const fs::path& dir) {
  std::vector<Case> out;
  {
    std::string t = "name,note,lon,lat\n";
    t += "a,short,1.5,2.5\n";
    t += "b," + std::string(3000, 'w') + ",-3.25,4.75\n";
    t += "c,\"two\nlines, quoted\",5,6\n";
    t += "d,\"\"\"quoted\"\" \r\nagain\",7.125,-8\n";
    write_file(dir / "long_fields.csv", t);
    out.push_back({"3000-byte field and quoted line breaks", dir / "long_fields.csv", "", "lon",
                   "lat", "comma", true, 4, 0});
  }
  {
    std::string header;
    std::string row1;
    std::string row2;
    for (int i = 0; i < 300; ++i) {
      const std::string name = i == 210 ? "EASTING" : i == 211 ? "NORTHING" : "column_" +
                                                                                  std::to_string(i);
      header += (i ? "," : "") + name;
      row1 += (i ? "," : "") + std::to_string(i * 10 + 1);
      row2 += (i ? "," : "") + std::to_string(-i * 7) + ".5";
    }
    write_file(dir / "wide.csv", header + "\n" + row1 + "\n" + row2 + "\n");
    out.push_back({"300-column header", dir / "wide.csv", "", "EASTING", "NORTHING", "comma",
                   true, 2, 0});
  }
  return out;
}

TEST(TablePointsE2E, EveryRowWithCoordinatesIsOnePointAtItsValues) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  test::ScratchDir d;
  // The GeoNames table has no header and the extension .txt: converted as a .csv, with its
  // longitude (column 6) and latitude (column 5) given by number.
  fs::copy_file(kData / "gdal-autotest-csv/allCountries.txt", d / "allCountries.csv");
  std::vector<Case> cases = {
      {"Northing/Easting survey", kData / "dbf-infused/dbase_03.dbf", "", "Easting", "Northing",
       "", true, 14, 0, "dBase table, 14 records, 31 fields"},
      {"F-type LATITUDE/LONGITUDE",
       kData / "ne-2.0-wagner7/110m_cultural/ne_110m_populated_places.dbf", "", "LONGITUDE",
       "LATITUDE", "", true, 243, 0},
      {"LON/LAT with empty rows", kData / "csv-points/noaa_isd-history.csv", "", "LON", "LAT",
       "comma", true, 28000, 1205},
      {"/DX and /DY swap the axes", kData / "csv-points/noaa_isd-history.csv", "/DX=6 /DY=7",
       "LAT", "LON", "comma", true, 28000, 1205},
      {"semicolons", kData / "csv-points/meteofrance_postesSynop.csv", "", "Longitude",
       "Latitude", "semicolon", true, 62, 0, "semicolon-delimited table, 62 records, 5 fields"},
      {"tabs, no header", d / "allCountries.csv", "/DX=5 /DY=4", "FIELD6", "FIELD5", "tab",
       false, 3, 0, "tab-delimited table, 10 records, 19 fields"},
  };
  for (Case& c : generated_cases(d.path())) cases.push_back(c);

  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = (d / ("table" + std::to_string(n++) + ".dxf")).string();
    const fs::path log = d / "log.txt";
    const int status = test::exit_status(
        "TESSARYN_HOME=" + quoted((d / "home").string()) + " " + TSN_BINARY + " " +
        quoted(c.table.string()) + " " + quoted(out) + " " + c.switches + " >" +
        quoted(log.string()) + " 2>&1 </dev/null");
    const std::string text = read_file(log);
    if (status != 0) {
      ADD_FAILURE() << "exit " << status << "\n" << text;
      continue;
    }
    std::string command = "/usr/bin/python3 " +
                          quoted(std::string(TSN_SOURCE_DIR) + "/tests/e2e/table_point_check.py") +
                          " " + quoted(c.table.string()) + " " + quoted(out) + " " + quoted(c.x) +
                          " " + quoted(c.y);
    if (!c.delimiter.empty()) command += " " + c.delimiter + (c.header ? "" : " noheader");
    std::istringstream report(test::capture(command + " 2>&1"));
    long expected = -1, drawn = -1, without = -1, audit = -1;
    double difference = 1.0;
    std::array<double, 4> ext{}, box{};
    report >> expected >> drawn >> without >> difference >> audit;
    for (double& v : ext) report >> v;
    for (double& v : box) report >> v;
    std::string box_text;
    std::getline(report >> std::ws, box_text);
    if (box_text.empty()) {
      ADD_FAILURE() << report.str();
      continue;
    }
    EXPECT_GE(expected, c.points_at_least);
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(without, c.without);
    // Six decimals: half a millionth, relative to the coordinate's size once above 1.
    EXPECT_LE(difference, 5.1e-7);
    EXPECT_EQ(audit, 0);
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_LE(std::fabs(ext[i] - box[i]), 5.1e-7 * std::max(1.0, std::fabs(box[i])))
          << "extent " << i << ": drawing " << ext[i] << ", points " << box[i];
    }
    // The records left out are reported once, with their number.
    const std::string skipped = " records without coordinates were skipped";
    const std::size_t at = text.find(skipped);
    EXPECT_EQ(at != std::string::npos, c.without > 0) << text;
    if (at != std::string::npos) {
      EXPECT_EQ(text.find(skipped, at + 1), std::string::npos) << text;
      EXPECT_NE(text.find("\n" + std::to_string(c.without) + skipped), std::string::npos) << text;
    }
    if (!c.kind.empty()) {
      EXPECT_NE(text.find("  " + c.kind + "\n"), std::string::npos) << text;
    }
    // The summary's extent is that of the points drawn.
    EXPECT_NE(text.find("extent " + box_text), std::string::npos) << box_text << "\n" << text;
  }
}

// A table without two differently named coordinate fields is refused, naming its numeric
// fields by number; given by number, the same fields convert.
TEST(TablePointsE2E, TableWithoutCoordinateNamesListsItsNumericFields) {
  test::ScratchDir d;
  write_file(d / "plain.csv", "name,a,b\nP,1.5,2\nQ,3,4.25\n");
  const fs::path log = d / "log.txt";
  const auto run = [&](const std::string& switches) {
    return test::exit_status("TESSARYN_HOME=" + quoted((d / "home").string()) + " " +
                             TSN_BINARY + " " + quoted((d / "plain.csv").string()) + " " +
                             quoted((d / "plain.dxf").string()) + " " + switches + " >" +
                             quoted(log.string()) + " 2>&1 </dev/null");
  };
  EXPECT_NE(run(""), 0);
  const std::string refused = read_file(log);
  EXPECT_NE(refused.find("No X,Y data for this file"), std::string::npos) << refused;
  EXPECT_NE(refused.find("1 a, 2 b"), std::string::npos) << refused;
  EXPECT_FALSE(fs::exists(d / "plain.dxf"));
  ASSERT_EQ(run("/DX=2 /DY=1"), 0) << read_file(log);
  const std::string text = read_file(log);
  EXPECT_NE(text.find("extent 2, 1.5 to 4.25, 3"), std::string::npos) << text;
}

}  // namespace
}  // namespace tsn
