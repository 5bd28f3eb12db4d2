// Merge groups of command files: the inputs between /G and /O path end up in one drawing that
// holds what their own drawings hold together, read back by readers written by others; the
// control lines' faults, a failed member and a cancelled group write nothing and leave no
// working file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/child_process.h"
#include "e2e/generated_input.h"
#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::quoted;
using test::read_file;

const fs::path kData = TSN_TESTDATA_DIR;
const fs::path kChecker = fs::path(TSN_TESTDATA_DIR).parent_path() / "tools/cadcheck/cadcheck";
const std::string kScripts = std::string(TSN_SOURCE_DIR) + "/tests/e2e/";

bool skip() { return !fs::is_directory(kData) || !test::have_ezdxf(); }

struct RunResult {
  int status = -1;
  std::string log;
};

// The program in a program directory of its own (settings carry block counters from run to
// run), its arguments as given, its standard output and errors kept.
RunResult run(const test::ScratchDir& d, const std::string& arguments, const std::string& settings) {
  static int homes = 0;
  const fs::path home = d / ("home" + std::to_string(++homes));
  fs::create_directories(home);
  std::ofstream(home / "tsn25.ini") << "[Tessaryn]\nDecPlaces=16\n" << settings;
  const fs::path log = home / "log";
  RunResult r;
  r.status = test::exit_status("cd " + quoted(d.path().string()) + " && TESSARYN_HOME=" +
                               quoted(home.string()) + " " + TSN_BINARY + " " + arguments +
                               " >" + quoted(log.string()) + " 2>&1 </dev/null");
  r.log = read_file(log);
  return r;
}

RunResult run_commands(const test::ScratchDir& d, const std::string& name, const std::string& lines,
                 const std::string& settings = "") {
  test::write_file(d / name, lines);
  return run(d, "@" + quoted((d / name).string()), settings);
}

std::string python(const std::string& script, const std::vector<fs::path>& args) {
  std::string command = "/usr/bin/python3 " + quoted(kScripts + script);
  for (const fs::path& a : args) command += " " + quoted(a.string());
  return test::capture(command + " 2>&1");
}

struct Member {
  fs::path input;
  std::string switches;
  // The command that converts the input, into `output` when given; in double quotes, which
  // both the shell and a command file take.
  std::string command(const fs::path& output = {}) const {
    const auto q = [](const fs::path& p) { return '"' + p.string() + '"'; };
    return q(input) + (output.empty() ? "" : " " + q(output)) + " " + switches;
  }
};

// Polygons with labels, lines on layers by a key field, points with block attributes.
const std::vector<Member> kMembers = {
    {kData / "shapelib-eg/mexico/states.shp", "/T=2"},
    {kData / "shapelib-eg/mexico/rivers.shp", "/LF=1"},
    {kData / "geopandas-ne/naturalearth_cities.shp", "/AB=-1"},
};

std::string group_lines(const std::vector<Member>& members, const std::string& output) {
  std::string lines = "/G\n";
  for (const Member& m : members) lines += m.command() + "\n";
  return lines + "/O " + output + "\n";
}

TEST(MergeGroup, ThreeInputsGiveOneDrawingHoldingWhatTheirOwnDrawingsHold) {
  if (skip()) GTEST_SKIP() << "test data or python3-ezdxf missing";
  test::ScratchDir d;
  // Release 12 is compared in 3D: the DWG reader gives the elevation of each entity.
  const struct {
    std::string release, settings;
  } releases[] = {{"2000", "verDXF=7\n"}, {"14", "verDXF=6\n"}, {"12", "verDXF=4\n2D=0\n"}};
  std::vector<fs::path> pairs;
  for (const auto& r : releases) {
    SCOPED_TRACE("release " + r.release);
    std::vector<fs::path> compared{d / (r.release + "-group.dxf")};
    for (std::size_t i = 0; i < kMembers.size(); ++i) {
      const fs::path single = d / (r.release + "-single" + std::to_string(i) + ".dxf");
      const RunResult one = run(d, kMembers[i].command(single), r.settings);
      ASSERT_EQ(one.status, 0) << one.log;
      compared.push_back(single);
    }
    for (const char* ext : {"dxf", "dwg"}) {
      const fs::path out = d / (r.release + "-group." + ext);
      const RunResult group = run_commands(d, r.release + ext + ".txt",
                                     group_lines(kMembers, "\"" + out.string() + "\""), r.settings);
      ASSERT_EQ(group.status, 0) << group.log;
      EXPECT_NE(group.log.find("Translated 3 source files to 1 output files."), std::string::npos)
          << group.log;
      ASSERT_TRUE(fs::exists(out));
    }
    std::vector<fs::path> sum_args{"--sum", "--tables"};
    sum_args.insert(sum_args.end(), compared.begin(), compared.end());
    const std::string verdict = python("drawing_compare.py", sum_args);
    EXPECT_NE(verdict.find("sum same"), std::string::npos) << verdict;
    pairs.push_back(d / (r.release + "-group.dxf"));
    pairs.push_back(d / (r.release + "-group.dwg"));
  }
  if (!fs::exists(kChecker)) GTEST_SKIP() << "the shared checker is missing";
  std::vector<fs::path> check_args{kChecker};
  check_args.insert(check_args.end(), pairs.begin(), pairs.end());
  const std::string checked = python("dwg_check.py", check_args);
  for (const char* release : {"2000", "14", "12"}) {
    const std::string dwg = (d / (std::string(release) + "-group.dwg")).string();
    EXPECT_TRUE(checked.find(dwg + " ok") != std::string::npos ||
                checked.find(dwg + " unchecked") != std::string::npos)
        << checked;
  }
}

TEST(MergeGroup, TwoGroupsAndACommandBetweenThemGiveThreeDrawings) {
  if (skip()) GTEST_SKIP() << "test data or python3-ezdxf missing";
  test::ScratchDir d;
  const RunResult batch = run_commands(
      d, "cmds.txt",
      group_lines({kMembers[0], kMembers[1]}, "first.dxf") + kMembers[2].command("alone.dxf") +
          "\n" + group_lines({kMembers[1], kMembers[2]}, "second.dwg"));
  ASSERT_EQ(batch.status, 0) << batch.log;
  EXPECT_NE(batch.log.find("Translated 5 source files to 3 output files."), std::string::npos)
      << batch.log;
  // Each group holds its own members only; the command between them is a drawing of its own.
  std::vector<fs::path> singles;
  for (std::size_t i = 0; i < kMembers.size(); ++i) {
    const fs::path single = d / ("single" + std::to_string(i) + ".dxf");
    ASSERT_EQ(run(d, kMembers[i].command(single), "").status, 0);
    singles.push_back(single);
  }
  ASSERT_TRUE(fs::exists(d / "second.dwg"));
  const RunResult second_dxf =
      run_commands(d, "second.txt", group_lines({kMembers[1], kMembers[2]}, "second.dxf"));
  ASSERT_EQ(second_dxf.status, 0) << second_dxf.log;
  const std::string first =
      python("drawing_compare.py", {"--sum", d / "first.dxf", singles[0], singles[1]});
  EXPECT_NE(first.find("sum same"), std::string::npos) << first;
  const std::string second =
      python("drawing_compare.py", {"--sum", d / "second.dxf", singles[1], singles[2]});
  EXPECT_NE(second.find("sum same"), std::string::npos) << second;
  const std::string alone = python("drawing_compare.py", {d / "alone.dxf", singles[2]});
  EXPECT_NE(alone.find(" same"), std::string::npos) << alone;
}

TEST(MergeGroup, FaultsStopTheBatchWithTheirMessageAndWriteNothing) {
  test::ScratchDir d;
  ASSERT_TRUE(test::write_polyline_file(d, 50, "lines"));
  const std::string earlier = "an earlier drawing\r\n";
  const struct {
    std::string name, lines, defaults, message;
    bool abandoned;  // the group's drawing given up before its /O line
  } cases[] = {
      {"twice", "/G\nlines.shp\n/G\nlines.shp\n/O out.dwg\n", "",
       "/G switch already encountered.", true},
      {"unopened", "/O out.dwg\n", "", "/O switch encountered without /G switch", false},
      {"defaults", "/G\nlines.shp\n/O out.dwg\n", "/G\n",
       "/G or /O switch present in tsnbatch.ini", true},
      {"missing", "/G\nlines.shp\nmissing.shp\nlines.shp\n/O out.dwg\n", "",
       "Error: Could not open file missing.shp", true},
      {"unclosed", "/G\nlines.shp\nlines.shp\n", "",
       "nothing was written for its 2 source files", false},
      {"over input", "/G\nlines.shp\n/O lines.shx\n", "", "belongs to the input", false},
      {"empty", "/G\n/O out.dwg\n", "", "holds no input", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::write_file(d / "out.dwg", earlier);
    const std::string index = read_file(d / "lines.shx");
    const fs::path home = d / ("home-" + c.name);
    fs::create_directories(home);
    test::write_file(home / "tsnbatch.ini", c.defaults);
    test::write_file(d / "cmds.txt", c.lines);
    const std::string log = test::capture("cd " + quoted(d.path().string()) + " && TESSARYN_HOME=" +
                                          quoted(home.string()) + " " + TSN_BINARY +
                                          " @cmds.txt 2>&1 </dev/null; echo status=$?");
    EXPECT_NE(log.find(c.message), std::string::npos) << log;
    EXPECT_NE(log.find("status=2"), std::string::npos) << log;
    EXPECT_EQ(log.find("The merge group was abandoned") != std::string::npos, c.abandoned) << log;
    EXPECT_EQ(read_file(d / "out.dwg"), earlier);
    EXPECT_EQ(read_file(d / "lines.shx"), index);
    for (const auto& e : fs::directory_iterator(d.path())) {
      const std::string file = e.path().filename().string();
      EXPECT_TRUE(file == "lines.shp" || file == "lines.shx" || file.starts_with("home") ||
                  file == "cmds.txt" || file == "out.dwg")
          << "written: " << file;
    }
  }
}

TEST(MergeGroup, ACtrlCDuringTheGroupLeavesNoOutputAndNoWorkingFile) {
  test::ScratchDir d;
  // Large enough that the group is still converting when it is signalled.
  ASSERT_TRUE(test::write_polyline_file(d, 400000, "big"));
  test::write_file(d / "out.dwg", "an earlier drawing\r\n");
  test::write_file(d / "cmds.txt", "/G\nbig.shp\nbig.shp\nbig.shp\n/O out.dwg\n");
  test::ChildRun run{{"@cmds.txt"}, d.path(), d / "log"};
  run.tmp = d / "tmp";
  fs::create_directory(run.tmp);
  const pid_t pid = run.start();
  // Signalled once the group's drawing has made its private directory.
  for (int waited = 0; waited < 20000 && fs::is_empty(run.tmp); waited += 5) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(pid, SIGINT);
  const int status = test::ChildRun::wait_child(pid);
  if (status == 0) GTEST_SKIP() << "the group ended before the signal";
  const std::string text = read_file(run.log);
  EXPECT_EQ(status, 128 + SIGINT) << text;
  EXPECT_NE(text.find("The merge group was abandoned"), std::string::npos) << text;
  EXPECT_EQ(read_file(d / "out.dwg"), "an earlier drawing\r\n");
  EXPECT_TRUE(fs::is_empty(run.tmp));
  for (const auto& e : fs::directory_iterator(d.path())) {
    EXPECT_FALSE(e.path().string().ends_with("~")) << "a working file left: " << e.path();
  }
}

}  // namespace
}  // namespace tsn
