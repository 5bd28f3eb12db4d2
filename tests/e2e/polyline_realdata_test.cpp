// Every polyline shapefile of the test data converted to DXF release 12 and 14, each drawing
// read back by ezdxf with its audit.
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

namespace tsn {
namespace {

namespace fs = std::filesystem;

const fs::path kData = TSN_TESTDATA_DIR;

std::string capture(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

std::string quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The shape type of a main file's header, or -1.
int shape_type_of(const fs::path& shp) {
  std::ifstream in(shp, std::ios::binary);
  unsigned char h[36] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return -1;
  return h[32] | (h[33] << 8) | (h[34] << 16) | (h[35] << 24);
}

TEST(PolylineRealData, EveryPolylineShapefileConvertsInBothReleases) {
  if (!fs::is_directory(kData)) GTEST_SKIP() << "test data folder missing: " << kData;
  if (!capture("/usr/bin/python3 -c 'import ezdxf' 2>&1").empty()) {
    GTEST_SKIP() << "python3-ezdxf is not installed";
  }
  test::ScratchDir d;
  std::vector<std::string> outputs;
  int converted = 0;
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
      const int raw = std::system(cmd.c_str());
      const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
      // A refused file (corrupt in its source) fails cleanly and leaves no drawing.
      EXPECT_TRUE(status == 0 || status == 2) << shp << " exit " << status;
      if (status != 0) {
        EXPECT_FALSE(fs::exists(out)) << shp;
        continue;
      }
      outputs.push_back(out);
      ++converted;
    }
  }
  ASSERT_GT(converted, 20) << "fewer polyline files than the test data holds";
  // One ezdxf run for all drawings: "errors entities" per file.
  std::string files;
  for (const std::string& f : outputs) files += " " + quoted(f);
  const std::string report = capture(
      "/usr/bin/python3 -c \"import ezdxf,sys\n"
      "for f in sys.argv[1:]:\n"
      "  doc=ezdxf.readfile(f); a=doc.audit()\n"
      "  print(f, len(a.errors), len(doc.modelspace()))\" " +
      files + " 2>&1");
  std::istringstream lines(report);
  std::string file;
  int errors = 0, entities = 0, checked = 0;
  while (lines >> file >> errors >> entities) {
    EXPECT_EQ(errors, 0) << file;
    ++checked;
  }
  EXPECT_EQ(checked, converted) << report.substr(0, 2000);
}

}  // namespace
}  // namespace tsn
