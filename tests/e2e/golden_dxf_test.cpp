// Whole drawings compared byte for byte with stored ones: a small polyline file in releases 12
// and 14 (and 2000, through the drawing database), TidyDxf 0 and 1, DecPlaces 0, 6 and 16, and points (POINT entities, marker blocks,
// character markers, labels, block attributes, extended data), polygons with a hole and two
// parts (release 12 SOLID fill blocks, release 14 solid and pattern hatches tied to their
// outlines, labels), PolygonZ faces and a comma-delimited point table, all without the comment
// lines (No999 1). The stored files are checked too: CR LF line ends, handles, the handle seed,
// and what ezdxf and GDAL read from them. TSN_UPDATE_GOLDEN=1 rewrites them from the current
// program instead.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::ScratchDir;

const fs::path kGolden = fs::path(TSN_SOURCE_DIR) / "tests" / "golden";

struct Case {
  std::string input;     // a file of tests/golden, with its companions beside it
  int release;
  std::string switches;  // after /REL
  std::string settings;  // tsn25.ini lines after No999=1
  std::string golden;
  // What drawing_summary.py reads from the drawing; empty for the polyline cases, which
  // polyline_counts.py checks.
  std::string summary;
};

const std::string kTidy6 = "TidyDxf=1\nDecPlaces=6\n";

std::vector<Case> line_cases() {
  std::vector<Case> all;
  for (const int release : {12, 14}) {
    for (const int tidy : {0, 1}) {
      for (const int places : {0, 6, 16}) {
        // One colour for the lines, so that no classification takes part.
        all.push_back({"lines.shp", release, "/C0=3",
                       "TidyDxf=" + std::to_string(tidy) + "\nDecPlaces=" + std::to_string(places) +
                           "\n",
                       "lines-r" + std::to_string(release) + "-tidy" + std::to_string(tidy) +
                           "-dp" + std::to_string(places) + ".dxf",
                       ""});
      }
    }
  }
  // The same lines through the drawing database.
  all.push_back({"lines.shp", 2000, "/C0=3", "", "lines-r2000.dxf", ""});
  return all;
}

// Four points (NAME Alpha..Delta, KIND, HEIGHT); three polygon records (Court a rectangle with
// a rectangular hole, Pair two parts, Peak a triangle) on five rings; two PolygonZ records on
// three rings; a table of three points with X and Y fields.
std::vector<Case> other_cases() {
  std::vector<Case> all;
  for (const int r : {12, 14}) {
    const std::string rel = "-r" + std::to_string(r);
    const std::string dot = r == 12 ? "in:POLYLINE=4" : "in:HATCH=4";
    const std::string outline = r == 12 ? "POLYLINE" : "LWPOLYLINE";
    all.push_back({"points.shp", r, "/C0=3 /P=0", kTidy6, "points" + rel + "-point.dxf", "POINT=4"});
    all.push_back({"points.shp", r, "/C0=3 /P=1", kTidy6, "points" + rel + "-plus.dxf",
                   "INSERT=4 in:LINE=8"});
    all.push_back({"points.shp", r, "/C0=3 /P=2", kTidy6, "points" + rel + "-circle.dxf",
                   "INSERT=4 in:CIRCLE=4"});
    all.push_back({"points.shp", r, "/C0=3 /P=3", kTidy6, "points" + rel + "-dot.dxf",
                   "INSERT=4 " + dot});
    all.push_back({"points.shp", r, "/C0=3 /P=-1", kTidy6, "points" + rel + "-character.dxf",
                   "TEXT=4 texts=*|*|*|*"});
    all.push_back({"points.shp", r, "/C0=3 /T=0", kTidy6, "points" + rel + "-labels.dxf",
                   "POINT=4 TEXT=4 texts=Alpha|Beta|Gamma|Delta"});
    all.push_back({"points.shp", r, "/C0=3 /AB=-1", kTidy6, "points" + rel + "-attribs.dxf",
                   "INSERT=4 in:POINT=4 attribs=12"});
    all.push_back({"points.shp", r, "/C0=3 /AE=-1", kTidy6, "points" + rel + "-xdata.dxf",
                   "POINT=4 xdata=4"});
    all.push_back({"polygons.shp", r, "/C0=3 /T=0", kTidy6, "polygons" + rel + "-labels.dxf",
                   outline + "=5 TEXT=3 texts=Court|Pair|Peak"});
    all.push_back({"polygonz.shp", r, "/C=2", kTidy6, "polygonz" + rel + "-faces.dxf",
                   "3DFACE=3 POLYLINE=3"});
    all.push_back({"table.csv", r, "/C0=3", kTidy6, "table" + rel + ".dxf", "POINT=3"});
  }
  // Release 12 fills each of the four parts with a block of SOLIDs, the hole cut out.
  all.push_back({"polygons.shp", 12, "/C=2", kTidy6, "polygons-r12-fill.dxf",
                 "INSERT=4 POLYLINE=5 in:SOLID=11"});
  all.push_back({"polygons.shp", 12, "/C=1", kTidy6, "polygons-r12-fill-only.dxf",
                 "INSERT=4 in:SOLID=11"});
  // Release 14: one HATCH per record over its rings, associative with the outlines drawn.
  all.push_back({"polygons.shp", 14, "/C=2", kTidy6, "polygons-r14-solid-hatch.dxf",
                 "HATCH=3 LWPOLYLINE=5 paths=5 associative=3"});
  all.push_back({"polygons.shp", 14, "/C=2 /CH=5", kTidy6, "polygons-r14-pattern-hatch.dxf",
                 "HATCH=3 LWPOLYLINE=5 paths=5 associative=3"});
  all.push_back({"polygons.shp", 14, "/C=1", kTidy6, "polygons-r14-hatch-only.dxf",
                 "HATCH=3 paths=5 associative=0"});
  return all;
}

std::vector<Case> all_cases() {
  std::vector<Case> all = line_cases();
  for (Case& c : other_cases()) all.push_back(std::move(c));
  return all;
}

// Converts a case's stored input with its settings; the drawing's path, or empty.
std::string convert(const ScratchDir& d, const Case& c) {
  // A home of its own, so that no definition file of an earlier case takes part.
  const fs::path home = d / ("home-" + c.golden);
  fs::create_directories(home);
  test::write_file(home / "tsn25.ini", "[Tessaryn]\nNo999=1\n" + c.settings);
  const std::string stem = fs::path(c.input).stem().string();
  for (const char* ext : {".shp", ".shx", ".dbf", ".csv"}) {
    const fs::path from = kGolden / (stem + ext);
    const fs::path to = d / (stem + ext);
    if (fs::exists(from) && !fs::exists(to)) fs::copy_file(from, to);
  }
  const std::string out = (d / c.golden).string();
  const std::string cmd = "TESSARYN_HOME='" + home.string() + "' " + TSN_BINARY + " '" +
                          (d / c.input).string() + "' '" + out + "' /REL=" +
                          std::to_string(c.release) + " " + c.switches +
                          " >/dev/null 2>&1 </dev/null";
  return test::exit_status(cmd) == 0 ? out : std::string();
}

// The line where two texts first differ, for a readable failure.
std::string first_difference(const std::string& got, const std::string& expected) {
  std::size_t i = 0;
  while (i < got.size() && i < expected.size() && got[i] == expected[i]) ++i;
  const std::size_t line = static_cast<std::size_t>(std::count(got.begin(), got.begin() + i, '\n'));
  const auto excerpt = [i](const std::string& s) {
    const std::size_t from = i < 40 ? 0 : i - 40;
    return s.substr(from, 80);
  };
  return "first difference at byte " + std::to_string(i) + " (line " + std::to_string(line + 1) +
         ")\n got: [" + excerpt(got) + "]\nwant: [" + excerpt(expected) + "]";
}

TEST(GoldenDxf, EveryCaseMatchesItsStoredDrawingByteForByte) {
  ScratchDir d;
  const bool update = std::getenv("TSN_UPDATE_GOLDEN") != nullptr;
  for (const Case& c : all_cases()) {
    const std::string out = convert(d, c);
    ASSERT_FALSE(out.empty()) << c.golden << " did not convert";
    const fs::path stored = kGolden / c.golden;
    if (update) {
      fs::copy_file(out, stored, fs::copy_options::overwrite_existing);
      continue;
    }
    ASSERT_TRUE(fs::exists(stored)) << stored;
    const std::string got = read_file(out);
    const std::string expected = read_file(stored);
    EXPECT_TRUE(got == expected) << c.golden << ": " << first_difference(got, expected);
  }
}

// The groups of a drawing as (code, value) pairs; false when a line lacks its CR LF.
bool read_groups(const std::string& text, std::vector<std::pair<int, std::string>>& groups) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) return false;
    const std::string line = text.substr(at, end - at);
    if (line.find_first_of("\r\n") != std::string::npos) return false;
    lines.push_back(line);
    at = end + 2;
  }
  if (lines.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    groups.emplace_back(std::stoi(lines[i]), lines[i + 1]);
  }
  return true;
}

TEST(GoldenDxf, StoredDrawingsHaveCrLfLinesAndTheHandleSeedAboveEveryHandle) {
  for (const Case& c : all_cases()) {
    const std::string text = read_file(kGolden / c.golden);
    std::vector<std::pair<int, std::string>> groups;
    ASSERT_TRUE(read_groups(text, groups)) << c.golden << ": a line without CR LF";
    ASSERT_GE(groups.size(), 2u);
    EXPECT_EQ(groups.back(), std::make_pair(0, std::string("EOF"))) << c.golden;
    unsigned long highest = 0;
    unsigned long seed = 0;
    int handles = 0;
    for (std::size_t i = 0; i < groups.size(); ++i) {
      if (groups[i].first == 9 && groups[i].second == "$HANDSEED") {
        seed = std::stoul(groups.at(i + 1).second, nullptr, 16);
        ++i;
      } else if (groups[i].first == 5) {
        highest = std::max(highest, std::stoul(groups[i].second, nullptr, 16));
        ++handles;
      }
    }
    if (c.release == 12) {
      EXPECT_EQ(handles, 0) << c.golden;
      EXPECT_EQ(text.find("\r\n100\r\n"), std::string::npos) << c.golden;
    } else {
      EXPECT_GT(handles, 20) << c.golden;
      EXPECT_EQ(seed, highest + 1) << c.golden;
    }
  }
}

TEST(GoldenDxf, StoredDrawingsReadBackWithTheInputsPolylinesVerticesAndCoordinates) {
  if (!test::have_ezdxf()) {
    GTEST_SKIP() << "python3-ezdxf is not installed";
  }
  std::string pairs;
  for (const Case& c : line_cases()) {
    pairs += " '" + (kGolden / c.input).string() + "' '" + (kGolden / c.golden).string() + "'";
  }
  std::istringstream report(test::capture("/usr/bin/python3 '" + std::string(TSN_SOURCE_DIR) +
                                    "/tests/e2e/polyline_counts.py'" + pairs + " 2>&1"));
  std::string file;
  long shp_lines = 0, shp_vertices = 0, ogr_lines = 0, ogr_vertices = 0, errors = 0;
  double difference = 0.0;
  std::size_t checked = 0;
  while (report >> file >> shp_lines >> shp_vertices >> ogr_lines >> ogr_vertices >> difference >>
         errors) {
    // Half a unit of the last decimal written (0.5 with DecPlaces 0).
    const bool whole_numbers = file.find("-dp0.dxf") != std::string::npos;
    EXPECT_LE(difference, whole_numbers ? 0.51 : 5.1e-7) << file;
    // Three records, the second with two parts: four polylines of 3, 2, 3 and 3 vertices.
    EXPECT_EQ(shp_lines, 4) << file;
    EXPECT_EQ(shp_vertices, 11) << file;
    EXPECT_EQ(ogr_lines, shp_lines) << file;
    EXPECT_EQ(ogr_vertices, shp_vertices) << file;
    EXPECT_EQ(errors, 0) << file;
    ++checked;
  }
  EXPECT_EQ(checked, line_cases().size());
}

TEST(GoldenDxf, StoredDrawingsReadBackWithTheEntitiesTheirInputsCallFor) {
  if (!test::have_ezdxf()) {
    GTEST_SKIP() << "python3-ezdxf is not installed";
  }
  std::map<std::string, std::string> expected;
  std::string files;
  for (const Case& c : other_cases()) {
    const std::string path = (kGolden / c.golden).string();
    expected[path] = c.summary;
    files += " '" + path + "'";
  }
  std::istringstream report(test::capture("/usr/bin/python3 '" + std::string(TSN_SOURCE_DIR) +
                                          "/tests/e2e/drawing_summary.py'" + files + " 2>&1"));
  std::string line;
  std::size_t checked = 0;
  while (std::getline(report, line)) {
    const std::size_t space = line.find(' ');
    const auto it = expected.find(line.substr(0, space));
    if (space == std::string::npos || it == expected.end()) {
      ADD_FAILURE() << line;
      continue;
    }
    EXPECT_EQ(line.substr(space + 1), it->second) << it->first;
    ++checked;
  }
  EXPECT_EQ(checked, expected.size());
}

}  // namespace
}  // namespace tsn
