// The tessaryn executable as a user meets it: help, first start, command-line faults and
// exit statuses, log and trace files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "input/shapefile_builder.h"
#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

using test::quoted;
using test::read_file;
using test::ScratchDir;
using test::write_file;
using test::build_shapefile;
using test::write_shapefile;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the executable with the program directory `home` and the arguments.
RunResult run(const ScratchDir& home, const std::vector<std::string>& args) {
  std::string cmd = "TESSARYN_HOME=" + quoted((home / "home").string()) + " " + TSN_BINARY;
  for (const std::string& a : args) cmd += " " + quoted(a);
  cmd += " >" + quoted((home / "out.txt").string()) + " 2>" + quoted((home / "err.txt").string());
  cmd += " </dev/null";
  RunResult r;
  r.status = test::exit_status(cmd);
  r.out = read_file(home / "out.txt");
  r.err = read_file(home / "err.txt");
  return r;
}

TEST(Executable, HelpAndVersion) {
  ScratchDir d;
  RunResult help = run(d, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("tessaryn [SWITCHES] INPUT [OUTPUT]"), std::string::npos);
  EXPECT_NE(help.out.find("/LF=n"), std::string::npos);
  EXPECT_NE(help.out.find("/REL=12|14|2000"), std::string::npos);
  EXPECT_NE(help.out.find("Exit status"), std::string::npos);
  EXPECT_NE(help.out.find("0 Quantile, 1 Equal Intervals,\n               2 Unique Values"),
            std::string::npos);
  EXPECT_NE(help.out.find("/LF=n /LC=2"), std::string::npos);
  RunResult short_help = run(d, {"-h"});
  EXPECT_EQ(short_help.status, 0);
  EXPECT_EQ(short_help.out, help.out);
  RunResult version = run(d, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "Tessaryn 3.2 Rev C.11 Shapefile to DXF/DWG Converter.\n");
}

TEST(Executable, FirstStartCreatesTheProgramDirectory) {
  ScratchDir d;
  const std::string input = write_shapefile(d, build_shapefile(1, {test::point_content(1, 5, 6)}),
                                            true, "roads");
  RunResult r = run(d, {input});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Point, 1 records, 0 fields (no attribute table)"), std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("Could not open dBASE table file"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(d / "home" / "DEFS"));
  const ProfileDocument ini = ProfileDocument::load(d / "home" / "tsn25.ini");
  EXPECT_EQ(ini.get("Tessaryn", "DefsDir"), (d / "home" / "DEFS").string() + "/");
  const ProfileDocument colours = ProfileDocument::load(d / "home" / "colors.ini");
  EXPECT_TRUE(colours.get("ColorSchemes", "NumSchemes").has_value());
  EXPECT_TRUE(std::filesystem::exists(d / "home" / "styles.ini"));
}

TEST(Executable, AbsolutePathIsTheInputAndTheOutputFollowsIt) {
  ScratchDir d;
  const std::string input =
      write_shapefile(d, build_shapefile(3, {}), true, "roads");  // an empty line shapefile
  RunResult r = run(d, {"/L=MAIN", input});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Translate " + input + " to " + (d / "roads.dxf").string()),
            std::string::npos)
      << r.out;

  RunResult hidden = run(d, {input, "-h"});
  EXPECT_EQ(hidden.status, 0);
  EXPECT_EQ(hidden.out, "");  // a hidden run shows no status lines

  RunResult dwg = run(d, {input, (d / "x.DWG").string()});
  EXPECT_NE(dwg.out.find("to " + (d / "x.DWG").string()), std::string::npos) << dwg.out;
  // Release 12 (the default) DWG, whatever the extension's case.
  EXPECT_EQ(dwg.status, 0) << dwg.err;
  std::ifstream written(d / "x.DWG", std::ios::binary);
  std::string magic(6, '\0');
  written.read(magic.data(), 6);
  EXPECT_EQ(magic, "AC1009");
}

TEST(Executable, CommandLineFaultsGiveTheirMessageAndStatus2) {
  ScratchDir d;
  RunResult ext = run(d, {"/T=0", "x.txt"});
  EXPECT_EQ(ext.status, 2);
  EXPECT_NE(ext.err.find("Tessaryn: Error: Command line file name has incorrect extension"),
            std::string::npos)
      << ext.err;

  RunResult only_switches = run(d, {"/T=0", "-H"});
  EXPECT_EQ(only_switches.status, 2);
  EXPECT_NE(only_switches.err.find("Error: Command line format incorrect"), std::string::npos);

  RunResult at = run(d, {"in.shp", "@cmds.txt"});
  EXPECT_EQ(at.status, 2);
  EXPECT_NE(at.err.find("Switches and Batch Command file cannot both be specified"),
            std::string::npos);

  RunResult missing = run(d, {(d / "none.shp").string()});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("Error: Could not open file " + (d / "none.shp").string()),
            std::string::npos);

  auto corrupt = build_shapefile(1, {test::point_content(1, 5, 6)});
  corrupt.set_content_length_words(0, 1 << 30);
  RunResult refused = run(d, {write_shapefile(d, corrupt, false, "corrupt")});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.out.find("Error reading file"), std::string::npos) << refused.out;

  RunResult no_file = run(d, {"@" + (d / "none.txt").string()});
  EXPECT_EQ(no_file.status, 2);
  EXPECT_NE(no_file.err.find("Error: Unable to open command file"), std::string::npos);
}

TEST(Executable, CommandFileRunsEachCommandWithCommentsAndContinuations) {
  ScratchDir d;
  const std::string a = (d / "a.csv").string();
  const std::string b = (d / "b.csv").string();
  write_file(a, "x,y\n1,2\n");
  write_file(b, "x,y\n3,4\n5,6\n");
  const std::string cmds = (d / "cmds.txt").string();
  write_file(cmds, "; two tables\n" + a + " \\\n  /L=POINTS\r\n/N\n" + b + " " +
                       (d / "b.DXF").string() + "\n\n" + (d / "never.csv").string() + "\n");
  RunResult r = run(d, {"@" + cmds});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Translate " + a + " to " + (d / "a.dxf").string()), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("switch /L=POINTS"), std::string::npos);  // continued on the next line
  EXPECT_NE(r.out.find("comma-delimited table, 2 records"), std::string::npos);
  EXPECT_EQ(r.out.find("never.csv"), std::string::npos);  // the empty line ended the file
  EXPECT_TRUE(std::filesystem::exists(d / "a.dxf"));
  EXPECT_TRUE(std::filesystem::exists(d / "b.DXF"));

  write_file(cmds, "/G\n" + a + "\n/O " + (d / "all.dwg").string() + "\n");
  RunResult group = run(d, {"@" + cmds});
  EXPECT_EQ(group.status, 0) << group.err;
  EXPECT_TRUE(std::filesystem::exists(d / "all.dwg"));
  EXPECT_NE(group.out.find("Translated 1 source files to 1 output files."), std::string::npos)
      << group.out;
}

TEST(Executable, CommentLineDoesNothingAndNoArgumentsGivesUsage) {
  ScratchDir d;
  EXPECT_EQ(run(d, {";", "anything"}).status, 0);
  RunResult none = run(d, {});
  EXPECT_EQ(none.status, 2);
  EXPECT_NE(none.err.find("Usage:"), std::string::npos);
}

TEST(Executable, LogAndTraceFilesFollowTheirSwitches) {
  ScratchDir d;
  std::filesystem::create_directories(d / "home");
  // With trace on the temporary files are kept: keep them inside the scratch folder.
  std::filesystem::create_directories(d / "tmp");
  write_file(d / "home" / "tsn25.ini",
             "[Tessaryn]\nLog=1\ntrace=1\nTmpDir=" + (d / "tmp").string() + "\n");
  const std::string input = (d / "a.csv").string();
  write_file(input, "x,y\n1,2\n3,4\n");
  ASSERT_EQ(run(d, {input}).status, 0);
  EXPECT_EQ(read_file(d / "home" / "trace").rfind("Start trace!!\n", 0), 0u);
  EXPECT_FALSE(std::filesystem::is_empty(d / "tmp"));  // the kept temporary files
  const std::string log = read_file(d / "home" / "tessaryn.log");
  EXPECT_NE(log.find("Translate " + input), std::string::npos) << log;

  write_file(d / "home" / "tsn25.ini", "[Tessaryn]\nLog=0\ntrace=0\n");
  std::filesystem::remove(d / "home" / "tessaryn.log");
  std::filesystem::remove(d / "home" / "trace");
  ASSERT_EQ(run(d, {input}).status, 0);
  EXPECT_FALSE(std::filesystem::exists(d / "home" / "tessaryn.log"));
  EXPECT_FALSE(std::filesystem::exists(d / "home" / "trace"));
}

}  // namespace
}  // namespace tsn
