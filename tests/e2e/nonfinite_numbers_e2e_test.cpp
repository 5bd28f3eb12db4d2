// Generated inputs whose numbers are not numbers: NaN and infinite coordinates in shapefile
// records, point tables and a shapefile header box, an elevation that overflows when scaled, and
// huge finite coordinates. The records with a number that is not finite are refused by name and
// counted, every real group of the drawing reads as a finite number (no "nan" or "inf" text),
// and ezdxf reads the drawing, audits it clean and finds every other record at its own
// coordinates, 1e300 included.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "input/dbf_builder.h"
#include "input/shapefile_builder.h"
#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

using test::quoted;
using Point3 = std::array<double, 3>;

constexpr double kNaN = NAN;
constexpr double kInf = INFINITY;

struct Case {
  std::string name;
  std::string input;              // in the scratch folder
  std::string switches;
  std::vector<long> refused;      // record numbers, in order
  std::string what;               // "a coordinate" or "an elevation"
  std::vector<Point3> drawn;      // every POINT and vertex, in order
  std::array<double, 4> extents;  // $EXTMIN, $EXTMAX
  bool box_absent = false;        // the header box is reported as not finite
};

std::vector<Case> write_cases(const test::ScratchDir& d) {
  using test::Part;
  std::vector<Case> cases;
  const auto points = [](const std::vector<std::array<double, 2>>& xy) {
    std::vector<std::string> contents;
    for (const auto& p : xy) contents.push_back(test::point_content(1, p[0], p[1]));
    return test::build_shapefile(1, contents);
  };
  test::write_shapefile(d, points({{1, 2}, {kNaN, 2}, {kInf, 3}, {-kInf, 4}, {1e300, 5},
                                   {-1e300, 6}, {7, 8}}),
                        true, "pts");
  cases.push_back({"shapefile points", "pts.shp", "/REL=14", {2, 3, 4}, "a coordinate",
                   {{1, 2, 0}, {1e300, 5, 0}, {-1e300, 6, 0}, {7, 8, 0}}, {0, 0, 100, 100}});

  const std::vector<Part> lines[] = {{{{0, 0, 0}, {1, 1, 0}}},
                                     {{{0, 0, 0}, {kNaN, 1, 0}}},
                                     {{{1e300, 0, 0}, {1, -1e300, 0}}},
                                     {{{2, 2, 0}, {3, -kInf, 0}}},
                                     {{{kInf, 0, 0}, {0, 0, 0}}, {{5, 5, 0}, {6, 6, 0}}}};
  std::vector<std::string> contents;
  for (const auto& parts : lines) contents.push_back(test::multipart_content(3, parts));
  test::write_shapefile(d, test::build_shapefile(3, contents), true, "lines");
  cases.push_back({"polyline vertices, release 12", "lines.shp", "/REL=12", {2, 4, 5},
                   "a coordinate", {{0, 0, 0}, {1, 1, 0}, {1e300, 0, 0}, {1, -1e300, 0}},
                   {0, 0, 100, 100}});

  // A record box of NaN: the record is drawn, its attribute block based at its points' corner.
  contents = {test::multipart_content(3, {{{5, 5, 0}, {6, 6, 0}}})};
  test::ShapefileBytes nan_box = test::build_shapefile(3, contents);
  for (int i = 0; i < 4; ++i) store_le_f64(test::at(nan_box.shp, 112 + 8 * i), kNaN);
  test::write_shapefile(d, nan_box, true, "recbox");
  test::write_file(d / "recbox.dbf",
                   test::DbfBuilder().field("NAME", 'C', 4).record({"a"}).bytes());
  cases.push_back({"record box of NaN, attribute block", "recbox.shp", "/REL=12 /AB=0", {}, "",
                   {{5, 5, 0}}, {0, 0, 100, 100}});

  contents = {test::multipart_content(13, {{{0, 0, 1}, {1, 1, kNaN}}}),
              test::multipart_content(13, {{{0, 0, 1e300}, {1, 1, -2}}})};
  test::write_shapefile(d, test::build_shapefile(13, contents), true, "zlines");
  cases.push_back({"3D polyline with a NaN Z", "zlines.shp", "/REL=14", {1}, "a coordinate",
                   {{0, 0, 1e300}, {1, 1, -2}}, {0, 0, 100, 100}});

  test::ShapefileBytes box = points({{1, 2}, {3, 4}});
  box.set_header_double(test::kXmin, kNaN);
  box.set_header_double(test::kXmin + 16, kInf);
  test::write_shapefile(d, box, true, "box");
  cases.push_back({"header box with NaN and infinity", "box.shp", "/REL=14", {}, "",
                   {{1, 2, 0}, {3, 4, 0}}, {0, 0, 0, 0}, true});

  test::write_file(d / "table.csv",
                   "name,x,y\na,1,2\nb,nan,3\nc,inf,4\nd,1e300,5\ne,-inf,6\nf,7,-1e300\n");
  // Labels take their height from the extent, 1e300 across.
  cases.push_back({"comma-delimited points with labels", "table.csv",
                   "/REL=14 /DX=1 /DY=2 /T=0", {2, 3, 5}, "a coordinate",
                   {{1, 2, 0}, {1e300, 5, 0}, {7, -1e300, 0}}, {1, -1e300, 1e300, 5}});

  test::write_shapefile(d, points({{1, 2}, {3, 4}, {5, 6}}), true, "elev");
  test::DbfBuilder elevations;
  elevations.field("ELEV", 'N', 24).record({"1"}).record({"1e308"}).record({"2"});
  test::write_file(d / "elev.dbf", elevations.bytes());
  cases.push_back({"elevation 1e308 times /ES=1e10", "elev.shp", "/REL=14 /E=0 /ES=1e10", {2},
                   "an elevation", {{1, 2, 1e10}, {5, 6, 2e10}}, {0, 0, 100, 100}});
  return cases;
}

TEST(NonFiniteNumbersE2E, RecordsWithNumbersThatAreNotFiniteAreRefusedTheRestDrawnExactly) {
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  test::ScratchDir d;
  for (const Case& c : write_cases(d)) {
    SCOPED_TRACE(c.name);
    const std::string input = (d / c.input).string();
    const std::string out = (d / "out.dxf").string();
    const std::string log = (d / "log.txt").string();
    const int status =
        test::exit_status("TESSARYN_HOME=" + quoted((d / "home").string()) + " " + TSN_BINARY +
                          " " + quoted(input) + " " + quoted(out) + " " + c.switches + " >" +
                          quoted(log) + " 2>&1 </dev/null");
    const std::string text = test::read_file(log);
    ASSERT_EQ(status, 0) << text;
    // Each refusal by name, nothing else refused, the count, and no computed value lost.
    std::string expected;
    for (const long r : c.refused) {
      expected += "Record " + std::to_string(r) + " of " + input + " has " + c.what +
                  " that is not a finite number: not drawn\n";
    }
    std::string said;
    for (std::size_t at = 0; (at = text.find("Record ", at)) != std::string::npos; ++at) {
      if (at > 0 && text[at - 1] == '\n') said += text.substr(at, text.find('\n', at) - at + 1);
    }
    EXPECT_EQ(said, expected) << text;
    const std::string count = "Records with a number that is not finite, not drawn = " +
                              std::to_string(c.refused.size()) + "\n";
    EXPECT_EQ(text.find(count) != std::string::npos, !c.refused.empty()) << text;
    EXPECT_EQ(text.find("The bounding box in the header of " + input + " is not a finite") !=
                  std::string::npos,
              c.box_absent)
        << text;
    EXPECT_EQ(text.find("written as 0"), std::string::npos) << text;

    std::istringstream read(test::capture(
        "/usr/bin/python3 " + quoted(std::string(TSN_SOURCE_DIR) + "/tests/e2e/entity_points.py") +
        " " + quoted(out) + " 2>&1"));
    std::string word;
    long bad = -1, audit = -1;
    std::array<double, 4> extents{};
    read >> word >> bad >> word >> audit >> word >> extents[0] >> extents[1] >> extents[2] >>
        extents[3];
    std::vector<Point3> drawn;
    for (Point3 p; read >> p[0] >> p[1] >> p[2];) drawn.push_back(p);
    EXPECT_EQ(bad, 0) << read.str();
    EXPECT_EQ(audit, 0) << read.str();
    EXPECT_EQ(extents, c.extents) << read.str();
    EXPECT_EQ(drawn, c.drawn) << read.str();
  }
}

}  // namespace
}  // namespace tsn
