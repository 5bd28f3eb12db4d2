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

TEST(Cleanup, SignalsAndAFullDiskLeaveNothingBehindAndTheEarlierOutputIntact) {
  test::ScratchDir d;
  // Large enough that the conversion is still running when it is signalled.
  ASSERT_TRUE(test::write_polyline_file(d, 400000, "big"));
  const struct {
    int signal;  // 0: the file size limit stands for a full disk
    int status;
    std::string message;
  } cases[] = {
      {SIGTERM, 128 + SIGTERM, "Process aborted: the program received SIGTERM."},
      {SIGHUP, 128 + SIGHUP, "Process aborted: the program received SIGHUP."},
      {SIGQUIT, 128 + SIGQUIT, "Process aborted: the program received SIGQUIT."},
      {SIGINT, 128 + SIGINT, "Process aborted due to user cancellation."},
      {0, 1, "Error: File error: Disk may be full.\nCould not write "},
  };
  for (const auto& c : cases) {
    const std::string name = c.signal != 0 ? sigabbrev_np(c.signal) : "FSIZE";
    SCOPED_TRACE(name);
    const std::string out = "out-" + name + ".dxf";
    test::write_file(d / out, "an earlier drawing\r\n");
    test::ChildRun run{{"big.shp", out, "/REL=14"}, d.path(), d / (name + ".log")};
    run.tmp = d / ("tmp-" + name);
    fs::create_directory(run.tmp);
    if (c.signal == 0) run.file_size_limit = 1 << 20;
    const pid_t pid = run.start();
    // Signalled once the conversion has made its private directory: by then the signal
    // belongs to the program, however slowly a loaded machine started it.
    for (int waited = 0; c.signal != 0 && waited < 20000 && fs::is_empty(run.tmp); waited += 5) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (c.signal != 0) ::kill(pid, c.signal);
    const int status = test::ChildRun::wait_child(pid);
    if (status == 0) GTEST_SKIP() << "the conversion ended before the signal";
    const std::string text = read_file(run.log);
    EXPECT_EQ(status, c.status) << text;
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
    // Only a Ctrl-C is a question; the requests to end are obeyed without one.
    EXPECT_EQ(text.find("Abort current process ?") != std::string::npos, c.signal == SIGINT);
    EXPECT_EQ(text.find("CritErrhandler"), std::string::npos);
    EXPECT_EQ(read_file(d / out), "an earlier drawing\r\n");
    EXPECT_TRUE(fs::is_empty(run.tmp));
    for (const auto& e : fs::directory_iterator(d.path())) {
      EXPECT_FALSE(e.path().string().ends_with("~")) << "a working file left: " << e.path();
    }
  }
}

}  // namespace
}  // namespace tsn
