// What an unattended run says about switches that do not do what they say, about a class
// method it cannot use, and about an output directory it cannot write.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::capture;
using test::quoted;
using test::read_file;
using test::write_file;

struct Outcome {
  std::string out;  // standard output and errors
  int status = -1;
};

Outcome convert(const test::ScratchDir& d, const std::string& args) {
  const std::string cmd = "TESSARYN_HOME=" + quoted((d / "home").string()) + " " + TSN_BINARY +
                          " " + args + " 2>&1; echo \"status=$?\"";
  Outcome r;
  r.out = capture(cmd);
  const std::size_t at = r.out.rfind("status=");
  if (at != std::string::npos) r.status = std::stoi(r.out.substr(at + 7));
  return r;
}

// A point table of `rows` rows with distinct names.
fs::path point_table(const test::ScratchDir& d, int rows) {
  std::string t = "name,lon,lat\n";
  for (int i = 0; i < rows; ++i) {
    t += "site" + std::to_string(i) + "," + std::to_string(i % 50) + "," +
         std::to_string(i / 50) + "\n";
  }
  write_file(d / "sites.csv", t);
  return d / "sites.csv";
}

TEST(SwitchWarningsE2e, EachSwitchThatIsNotUsedIsNamedAndTheRunGoesOn) {
  test::ScratchDir d;
  const fs::path table = point_table(d, 20);
  const std::string in = quoted(table.string()) + " " + quoted((d / "o.dxf").string());
  const Outcome typos = convert(d, "/A=-1 /REL=2004 /LF=abc /T=999 /XYZ=1 " + in);
  EXPECT_EQ(typos.status, 0) << typos.out;
  for (const char* line : {"Warning: /A=-1: there is no such switch; it was ignored",
                           "Warning: /REL=2004: the release must be 12, 14 or 2000",
                           "Warning: /LF=abc: the value is not a whole number; field 0 is used",
                           "Warning: /T=999: the table has no field 999 (it has fields 0 to 2)",
                           "Warning: /XYZ=1: there is no such switch; it was ignored"}) {
    EXPECT_NE(typos.out.find(line), std::string::npos) << line << "\n" << typos.out;
  }
  EXPECT_TRUE(fs::exists(d / "o.dxf"));

  const Outcome hidden = convert(d, "/H /XYZ=1 " + in);
  EXPECT_EQ(hidden.status, 0);
  EXPECT_EQ(hidden.out.find("Warning"), std::string::npos) << hidden.out;

  const Outcome clean = convert(d, "/REL=14 /LF=0 " + in);
  EXPECT_EQ(clean.out.find("Warning"), std::string::npos) << clean.out;
}

TEST(SwitchWarningsE2e, UniqueValuesBeyondTheClassLimitSayQuantileIsUsed) {
  test::ScratchDir d;
  const fs::path table = point_table(d, 1100);
  const Outcome r = convert(d, "/LF=0 /LC=2 " + quoted(table.string()) + " " +
                               quoted((d / "o.dxf").string()));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Unique values (1100) for this field exceed 1024, using Quantile "
                       "classification instead"),
            std::string::npos)
      << r.out;
}

TEST(OutputLocationE2e, TheReasonAndTheDirectoryAreNamedAndNoUserFileIsTouched) {
  test::ScratchDir d;
  const fs::path table = point_table(d, 5);
  const Outcome missing =
      convert(d, quoted(table.string()) + " " + quoted((d / "nodir" / "o.dxf").string()));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.out.find("Error: The output directory " + (d / "nodir").string() +
                             "/ does not exist"),
            std::string::npos)
      << missing.out;

  // The writability probe once used a fixed name and removed a file of the user's so named.
  fs::create_directory(d / "out");
  write_file(d / "out" / "TESSARYN.CAD", "drawing notes");
  const Outcome written =
      convert(d, quoted(table.string()) + " " + quoted((d / "out" / "o.dxf").string()));
  EXPECT_EQ(written.status, 0) << written.out;
  EXPECT_EQ(read_file(d / "out" / "TESSARYN.CAD"), "drawing notes");

  // A directory the user may not write: only an unprivileged user sees the refusal.
  if (::geteuid() == 0 && capture("command -v setpriv").empty()) {
    GTEST_SKIP() << "running as root without setpriv to drop the privilege";
  }
  fs::create_directory(d / "locked");
  fs::permissions(d / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(d.path(), fs::perms::all, fs::perm_options::add);
  fs::permissions(table, fs::perms::all, fs::perm_options::add);
  fs::create_directories(d / "home");
  fs::permissions(d / "home", fs::perms::all, fs::perm_options::add);
  const std::string as_user = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 "
                                                 "--clear-groups "
                                               : "";
  const std::string cmd = "TESSARYN_HOME=" + quoted((d / "home").string()) + " " + as_user +
                          TSN_BINARY + " " + quoted(table.string()) + " " +
                          quoted((d / "locked" / "o.dxf").string()) + " 2>&1";
  const std::string out = capture(cmd);
  EXPECT_NE(out.find("Error: You do not have permission to write in the directory " +
                     (d / "locked").string() + "/"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find("Error: Error:"), std::string::npos) << out;
  EXPECT_EQ(out.find("CD Rom"), std::string::npos) << out;
}

}  // namespace
}  // namespace tsn
