// A conversion ended by a signal or by a full disk unwinds: no working file or directory is
// left and an earlier drawing at the output path stays as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "e2e/child_process.h"
#include "e2e/generated_input.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::ScratchDir;
using test::write_file;

TEST(Cleanup, SignalsAndAFullDiskLeaveNothingBehindAndTheEarlierOutputIntact) {
  ScratchDir d;
  // Large enough that the conversion is still running when it is signalled.
  ASSERT_TRUE(test::write_polyline_file(d, 400000, "big"));
  fs::create_directory(d / "home");
  const struct {
    int signal;           // 0: the file size limit stands for a full disk
    int status;
    std::string message;  // in the output
  } cases[] = {
      {SIGTERM, 128 + SIGTERM, "Process aborted: the program received SIGTERM."},
      {SIGHUP, 128 + SIGHUP, "Process aborted: the program received SIGHUP."},
      {SIGQUIT, 128 + SIGQUIT, "Process aborted: the program received SIGQUIT."},
      {SIGINT, 128 + SIGINT, "Process aborted due to user cancellation."},
      {0, 1, "Error: File error: Disk may be full.\nCould not write "},
  };
  const std::string earlier = "an earlier drawing\r\n";
  for (const auto& c : cases) {
    const std::string name = c.signal != 0 ? sigabbrev_np(c.signal) : "FSIZE";
    SCOPED_TRACE(name);
    const fs::path tmp = d / ("tmp-" + name);
    fs::create_directory(tmp);
    const std::string out = "out-" + name + ".dxf";
    write_file(d / out, earlier);
    const fs::path log = d / (name + ".log");
    test::ChildRun run = test::child_run({"big.shp", out, "/REL=14"}, d.path(), log);
    run.tmp = tmp;
    if (c.signal == 0) run.file_size_limit = 1 << 20;
    const pid_t pid = test::start_child(run);
    ASSERT_GT(pid, 0);
    if (c.signal != 0) {
      // Signalled once the conversion has made its private directory: by then the signal
      // belongs to the program, however slowly a loaded machine started it.
      for (int waited = 0; waited < 20000 && fs::is_empty(tmp); waited += 5) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      ::kill(pid, c.signal);
    }
    const int status = test::wait_child(pid);
    if (status == 0) GTEST_SKIP() << "the conversion ended before the signal";
    const std::string text = read_file(log);
    EXPECT_EQ(status, c.status) << text;
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
    // Only a Ctrl-C is a question; the requests to end are obeyed without one.
    EXPECT_EQ(text.find("Abort current process ?") != std::string::npos, c.signal == SIGINT);
    EXPECT_EQ(text.find("CritErrhandler"), std::string::npos);
    EXPECT_EQ(read_file(d / out), earlier);
    EXPECT_TRUE(fs::is_empty(tmp));
    for (const auto& e : fs::directory_iterator(d.path())) {
      EXPECT_NE(e.path().filename().string().back(), '~') << e.path();
    }
  }
}

}  // namespace
}  // namespace tsn
