// Every point and multipoint shapefile of the test data converted to DXF release 12 and 14:
// one POINT per point, read back by GDAL at the input's coordinates, audited by ezdxf; the
// MultiPointZ and MultiPointM files refused with their warning.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "support/shape_type.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::shape_type_of;
using test::quoted;

const fs::path kData = TSN_TESTDATA_DIR;

// Files whose points the independent reading cannot match, and why.
const std::set<std::string> kIrregular = {
    "3dpoints.shp",     // its index lists records the main file does not hold in that order
    "buggypoint.shp",   // a record too short for its point, skipped by the converter
    "pointnan.shp",     // a NaN coordinate, which GDAL does not read back as a point
    "fields_utf8.shp",  // a point at -DBL_MAX: its 309 digits exceed a line's 255 characters
};

TEST(PointRealData, EveryPointFileConvertsWithItsPointsInBothReleases) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  test::ScratchDir d;
  std::string pairs;
  std::size_t converted = 0;
  int refused = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kData)) {
    const fs::path& shp = entry.path();
    if (shp.extension() != ".shp") continue;
    const int type = shape_type_of(shp);
    const bool unsupported = type == 18 || type == 28;
    if (type != 1 && type != 11 && type != 21 && type != 8 && !unsupported) continue;
    for (const char* release : {"12", "14"}) {
      const std::string out = (d / (std::to_string(converted) + "-" + std::to_string(refused) +
                                    "-r" + release + ".dxf"))
                                  .string();
      const std::string log = (d / "log.txt").string();
      const int status = test::exit_status("TESSARYN_HOME=" + quoted((d / "home").string()) +
                                           " " + TSN_BINARY + " " + quoted(shp.string()) + " " +
                                           quoted(out) + " /REL=" + release + " >" + log +
                                           " 2>&1 </dev/null");
      if (unsupported) {
        EXPECT_EQ(status, 2) << shp;
        EXPECT_NE(test::capture("cat " + quoted(log)).find("not supported in this version"),
                  std::string::npos)
            << shp;
        EXPECT_FALSE(fs::exists(out)) << shp;
        ++refused;
        continue;
      }
      EXPECT_TRUE(status == 0 || status == 2) << shp << " exit " << status;
      if (status != 0) {
        EXPECT_FALSE(fs::exists(out)) << shp;
        continue;
      }
      ++converted;
      if (kIrregular.count(shp.filename().string()) == 0) {
        pairs += " " + quoted(shp.string()) + " " + quoted(out);
      }
    }
  }
  ASSERT_GT(converted, 40u) << "fewer point files than the test data holds";
  EXPECT_GT(refused, 0);
  std::istringstream report(test::capture("/usr/bin/python3 " +
                                          quoted(std::string(TSN_SOURCE_DIR) +
                                                 "/tests/e2e/point_check.py") +
                                          pairs + " 2>&1"));
  std::string file;
  long expected = 0, got = 0, errors = 0;
  double difference = 0.0;
  std::size_t checked = 0;
  while (report >> file >> expected >> got >> difference >> errors) {
    EXPECT_EQ(got, expected) << file;
    // Six decimals: half a millionth, relative to the coordinate's size once above 1.
    EXPECT_LE(difference, 5.1e-7) << file;
    EXPECT_EQ(errors, 0) << file;
    ++checked;
  }
  EXPECT_GT(checked, 40u);
}

}  // namespace
}  // namespace tsn
