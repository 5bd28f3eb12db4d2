// Whole conversions of the example polylines to DXF release 12 and 14, read back by ezdxf
// (with its audit) and GDAL.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::ScratchDir;

// Copies the example shapefile into the scratch folder; its path.
std::string example_rivers(const ScratchDir& d) {
  for (const char* ext : {"shp", "shx", "dbf"}) {
    fs::copy_file(fs::path(TSN_SOURCE_DIR) / "examples" / (std::string("rivers.") + ext),
                  d / (std::string("rivers.") + ext));
  }
  return (d / "rivers.shp").string();
}

int convert(const ScratchDir& d, const std::string& args) {
  return test::exit_status("TESSARYN_HOME='" + (d / "home").string() + "' " + TSN_BINARY + " " +
                           args + " >/dev/null 2>&1 </dev/null");
}

// "version errors entities types vertices" as ezdxf sees the file.
std::string ezdxf_summary(const std::string& file) {
  return test::capture("/usr/bin/python3 -c \"import ezdxf,sys\n"
                 "d=ezdxf.readfile(sys.argv[1]); a=d.audit(); m=d.modelspace()\n"
                 "n=sum(len(e) if e.dxftype()=='LWPOLYLINE' else len(list(e.vertices)) for e in m)\n"
                 "print(len(a.errors), len(m), ','.join(sorted({e.dxftype() for e in m})), n,"
                 " ','.join(sorted({e.dxf.layer for e in m})))\" '" +
                 file + "' 2>&1");
}

TEST(Conversion, ExamplePolylinesInRelease12And14) {
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  ScratchDir d;
  const std::string input = example_rivers(d);
  ASSERT_EQ(convert(d, "'" + input + "'"), 0);
  const std::string r12 = (d / "rivers.dxf").string();
  // 14 records, 1149 vertices in the example; no audit errors.
  EXPECT_EQ(ezdxf_summary(r12), "0 14 POLYLINE 1149 RIVERS\n");
  EXPECT_EQ(read_file(r12).rfind("  0\r\nEOF\r\n"), read_file(r12).size() - 10);

  ASSERT_EQ(convert(d, "'" + input + "' '" + (d / "r14.dxf").string() + "' /L=RIVERS /REL=14"), 0);
  EXPECT_EQ(ezdxf_summary((d / "r14.dxf").string()), "0 14 LWPOLYLINE 1149 RIVERS\n");
  const std::string ogr =
      test::capture("ogrinfo -ro -so -al '" + (d / "r14.dxf").string() + "' 2>&1");
  if (ogr.find("Feature Count") != std::string::npos) {
    EXPECT_NE(ogr.find("Feature Count: 14"), std::string::npos) << ogr;
  }
  // Nothing but the drawings is left beside the input.
  for (const auto& entry : fs::directory_iterator(d.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.rfind("rivers.", 0) == 0 || name == "r14.dxf" || name == "home") << name;
  }
}

TEST(Conversion, AFailedConversionLeavesAnEarlierOutputUntouched) {
  ScratchDir d;
  const std::string input = example_rivers(d);
  test::write_file(d / "rivers.dxf", "earlier drawing");
  // The first record and its index entry claim a content beyond the end of the main file: the
  // walk stops with an error (a damaged index alone no longer does: the main file is then walked
  // without it).
  std::string shp = read_file(d / "rivers.shp");
  std::string shx = read_file(d / "rivers.shx");
  shp[104] = shx[104] = '\x7f';
  test::write_file(d / "rivers.shp", shp);
  test::write_file(d / "rivers.shx", shx);
  EXPECT_EQ(convert(d, "'" + input + "'"), 2);
  EXPECT_EQ(read_file(d / "rivers.dxf"), "earlier drawing");
}

}  // namespace
}  // namespace tsn
