// Every polyline shapefile of the test data converted to DXF release 12 and 14, each drawing
// audited by ezdxf and read back by GDAL with as many polylines and vertices as the input has.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
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

// The shape type of a main file's header, or -1.
int shape_type_of(const fs::path& shp) {
  std::ifstream in(shp, std::ios::binary);
  unsigned char h[36] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return -1;
  return h[32] | (h[33] << 8) | (h[34] << 16) | (h[35] << 24);
}

TEST(PolylineRealData, EveryPolylineShapefileConvertsInBothReleases) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  if (!test::have_ezdxf()) {
    GTEST_SKIP() << "python3-ezdxf is not installed";
  }
  test::ScratchDir d;
  std::vector<std::string> outputs;
  std::string pairs;  // input and drawing, for the counting script
  for (const auto& entry : fs::recursive_directory_iterator(kData)) {
    const fs::path& shp = entry.path();
    if (shp.extension() != ".shp") continue;
    const int type = shape_type_of(shp);
    if (type != 3 && type != 13 && type != 23) continue;
    for (const char* release : {"12", "14"}) {
      const std::string out =
          (d / (std::to_string(outputs.size()) + "-r" + release + ".dxf")).string();
      const std::string cmd = "TESSARYN_HOME=" + quoted((d / "home").string()) + " " +
                              TSN_BINARY + " " + quoted(shp.string()) + " " + quoted(out) +
                              " /REL=" + release + " >/dev/null 2>&1 </dev/null";
      const int status = test::exit_status(cmd);
      // A refused file (corrupt in its source) fails cleanly and leaves no drawing.
      EXPECT_TRUE(status == 0 || status == 2) << shp << " exit " << status;
      if (status != 0) {
        EXPECT_FALSE(fs::exists(out)) << shp;
        continue;
      }
      outputs.push_back(out);
      pairs += " " + quoted(shp.string()) + " " + quoted(out);
    }
  }
  ASSERT_GT(outputs.size(), 20u) << "fewer polyline files than the test data holds";
  const std::string report =
      test::capture("/usr/bin/python3 " + quoted(std::string(TSN_SOURCE_DIR) +
                                           "/tests/e2e/polyline_counts.py") +
              pairs + " 2>&1");
  std::istringstream lines(report);
  std::string file;
  long shp_lines = 0, shp_vertices = 0, ogr_lines = 0, ogr_vertices = 0, errors = 0;
  std::size_t checked = 0;
  while (lines >> file >> shp_lines >> shp_vertices >> ogr_lines >> ogr_vertices >> errors) {
    EXPECT_EQ(errors, 0) << file;
    EXPECT_EQ(ogr_lines, shp_lines) << file;
    EXPECT_EQ(ogr_vertices, shp_vertices) << file;
    ++checked;
  }
  EXPECT_EQ(checked, outputs.size()) << report.substr(0, 2000);
}

}  // namespace
}  // namespace tsn
