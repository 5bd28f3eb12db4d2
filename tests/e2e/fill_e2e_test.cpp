// Filled polygons of every polygon layer of the test data: release 12 triangles cover each
// part exactly (area of the part less its holes, nothing outside it) and release 14 hatches
// read back with the record's rings as paths, their outline links and their pattern lines,
// checked by fill_check.py against the shapefiles read independently.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "input/shapefile_builder.h"
#include "support/scratch_dir.h"
#include "support/shape_type.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::shape_type_of;
using test::quoted;

const fs::path kData = TSN_TESTDATA_DIR;
const std::string kScripts = std::string(TSN_SOURCE_DIR) + "/tests/e2e/";

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

// The checker's summary of one drawing: parts, filled, unfilled, mismatched, outside, invalid,
// audit errors.
using SolidSummary = std::array<long, 7>;

// Runs the release 12 check on the input and drawing pairs; every line that is not a summary
// (a failed part, the script failing) is a test failure.
std::map<std::string, SolidSummary> solid_check(const std::string& pairs) {
  std::istringstream report(
      test::capture("cd " + quoted(kScripts) + " && /usr/bin/python3 fill_check.py solid" +
                    pairs + " 2>&1"));
  std::map<std::string, SolidSummary> out;
  std::string line;
  while (std::getline(report, line)) {
    std::string dxf;
    long v[7] = {};
    if (!read_summary(line, "parts", dxf, v)) {
      ADD_FAILURE() << line;
      continue;
    }
    std::copy(std::begin(v), std::end(v), out[dxf].begin());
  }
  return out;
}

// Every part filled, each exactly, and nothing left uncompared.
void expect_exact(const std::string& dxf, const SolidSummary& v, long parts) {
  EXPECT_EQ(v[0], parts) << dxf << ": parts";
  EXPECT_EQ(v[1], parts) << dxf << ": parts filled";
  EXPECT_EQ(v[2] + v[3] + v[4] + v[5] + v[6], 0)
      << dxf << ": unfilled " << v[2] << ", mismatched " << v[3] << ", outside " << v[4]
      << ", invalid " << v[5] << ", audit errors " << v[6];
}

class FillCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
    if (test::exit_status("/usr/bin/python3 -c 'import shapely' >/dev/null 2>&1") != 0) {
      GTEST_SKIP() << "python3-shapely is not installed";
    }
    // All the digits, so that the triangles' areas can be compared to 1e-9.
    fs::create_directories(d / "home");
    std::ofstream(d / "home" / "tsn25.ini") << "[Tessaryn]\nDecPlaces=16\n";
  }

  // Converts shp to d/out with `args`; the pair for the checker.
  std::string convert(const fs::path& shp, const std::string& out, const std::string& args) {
    const std::string dxf = (d / out).string();
    const std::string command = "TESSARYN_HOME=" + quoted((d / "home").string()) + " " +
                                TSN_BINARY + " " + quoted(shp.string()) + " " + quoted(dxf) +
                                " " + args + " 2>&1 </dev/null";
    const std::string said = test::capture(command);
    EXPECT_EQ(test::exit_status(command + " >/dev/null"), 0) << said;
    return " " + quoted(shp.string()) + " " + quoted(dxf);
  }

  test::ScratchDir d;
};

class FillRealData : public FillCheck {
 protected:
  void SetUp() override {
    if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
    FillCheck::SetUp();
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

  int refused = 0;
};

TEST_F(FillRealData, Release12TrianglesCoverEveryPartExactly) {
  const auto summaries = solid_check(convert_all("/REL=12 /C=2"));
  long parts = 0, invalid = 0;
  const auto files = summaries.size();
  for (const auto& [dxf, v] : summaries) {
    EXPECT_EQ(v[1], v[0]) << dxf << ": parts filled";
    EXPECT_EQ(v[2], 0) << dxf << ": parts without fill";
    EXPECT_EQ(v[3], 0) << dxf << ": parts whose triangles miss their area";
    EXPECT_EQ(v[4], 0) << dxf << ": parts with triangles outside them";
    EXPECT_EQ(v[6], 0) << dxf << ": audit errors";
    parts += v[0];
    invalid += v[5];
  }
  EXPECT_GE(files, 70u);
  EXPECT_LE(refused, 1);  // the time zones file, corrupt at its source
  EXPECT_GT(parts, 7000);
  // Self-crossing rings and holes that cross their ring have no exact fill to compare with.
  std::cout << "filled parts " << parts << ", invalid parts only counted " << invalid << "\n";
  EXPECT_LT(invalid, parts / 20);
}

// Files whose rings run the other way (outer rings counter-clockwise, holes clockwise) or
// overlap by a hair: every ring in no other ring is filled, with the rings wholly inside it cut
// out, exactly.
TEST_F(FillRealData, RingsWoundTheOtherWayOrOverlappingAreFilledExactly) {
  const std::pair<const char*, long> files[] = {
      {"testpoly", 14},                         // 14 records; one has a clockwise hole
      {"multipolygon_as_invalid_polygon", 4},   // two records of two rings side by side
      {"slightly_overlapping_polygons", 3},     // one record of three clockwise rings
  };
  std::string pairs;
  for (const auto& [name, parts] : files) {
    const fs::path shp = kData / "gdal-autotest-shp" / (std::string(name) + ".shp");
    if (!fs::exists(shp)) GTEST_SKIP() << "test data missing: " << shp;
    pairs += convert(shp, std::string(name) + ".dxf", "/REL=12 /C=2");
  }
  const auto summaries = solid_check(pairs);
  ASSERT_EQ(summaries.size(), std::size(files));
  for (const auto& [name, parts] : files) {
    const std::string dxf = (d / (std::string(name) + ".dxf")).string();
    ASSERT_EQ(summaries.count(dxf), 1u) << dxf;
    expect_exact(dxf, summaries.at(dxf), parts);
  }
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

// What a drawing holds: "TYPE colour" per entity of model space, with the pattern name and
// associativity of hatches and the block name of insertions, one per line, counted.
std::string entity_summary(const std::string& dxf) {
  return test::capture(
      "/usr/bin/python3 -c " +
      quoted("import collections, ezdxf, sys\n"
             "d = ezdxf.readfile(sys.argv[1])\n"
             "c = collections.Counter()\n"
             "for e in d.modelspace():\n"
             "    t = e.dxftype()\n"
             "    if t == 'HATCH': t += ' ' + e.dxf.pattern_name + ' %d' % e.dxf.associative\n"
             "    if t == 'INSERT': t += ' ' + e.dxf.name[:3]\n"
             "    c['%s %d' % (t, e.dxf.color)] += 1\n"
             "for k in sorted(c): print(k, c[k])\n") +
      " " + quoted(dxf) + " 2>&1");
}

TEST_F(FillRealData, FillSwitchesTakeEffect) {
  const fs::path countries = kData / "geopandas-ne" / "naturalearth_lowres.shp";
  if (!fs::exists(countries)) GTEST_SKIP() << "test data missing: " << countries;
  // A hatch scale far too fine for a map of the world in degrees (diagonal about 400): ANSI31
  // needs at least 0.002 of the diagonal and is raised to 0.80.
  std::ofstream(d / "home" / "tsn25.ini") << "[Tessaryn]\nHatchScale=0.01\n";
  const auto run = [&](const std::string& name, const std::string& args) {
    const std::string out = (d / name).string();
    const std::string command = "TESSARYN_HOME=" + quoted((d / "home").string()) + " " +
                                TSN_BINARY + " " + quoted(countries.string()) + " " +
                                quoted(out) + " " + args + " 2>&1 </dev/null";
    const std::string said = test::capture(command);
    EXPECT_EQ(test::exit_status(command + " >/dev/null"), 0) << said;
    return std::make_pair(said, entity_summary(out));
  };
  // Fill only, in one fill colour: 287 parts in FIL blocks of colour 3, no outlines.
  const auto [said12, r12] = run("fill12.dxf", "/REL=12 /C=1 /C1=3 /CH=2");
  EXPECT_EQ(r12, "INSERT FIL 3 287\n") << said12;
  EXPECT_EQ(said12.find("Hatch Scale"), std::string::npos) << "release 12 does not hatch";
  // Release 14, outlines and ANSI31 hatches: one associative hatch per country.
  const auto [said14, r14] = run("hatch14.dxf", "/REL=14 /C=2 /C1=3 /CH=2");
  EXPECT_NE(r14.find("HATCH ANSI31 1 3 177\n"), std::string::npos) << r14;
  EXPECT_NE(said14.find("Hatch Scale too small for this file, resetting to 0.8000"),
            std::string::npos)
      << said14;
  // Fill only in release 14: the hatches stand alone.
  const auto [said_alone, alone] = run("alone14.dxf", "/REL=14 /C=1 /CH=0");
  EXPECT_NE(alone.find("HATCH SOLID 0 "), std::string::npos) << alone;
  EXPECT_EQ(alone.find("LWPOLYLINE"), std::string::npos) << alone;
}

// Squares from (x, y) to (x + w, y + h), clockwise or not, closed.
test::Part rectangle(double x, double y, double w, double h, bool clockwise) {
  test::Part p = {{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}, {x, y}};
  if (!clockwise) std::reverse(p.begin(), p.end());
  return p;
}

// A part with 6,000 holes and a record of 10,240 rings (5,120 squares with a hole each): every
// hole is cut out, every part filled.
TEST_F(FillCheck, ManyHolesAndManyRingsAreFilledExactly) {
  std::vector<test::Part> holes = {rectangle(0, 0, 100, 100, true)};
  for (int i = 0; i < 80; ++i) {
    for (int j = 0; j < 75; ++j) {
      holes.push_back(rectangle(1.25 * i + 0.25, 1.25 * j + 0.5, 0.75, 0.5, false));
    }
  }
  std::vector<test::Part> rings;
  for (int i = 0; i < 80; ++i) {
    for (int j = 0; j < 64; ++j) {
      rings.push_back(rectangle(1.25 * i, 1.5 * j, 1.0, 1.25, true));
      rings.push_back(rectangle(1.25 * i + 0.25, 1.5 * j + 0.25, 0.5, 0.5, false));
    }
  }
  const std::string holes_shp = test::write_shapefile(
      d, test::build_shapefile(5, {test::multipart_content(5, holes)}), true, "holes");
  const std::string rings_shp = test::write_shapefile(
      d, test::build_shapefile(5, {test::multipart_content(5, rings)}), true, "rings");
  const auto started = std::chrono::steady_clock::now();
  const std::string pairs = convert(holes_shp, "holes.dxf", "/REL=12 /C=2") +
                            convert(rings_shp, "rings.dxf", "/REL=12 /C=2");
  std::cout << "converted in "
            << std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count()
            << " s\n";
  const auto summaries = solid_check(pairs);
  ASSERT_EQ(summaries.size(), 2u);
  expect_exact("holes.dxf", summaries.at((d / "holes.dxf").string()), 1);
  expect_exact("rings.dxf", summaries.at((d / "rings.dxf").string()), 5120);
}

}  // namespace
}  // namespace tsn
