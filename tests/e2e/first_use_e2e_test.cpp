// Real layers as a new user converts them: a table beside the shapefile with its extension in
// upper case, 3D shapes whose records go into attribute blocks, and what the console says.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::quoted;

const fs::path kData = TSN_TESTDATA_DIR;

struct Outcome {
  int status = -1;
  std::string out;  // standard output and errors together
};

Outcome convert(const test::ScratchDir& d, const fs::path& input, const fs::path& output,
            const std::string& switches) {
  const std::string cmd = "TESSARYN_HOME=" + quoted((d / "home").string()) + " " + TSN_BINARY +
                          " " + quoted(input.string()) + " " + quoted(output.string()) + " " +
                          switches + " 2>&1 </dev/null";
  Outcome r;
  r.out = test::capture(cmd + "; echo \"exit $?\"");
  const std::size_t at = r.out.rfind("exit ");
  if (at != std::string::npos) r.status = std::stoi(r.out.substr(at + 5));
  return r;
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

TEST(RealDataFaults, UpperCaseTableBesideTheShapefileIsFoundAndNamed) {
  const fs::path shp = kData / "shapefile-js" / "mixedcase-senate" / "senate.shp";
  if (!fs::exists(shp)) GTEST_SKIP() << "test data not found: " << shp;
  test::ScratchDir d;
  const Outcome r = convert(d, shp, d / "senate.dxf", "/T=0 /LF=0 /LC=2");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.find("Could not open dBASE table file"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("index senate.shx, table senate.DBF"), std::string::npos) << r.out;
  // One label per record from the table's first field.
  const std::string dxf = test::read_file(d / "senate.dxf");
  const std::string records = r.out.substr(r.out.find("Polygon, ") + 9);
  const long n = std::stol(records);
  EXPECT_GT(n, 0);
  EXPECT_EQ(static_cast<long>(count(dxf, "0\r\nTEXT\r\n")), n);
}

TEST(RealDataFaults, AttributeBlocksKeepEveryVertexOfA3DShapeWhereItWas) {
  if (!test::have_ezdxf()) GTEST_SKIP() << "ezdxf not installed";
  const std::string checker = std::string(TSN_SOURCE_DIR) + "/tests/e2e/world_vertices.py";
  for (const char* name : {"brklinz", "mpatch3"}) {
    const fs::path shp = kData / "shapelib-eg" / (std::string(name) + ".shp");
    if (!fs::exists(shp)) GTEST_SKIP() << "test data not found: " << shp;
    for (const char* release : {"12", "14"}) {
      SCOPED_TRACE(std::string(name) + " release " + release);
      test::ScratchDir d;
      const std::string rel = std::string("/REL=") + release;
      ASSERT_EQ(convert(d, shp, d / "plain.dxf", rel).status, 0);
      const Outcome blocks = convert(d, shp, d / "blocks.dxf", rel + " /AB=-1");
      ASSERT_EQ(blocks.status, 0) << blocks.out;
      const std::string dxf = test::read_file(d / "blocks.dxf");
      ASSERT_GT(count(dxf, "\r\nATTRIB\r\n"), 0u);
      const std::string report = test::capture(
          "/usr/bin/python3 " + quoted(checker) + " " + quoted((d / "plain.dxf").string()) +
          " " + quoted((d / "blocks.dxf").string()) + " 2>&1");
      std::istringstream in(report);
      std::string word, worst_word;
      long plain = 0, in_blocks = 0;
      double worst = 1.0;
      in >> word >> plain >> in_blocks >> worst_word >> worst;
      ASSERT_EQ(word, "vertices") << report;
      EXPECT_GT(plain, 0);
      EXPECT_EQ(in_blocks, plain);
      // The same decimals either way; only the base point's subtraction may round.
      EXPECT_LE(worst, 1e-12) << report;
    }
  }
}

TEST(RealDataFaults, ConsoleSaysCtrlCOnceEachErrorCaptionAndPlainExtents) {
  const fs::path shp = kData / "nybb" / "nybb.shp";
  if (!fs::exists(shp)) GTEST_SKIP() << "test data not found: " << shp;
  test::ScratchDir d;
  const Outcome r = convert(d, shp, d / "nybb.dxf", "");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("(Ctrl-C to stop)"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("right mouse"), std::string::npos);
  // The fields with the numbers that /LF, /CF and /T take.
  EXPECT_NE(r.out.find("\n  fields 0 BoroCode (N), 1 BoroName (C),"), std::string::npos) << r.out;
  // Feet of the New York state plane: a million and more, in plain decimals.
  const std::regex extent(R"(\n  extent \d{6,7}(\.\d+)?, \d{5,6}(\.\d+)? to \d{7}(\.\d+)?, )"
                          R"(\d{6}(\.\d+)?\n)");
  EXPECT_TRUE(std::regex_search(r.out, extent)) << r.out;

  const Outcome missing = convert(d, d / "none.shp", d / "none.dxf", "");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out.find("Error: Error:"), std::string::npos) << missing.out;
  EXPECT_NE(missing.out.find("Error: Could not open file"), std::string::npos) << missing.out;
}

}  // namespace
}  // namespace tsn
