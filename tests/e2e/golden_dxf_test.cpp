// Whole drawings compared byte for byte with stored ones: a small polyline file in releases 12
// and 14, TidyDxf 0 and 1, DecPlaces 0, 6 and 16, without the comment lines (No999 1). The
// stored files are checked too: CR LF line ends, handles, the handle seed, and what ezdxf and
// GDAL read from them. TSN_UPDATE_GOLDEN=1 rewrites them from the current program instead.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

struct Variant {
  int release;
  int tidy;
  int places;
  std::string name() const {
    return "lines-r" + std::to_string(release) + "-tidy" + std::to_string(tidy) + "-dp" +
           std::to_string(places) + ".dxf";
  }
};

std::vector<Variant> variants() {
  std::vector<Variant> all;
  for (const int release : {12, 14}) {
    for (const int tidy : {0, 1}) {
      for (const int places : {0, 6, 16}) all.push_back({release, tidy, places});
    }
  }
  return all;
}

// Converts the stored input with one variant's settings; the drawing's path, or empty.
std::string convert(const ScratchDir& d, const Variant& v) {
  const fs::path home = d / ("home-" + v.name());
  fs::create_directories(home);
  test::write_file(home / "tsn25.ini", "[Tessaryn]\nNo999=1\nTidyDxf=" + std::to_string(v.tidy) +
                                           "\nDecPlaces=" + std::to_string(v.places) + "\n");
  for (const char* ext : {".shp", ".shx", ".dbf"}) {
    const fs::path to = d / (std::string("lines") + ext);
    if (!fs::exists(to)) fs::copy_file(kGolden / (std::string("lines") + ext), to);
  }
  const std::string out = (d / v.name()).string();
  // One colour for the lines, so that no classification takes part.
  const std::string cmd = "TESSARYN_HOME='" + home.string() + "' " + TSN_BINARY + " '" +
                          (d / "lines.shp").string() + "' '" + out + "' /REL=" +
                          std::to_string(v.release) + " /C0=3 >/dev/null 2>&1 </dev/null";
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

TEST(GoldenDxf, EveryVariantMatchesItsStoredDrawingByteForByte) {
  ScratchDir d;
  const bool update = std::getenv("TSN_UPDATE_GOLDEN") != nullptr;
  for (const Variant& v : variants()) {
    const std::string out = convert(d, v);
    ASSERT_FALSE(out.empty()) << v.name() << " did not convert";
    const fs::path stored = kGolden / v.name();
    if (update) {
      fs::copy_file(out, stored, fs::copy_options::overwrite_existing);
      continue;
    }
    ASSERT_TRUE(fs::exists(stored)) << stored;
    const std::string got = read_file(out);
    const std::string expected = read_file(stored);
    EXPECT_TRUE(got == expected) << v.name() << ": " << first_difference(got, expected);
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
  for (const Variant& v : variants()) {
    const std::string text = read_file(kGolden / v.name());
    std::vector<std::pair<int, std::string>> groups;
    ASSERT_TRUE(read_groups(text, groups)) << v.name() << ": a line without CR LF";
    ASSERT_GE(groups.size(), 2u);
    EXPECT_EQ(groups.back(), std::make_pair(0, std::string("EOF"))) << v.name();
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
    if (v.release == 12) {
      EXPECT_EQ(handles, 0) << v.name();
      EXPECT_EQ(text.find("\r\n100\r\n"), std::string::npos) << v.name();
    } else {
      EXPECT_GT(handles, 20) << v.name();
      EXPECT_EQ(seed, highest + 1) << v.name();
    }
  }
}

TEST(GoldenDxf, StoredDrawingsReadBackWithTheInputsPolylinesVerticesAndCoordinates) {
  if (!test::have_ezdxf()) {
    GTEST_SKIP() << "python3-ezdxf is not installed";
  }
  std::string pairs;
  for (const Variant& v : variants()) {
    pairs += " '" + (kGolden / "lines.shp").string() + "' '" + (kGolden / v.name()).string() + "'";
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
  EXPECT_EQ(checked, variants().size());
}

}  // namespace
}  // namespace tsn
