// The converter tried as a new user would: a shapefile named on its own, an output name with a
// layer and a release, a command file, and Ctrl-C in the middle of a large conversion.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "generated_input.h"
#include "input/dbf_builder.h"
#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::ScratchDir;
using test::write_file;

// Copies the example rivers into `dir` as roads.*.
void copy_roads(const fs::path& dir) {
  for (const char* ext : {".shp", ".shx", ".dbf"}) {
    fs::copy_file(fs::path(TSN_SOURCE_DIR) / "examples" / (std::string("rivers") + ext),
                  dir / (std::string("roads") + ext));
  }
}

// Runs a shell command line in `dir` with the program directory inside it; the exit status.
int run_in(const fs::path& dir, const std::string& args, const std::string& log = "log.txt") {
  return test::exit_status("cd " + test::quoted(dir.string()) +
                           " && TESSARYN_HOME=" + test::quoted((dir / "home").string()) + " " +
                           TSN_BINARY + " " + args + " >" + log + " 2>&1 </dev/null");
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(NewUser, ConvertsByNameWithLayerAndReleaseAndFromACommandFile) {
  ScratchDir d;
  copy_roads(d.path());
  ASSERT_EQ(run_in(d.path(), "roads.shp"), 0) << read_file(d / "log.txt");
  const std::string r12 = read_file(d / "roads.dxf");
  EXPECT_EQ(r12.substr(0, 32), "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n");
  EXPECT_EQ(count(r12, "\r\nPOLYLINE\r\n"), 14);
  EXPECT_EQ(count(r12, "\r\n8\r\nROADS\r\n"), 14 + 1149);  // polylines and vertices

  ASSERT_EQ(run_in(d.path(), "roads.shp out.dxf /L=ROADS /REL=14"), 0) << read_file(d / "log.txt");
  const std::string r14 = read_file(d / "out.dxf");
  EXPECT_NE(r14.find("$ACADVER\r\n  1\r\nAC1014\r\n"), std::string::npos);
  EXPECT_EQ(count(r14, "\r\nLWPOLYLINE\r\n"), 14);
  EXPECT_EQ(count(r14, "\r\n8\r\nROADS\r\n"), 14);

  write_file(d / "cmds.txt",
             "; the roads twice\r\n"
             "roads.shp first.dxf \\\n"
             "   /L=FIRST\n"
             "; a comment between commands\n"
             "roads.shp second.dxf /REL=14 \\\n"
             "/L=SECOND\n");
  ASSERT_EQ(run_in(d.path(), "@cmds.txt", "batch.txt"), 0) << read_file(d / "batch.txt");
  EXPECT_EQ(count(read_file(d / "first.dxf"), "\r\n8\r\nFIRST\r\n"), 14 + 1149);
  EXPECT_EQ(count(read_file(d / "second.dxf"), "\r\n8\r\nSECOND\r\n"), 14);
  EXPECT_NE(read_file(d / "batch.txt").find("Translated 2 source files to 2 output files"),
            std::string::npos)
      << read_file(d / "batch.txt");
}

TEST(NewUser, FieldNumbersAndStylesFromTheCommandLineReachTheDrawing) {
  ScratchDir d;
  for (const char* ext : {".shp", ".shx", ".dbf"}) {
    fs::copy_file(fs::path(TSN_SOURCE_DIR) / "tests" / "golden" / (std::string("lines") + ext),
                  d / (std::string("lines") + ext));
  }
  // Field 1 (LEN: 12.5, 3 and 0) as elevation, scaled by 2; labels asking for a style.
  ASSERT_EQ(run_in(d.path(), "lines.shp /REL=14 /E=1 /ES=2 /T=0 /TS=ROMANS /TF=romans.shx"), 0)
      << read_file(d / "log.txt");
  const std::string r14 = read_file(d / "lines.dxf");
  EXPECT_EQ(count(r14, "\r\n 38\r\n25.0\r\n"), 1);
  EXPECT_EQ(count(r14, "\r\n 38\r\n6.0\r\n"), 2);  // both parts of the second record
  EXPECT_EQ(count(r14, "\r\n 38\r\n0.0\r\n"), 1);
  EXPECT_NE(r14.find("\r\n2\r\nROMANS\r\n"), std::string::npos);
  EXPECT_NE(r14.find("\r\n3\r\nromans.shx\r\n"), std::string::npos);
  EXPECT_NE(r14.find("\r\n2\r\nSTANDARD\r\n"), std::string::npos);
}

TEST(NewUser, ACsvOfCitiesBecomesPointsOrCircleMarkers) {
  ScratchDir d;
  write_file(d / "cities.csv",
             "NAME,LATITUDE,LONGITUDE\r\n"
             "Lisbon,38.7223,-9.1393\r\n"
             "Oslo,59.9139,10.7522\r\n"
             "Nowhere,12.5,\r\n");
  ASSERT_EQ(run_in(d.path(), "cities.csv"), 0) << read_file(d / "log.txt");
  const std::string points = read_file(d / "cities.dxf");
  EXPECT_EQ(count(points, "\r\nPOINT\r\n"), 2);
  // X from LONGITUDE, Y from LATITUDE; a row with an empty coordinate is left out and counted.
  EXPECT_NE(points.find("\r\n 10\r\n-9.1393\r\n 20\r\n38.7223\r\n"), std::string::npos);
  EXPECT_NE(points.find("\r\n 10\r\n10.7522\r\n 20\r\n59.9139\r\n"), std::string::npos);
  EXPECT_EQ(points.find("\r\n 10\r\n0.0\r\n 20\r\n12.5\r\n"), std::string::npos);
  EXPECT_NE(read_file(d / "log.txt").find("1 records without coordinates were skipped"),
            std::string::npos);

  ASSERT_EQ(run_in(d.path(), "cities.csv circles.dxf /P=2"), 0) << read_file(d / "log.txt");
  const std::string circles = read_file(d / "circles.dxf");
  EXPECT_EQ(count(circles, "\r\nINSERT\r\n"), 2);
  EXPECT_EQ(count(circles, "\r\n2\r\nCIRCPT\r\n"), 2 + 1);  // the inserts and the block
  EXPECT_EQ(count(circles, "\r\nCIRCLE\r\n"), 1);
  EXPECT_EQ(count(circles, "\r\nPOINT\r\n"), 0);
}

TEST(NewUser, ADbaseTableOfPointsWithElevationFromItsField) {
  ScratchDir d;
  write_file(d / "wells.dbf", test::DbfBuilder()
                                  .field("NAME", 'C', 8)
                                  .field("X_COORD", 'N', 10, 2)
                                  .field("Y_COORD", 'N', 10, 2)
                                  .field("DEPTH", 'N', 6, 1)
                                  .record({"W1", "1000.25", "2000.50", "12.5"})
                                  .record({"W2", "", "2100.00", "7"})
                                  .bytes());
  ASSERT_EQ(run_in(d.path(), "wells.dbf /REL=14 /E=3"), 0) << read_file(d / "log.txt");
  const std::string r14 = read_file(d / "wells.dxf");
  EXPECT_EQ(count(r14, "\r\nPOINT\r\n"), 1);
  EXPECT_NE(r14.find(" 10\r\n1000.25\r\n 20\r\n2000.5\r\n 30\r\n12.5\r\n"),
            std::string::npos);
  // A record with an empty X field is not drawn at 0: it is left out and counted.
  EXPECT_EQ(r14.find(" 20\r\n2100.0\r\n"), std::string::npos);
  EXPECT_NE(read_file(d / "log.txt").find("1 records without coordinates were skipped"),
            std::string::npos);
}

TEST(NewUser, ACsvOfPolygonVerticesBecomesClosedOutlines) {
  ScratchDir d;
  std::filesystem::create_directories(d / "home");
  write_file(d / "home" / "tsn25.ini", "[Tessaryn]\r\nPointsArePolys=1\r\n");
  write_file(d / "parcels.csv",
             "x,y,id\n"
             "0,0,A\n0,10,A\n10,10,A\n10,0,A\n0,0,A\n"
             "20,0,B\n25,5,B\n30,0,B\n20,0,B\n");
  ASSERT_EQ(run_in(d.path(), "parcels.csv /REL=14"), 0) << read_file(d / "log.txt");
  const std::string r14 = read_file(d / "parcels.dxf");
  EXPECT_EQ(count(r14, "\r\nLWPOLYLINE\r\n"), 2);
  EXPECT_EQ(count(r14, "\r\n90\r\n4\r\n70\r\n1\r\n"), 1);  // the square, closed
  EXPECT_EQ(count(r14, "\r\n90\r\n3\r\n70\r\n1\r\n"), 1);  // the triangle
}

TEST(NewUser, CtrlCLeavesTheEarlierOutputAndNoTemporaryFiles) {
  ScratchDir d;
  // Large enough to take a good part of a second.
  ASSERT_TRUE(test::write_polyline_file(d, 400000, "big"));
  fs::create_directories(d / "tmp");
  const std::string earlier = "an earlier drawing\r\n";
  write_file(d / "big.dxf", earlier);
  const std::string log = (d / "log.txt").string();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("TESSARYN_HOME", (d / "home").c_str(), 1);
    ::setenv("TMPDIR", (d / "tmp").c_str(), 1);
    if (std::freopen(log.c_str(), "w", stdout) == nullptr) ::_exit(126);
    if (std::freopen(log.c_str(), "a", stderr) == nullptr) ::_exit(126);
    const std::string input = (d / "big.shp").string();
    ::execl(TSN_BINARY, TSN_BINARY, input.c_str(), "/REL=14", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(pid, 0);
  // Interrupt once the conversion has made its private working directory: by then Ctrl-C
  // belongs to the program, however slowly a loaded machine started it.
  int status = 0;
  bool ended = false;
  for (int waited = 0; waited < 20000; waited += 5) {
    if (!fs::is_empty(d / "tmp")) break;
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      ended = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!ended) {
    ::kill(pid, SIGINT);
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  }
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 0) GTEST_SKIP() << "the conversion ended before the interrupt";
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGINT) << read_file(log);
  EXPECT_NE(read_file(log).find("Process aborted due to user cancellation."), std::string::npos)
      << read_file(log);
  EXPECT_EQ(read_file(d / "big.dxf"), earlier);
  // Nothing else is left: no temporary drawing beside the output, no private directory.
  for (const auto& entry : fs::directory_iterator(d.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.rfind("big.", 0) == 0 || name == "home" || name == "tmp" || name == "log.txt")
        << name;
  }
  EXPECT_TRUE(fs::is_empty(d / "tmp"));
}

}  // namespace
}  // namespace tsn
