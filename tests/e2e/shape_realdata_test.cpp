// Every polyline, polygon and multipatch shapefile of the test data converted to DXF release 12
// and 14, each drawing audited by ezdxf; GDAL reads back as many polylines (one per part or
// ring) and vertices as the input has, at its coordinates; multipatches have n - 2 faces per
// strip and fan, and the faces of multipatch and PolygonZ rings cover each ring.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
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

// Converts every test-data shapefile of the given types in both releases and compares the
// drawings with the input through the counting script (its options in `script_options`).
// Returns how many drawings were checked.
std::size_t convert_and_count(const std::set<int>& types, const std::string& script_options) {
  test::ScratchDir d;
  std::vector<std::string> outputs;
  std::map<std::string, std::string> input_of;  // drawing -> shapefile, for the messages
  std::string pairs;  // input and drawing, for the counting script
  for (const auto& entry : fs::recursive_directory_iterator(kData)) {
    const fs::path& shp = entry.path();
    if (shp.extension() != ".shp" || types.count(shape_type_of(shp)) == 0) continue;
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
      input_of[out] = shp.string();
      pairs += " " + quoted(shp.string()) + " " + quoted(out);
    }
  }
  const std::string report =
      test::capture("/usr/bin/python3 " + quoted(std::string(TSN_SOURCE_DIR) +
                                                 "/tests/e2e/polyline_counts.py") +
                    " " + script_options + pairs + " 2>&1");
  std::istringstream lines(report);
  std::string file;
  long shp_lines = 0, shp_vertices = 0, ogr_lines = 0, ogr_vertices = 0, errors = 0;
  double difference = 0.0;
  std::size_t checked = 0;
  while (lines >> file >> shp_lines >> shp_vertices >> ogr_lines >> ogr_vertices >> difference >>
         errors) {
    EXPECT_EQ(errors, 0) << input_of[file] << " -> " << file;
    EXPECT_EQ(ogr_lines, shp_lines) << input_of[file] << " -> " << file;
    EXPECT_EQ(ogr_vertices, shp_vertices) << input_of[file] << " -> " << file;
    // Six decimals: half a millionth, relative to the coordinate's size once above 1.
    EXPECT_LE(difference, 5.1e-7) << input_of[file] << " -> " << file;
    ++checked;
  }
  EXPECT_EQ(checked, outputs.size()) << report.substr(0, 2000);
  return checked;
}

TEST(ShapeRealData, EveryPolylineShapefileConvertsInBothReleases) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  EXPECT_GT(convert_and_count({3, 13, 23}, ""), 20u)
      << "fewer polyline files than the test data holds";
}

TEST(ShapeRealData, EveryPolygonShapefileConvertsWithOneOutlinePerRing) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  EXPECT_GT(convert_and_count({5, 15, 25}, "--polygons"), 20u)
      << "fewer polygon files than the test data holds";
}

TEST(ShapeRealData, EveryMultipatchAndPolygonZGivesItsFacesAndOutlines) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  test::ScratchDir d;
  std::string pairs;
  int converted = 0, refused = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kData)) {
    const fs::path& shp = entry.path();
    const int type = shape_type_of(shp);
    if (shp.extension() != ".shp" || (type != 31 && type != 15)) continue;
    for (const char* release : {"12", "14"}) {
      const std::string out = (d / (std::to_string(converted) + ".dxf")).string();
      // Outlines and faces (/C=2).
      const int status = test::exit_status(
          "TESSARYN_HOME=" + quoted((d / "home").string()) + " " + TSN_BINARY + " " +
          quoted(shp.string()) + " " + quoted(out) + " /REL=" + release +
          " /C=2 >/dev/null 2>&1 </dev/null");
      // A file corrupt at its source is refused cleanly.
      ASSERT_TRUE(status == 0 || status == 2) << shp << " exit " << status;
      if (status != 0) {
        ++refused;
        continue;
      }
      ++converted;
      pairs += " " + quoted(shp.string()) + " " + quoted(out);
    }
  }
  EXPECT_LE(refused, 2);  // Volume2.shp in both releases
  ASSERT_GE(converted, 22) << "fewer multipatch and PolygonZ files than the test data holds";
  std::istringstream report(test::capture(
      "/usr/bin/python3 " + quoted(std::string(TSN_SOURCE_DIR) + "/tests/e2e/face_counts.py") +
      pairs + " 2>&1"));
  std::string file;
  long unmatched = 0, faces = 0, want_outlines = 0, outlines = 0, unfilled = 0, errors = 0;
  double difference = 0.0, area_difference = 0.0;
  int checked = 0;
  long all_faces = 0;
  while (report >> file >> unmatched >> faces >> want_outlines >> outlines >> difference >>
         area_difference >> unfilled >> errors) {
    // Strips and fans give their triangles in order, every ring is covered by faces of its
    // own vertices whose area is the ring's, and nothing else is drawn as a face.
    EXPECT_EQ(unmatched, 0) << file;
    EXPECT_LE(difference, 5.1e-7) << file;
    EXPECT_LE(area_difference, 1e-5) << file;
    EXPECT_EQ(unfilled, 0) << file;
    EXPECT_EQ(outlines, want_outlines) << file;
    EXPECT_EQ(errors, 0) << file;
    all_faces += faces;
    ++checked;
  }
  EXPECT_EQ(checked, converted);
  EXPECT_GT(all_faces, 0);
}

}  // namespace
}  // namespace tsn
