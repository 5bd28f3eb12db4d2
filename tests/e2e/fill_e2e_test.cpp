// Filled polygons of every polygon layer of the test data: release 12 triangles cover each
// part exactly (area of the part less its holes, nothing outside it) and release 14 hatches
// read back with the record's rings as paths, their outline links and their pattern lines,
// checked by fill_check.py against the shapefiles read independently.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::quoted;

const fs::path kData = TSN_TESTDATA_DIR;
const std::string kScripts = std::string(TSN_SOURCE_DIR) + "/tests/e2e/";

int shape_type_of(const fs::path& shp) {
  std::ifstream in(shp, std::ios::binary);
  unsigned char h[36] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return -1;
  return h[32] | (h[33] << 8) | (h[34] << 16) | (h[35] << 24);
}

// A summary line of the checker: the drawing, then seven "name value" pairs, the first named
// `first`. False for any other line (a failed part, or the script itself failing).
bool read_summary(const std::string& line, const std::string& first, std::string& dxf,
                  long (&v)[7]) {
  std::istringstream in(line);
  std::string name[7];
  if (!(in >> dxf)) return false;
  for (int k = 0; k < 7; ++k) {
    if (!(in >> name[k] >> v[k])) return false;
  }
  return name[0] == first;
}

class FillRealData : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
    if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
    if (test::exit_status("/usr/bin/python3 -c 'import shapely' >/dev/null 2>&1") != 0) {
      GTEST_SKIP() << "python3-shapely is not installed";
    }
    // All the digits, so that the triangles' areas can be compared to 1e-9.
    fs::create_directories(d / "home");
    std::ofstream(d / "home" / "tsn25.ini") << "[Tessaryn]\nDecPlaces=16\n";
  }

  // Converts every Polygon and PolygonM file with `args`; the input and drawing pairs of those
  // converted. Files refused as corrupt (exit 2) leave no drawing and are counted.
  std::string convert_all(const std::string& args) {
    std::string pairs;
    int n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kData)) {
      const fs::path& shp = entry.path();
      const int type = shape_type_of(shp);
      if (shp.extension() != ".shp" || (type != 5 && type != 25)) continue;
      const std::string out = (d / (std::to_string(n++) + ".dxf")).string();
      const int status = test::exit_status(
          "TESSARYN_HOME=" + quoted((d / "home").string()) + " " + TSN_BINARY + " " +
          quoted(shp.string()) + " " + quoted(out) + " " + args + " >/dev/null 2>&1 </dev/null");
      EXPECT_TRUE(status == 0 || status == 2) << shp << " exit " << status;
      if (status != 0) {
        ++refused;
        continue;
      }
      pairs += " " + quoted(shp.string()) + " " + quoted(out);
    }
    return pairs;
  }

  test::ScratchDir d;
  int refused = 0;
};

TEST_F(FillRealData, Release12TrianglesCoverEveryPartExactly) {
  const std::string pairs = convert_all("/REL=12 /C=2");
  std::istringstream report(
      test::capture("cd " + quoted(kScripts) + " && /usr/bin/python3 fill_check.py solid" +
                    pairs + " 2>&1"));
  std::string line;
  long parts = 0, invalid = 0;
  int files = 0;
  while (std::getline(report, line)) {
    std::string dxf;
    long v[7] = {};
    if (!read_summary(line, "parts", dxf, v)) {
      ADD_FAILURE() << line;
      continue;
    }
    ++files;
    EXPECT_EQ(v[1], v[0]) << dxf << ": parts filled";
    EXPECT_EQ(v[2], 0) << dxf << ": parts without fill";
    EXPECT_EQ(v[3], 0) << dxf << ": parts whose triangles miss their area";
    EXPECT_EQ(v[4], 0) << dxf << ": parts with triangles outside them";
    EXPECT_EQ(v[6], 0) << dxf << ": audit errors";
    parts += v[0];
    invalid += v[5];
  }
  EXPECT_GE(files, 70);
  EXPECT_LE(refused, 1);  // the time zones file, corrupt at its source
  EXPECT_GT(parts, 7000);
  // Self-crossing rings and holes that cross their ring have no exact fill to compare with.
  std::cout << "filled parts " << parts << ", invalid parts only counted " << invalid << "\n";
  EXPECT_LT(invalid, parts / 20);
}

TEST_F(FillRealData, Release14HatchesReadBackWithPathsLinksAndPatternLines) {
  // NET: two line families; outlines drawn, so every hatch is associative.
  const std::string pairs = convert_all("/REL=14 /C=2 /CH=27");
  std::istringstream report(test::capture("cd " + quoted(kScripts) +
                                          " && /usr/bin/python3 fill_check.py hatch 2" + pairs +
                                          " 2>&1"));
  std::string line;
  long hatches = 0;
  int files = 0;
  while (std::getline(report, line)) {
    std::string dxf;
    long v[7] = {};
    if (!read_summary(line, "hatches", dxf, v)) {
      ADD_FAILURE() << line;
      continue;
    }
    ++files;
    EXPECT_EQ(v[2], 0) << dxf << ": hatches without one path per ring";
    EXPECT_EQ(v[3], 0) << dxf << ": paths that are not their ring's edges";
    EXPECT_EQ(v[4], 0) << dxf << ": paths not linked both ways with their outline";
    EXPECT_EQ(v[5], 0) << dxf << ": hatches without the pattern's two line families";
    EXPECT_EQ(v[6], 0) << dxf << ": audit errors";
    hatches += v[0];
  }
  EXPECT_GE(files, 70);
  EXPECT_GT(hatches, 3000);
}

}  // namespace
}  // namespace tsn
