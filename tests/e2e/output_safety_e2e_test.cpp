// The output can never destroy an input: outputs that are the input or its companion files
// are refused, links are written through, devices and FIFOs are written into, a closed
// standard output costs only the status lines, and command files must be text.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "e2e/child_process.h"
#include "input/dbf_builder.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::ChildRun;
using test::read_file;
using test::ScratchDir;
using test::write_file;

// A shapefile whose companions are spelled in upper case, a point table and a CSV table.
void write_inputs(const ScratchDir& d) {
  const fs::path golden = fs::path(TSN_SOURCE_DIR) / "tests" / "golden";
  fs::copy_file(golden / "lines.shp", d / "lines.shp");
  fs::copy_file(golden / "lines.shx", d / "lines.SHX");
  fs::copy_file(golden / "lines.dbf", d / "lines.DBF");
  write_file(d / "t.csv", "X,Y\n1,2\n3,4\n");
  write_file(d / "t.dbf",
             test::DbfBuilder().field("X", 'N', 8, 2).field("Y", 'N', 8, 2).record({"1", "2"}).bytes());
  fs::create_directory(d / "home");
}

// Every file of the directory (the program directory aside) with its bytes.
std::map<std::string, std::string> files_of(const fs::path& dir) {
  std::map<std::string, std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (name == "home" || name == "log.txt") continue;
    out[name] = e.is_symlink() ? "-> " + fs::read_symlink(e.path()).string() : read_file(e.path());
  }
  return out;
}

bool is_dxf(const std::string& text) {
  return text.rfind("  0\r\nSECTION\r\n", 0) == 0 && text.size() > 10 &&
         text.compare(text.size() - 10, 10, "  0\r\nEOF\r\n") == 0;
}

TEST(OutputSafety, AnOutputThatIsTheInputOrOneOfItsCompanionsIsRefused) {
  struct Case {
    std::string input, output, link_to;  // link_to: made first, "=" a hard link, else symbolic
    std::string names;                   // the file the message names besides the output
    bool command_file;
  };
  const Case cases[] = {
      {"lines.shp", "lines.shp", "", "the input file lines.shp", false},
      {"lines.shp", "./lines.shp", "", "the input file lines.shp", false},
      {"lines.shp", "lines.SHX", "", "the file lines.SHX that belongs to the input", false},
      {"lines.shp", "lines.DBF", "", "the file lines.DBF that belongs to the input", true},
      {"lines.shp", "x.dxf", "=lines.DBF", "the file lines.DBF that belongs to the input", false},
      {"lines.shp", "x.dxf", "=lines.DBF", "the file lines.DBF that belongs to the input", true},
      {"lines.shp", "s.dxf", "lines.shp", "the input file lines.shp", false},
      {"t.csv", "t.csv", "", "the input file t.csv", false},
      {"t.dbf", "t.dbf", "", "the input file t.dbf", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input + " " + c.output + (c.command_file ? " from a command file" : ""));
    ScratchDir d;
    write_inputs(d);
    if (c.link_to.rfind('=', 0) == 0) {
      fs::create_hard_link(d / c.link_to.substr(1), d / c.output);
    } else if (!c.link_to.empty()) {
      fs::create_symlink(c.link_to, d / c.output);
    }
    if (c.command_file) write_file(d / "cmds.txt", c.input + " " + c.output + "\n");
    const auto before = files_of(d.path());
    const ChildRun run = test::child_run(c.command_file ? std::vector<std::string>{"@cmds.txt"}
                                                        : std::vector<std::string>{c.input, c.output},
                                         d.path(), d / "log.txt");
    EXPECT_EQ(test::run_child(run), 2);
    const std::string log = read_file(d / "log.txt");
    EXPECT_NE(log.find("Error: The output " + c.output + " is " + c.names), std::string::npos)
        << log;
    EXPECT_EQ(files_of(d.path()), before);  // byte for byte, and nothing added
  }
}

TEST(OutputSafety, LinksAreWrittenThroughAndDevicesAndFifosWrittenInto) {
  ScratchDir d;
  write_inputs(d);
  fs::create_directory(d / "sub");
  fs::create_symlink("sub/target.dxf", d / "dangling.dxf");
  fs::create_symlink("/dev/null", d / "nul.dxf");
  const bool root = ::geteuid() == 0;
  // A device of its own in the scratch directory, so that no test ever risks the system's.
  if (root) {
    ASSERT_EQ(::mknod((d / "chr.dxf").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  }
  for (const std::string out : {"dangling.dxf", "nul.dxf", "chr.dxf"}) {
    if (out == "chr.dxf" && !root) continue;
    SCOPED_TRACE(out);
    EXPECT_EQ(test::run_child(test::child_run({"lines.shp", out}, d.path(), d / "log.txt")), 0)
        << read_file(d / "log.txt");
  }
  EXPECT_TRUE(fs::is_symlink(d / "dangling.dxf"));
  EXPECT_TRUE(is_dxf(read_file(d / "sub" / "target.dxf")));
  EXPECT_TRUE(fs::is_symlink(d / "nul.dxf"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  if (root) {
    EXPECT_TRUE(fs::is_character_file(d / "chr.dxf"));
  }

  // A FIFO: its reader gets the drawing, and it stays a FIFO.
  ASSERT_EQ(::mkfifo((d / "pipe.dxf").c_str(), 0644), 0);
  const int reader = ::open((d / "pipe.dxf").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const pid_t pid = test::start_child(test::child_run({"lines.shp", "pipe.dxf"}, d.path(),
                                                      d / "log.txt"));
  std::string received;
  int status = -1;
  for (bool ended = false;;) {
    pollfd p{reader, POLLIN, 0};
    ::poll(&p, 1, 50);
    char buf[4096];
    const ssize_t n = ::read(reader, buf, sizeof buf);
    if (n > 0) {
      received.append(buf, static_cast<std::size_t>(n));
      continue;
    }
    if (ended) break;  // drained after the writer ended
    int raw = 0;
    if (::waitpid(pid, &raw, WNOHANG) == pid) {
      ended = true;
      status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
  }
  ::close(reader);
  EXPECT_EQ(status, 0) << read_file(d / "log.txt");
  EXPECT_TRUE(is_dxf(received)) << received.size();
  EXPECT_EQ(fs::status(d / "pipe.dxf").type(), fs::file_type::fifo);
  // No working file was left beside any of the outputs.
  for (const auto& e : fs::recursive_directory_iterator(d.path())) {
    EXPECT_NE(e.path().filename().string().back(), '~') << e.path();
  }
}

TEST(OutputSafety, AClosedStandardOutputLosesOnlyTheStatusLines) {
  ScratchDir d;
  write_inputs(d);
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);  // as "| head -1" does once it has its line
  ChildRun run = test::child_run({"lines.shp", "out.dxf"}, d.path(), d / "log.txt");
  run.stdout_fd = ends[1];
  EXPECT_EQ(test::run_child(run), 0) << read_file(d / "log.txt");
  ::close(ends[1]);
  EXPECT_TRUE(is_dxf(read_file(d / "out.dxf")));
}

TEST(CommandFiles, OnlyTextFilesAreRun) {
  ScratchDir d;
  write_inputs(d);
  fs::create_directory(d / "dir");
  ASSERT_EQ(::mkfifo((d / "fifo").c_str(), 0644), 0);
  write_file(d / "nul.txt", std::string("lines.shp a.dxf\n; two\nlines.shp b\0.dxf\n", 39));
  const struct {
    std::string file, message;
  } cases[] = {
      {"/dev/zero", "Unable to open command file /dev/zero: it is a device, not a text file"},
      {"dir", "Unable to open command file dir: it is a directory, not a text file"},
      {"fifo", "Unable to open command file fifo: it is a FIFO, not a text file"},
      {"nul.txt", "The command file nul.txt holds a NUL byte in line 3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const fs::path log = d / (fs::path(c.file).filename().string() + ".log");
    const pid_t pid = test::start_child(test::child_run({"@" + c.file}, d.path(), log));
    // A run that never ends fails here rather than hanging the suite.
    int raw = 0;
    bool ended = false;
    for (int waited = 0; waited < 10000 && !ended; waited += 10) {
      ended = ::waitpid(pid, &raw, WNOHANG) == pid;
      if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &raw, 0);
      ADD_FAILURE() << "still running after 10 seconds";
      continue;
    }
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 2);
    EXPECT_NE(read_file(log).find(c.message), std::string::npos) << read_file(log);
  }
  EXPECT_TRUE(fs::exists(d / "a.dxf"));  // the line before the NUL byte ran
  EXPECT_FALSE(fs::exists(d / "b"));
}

}  // namespace
}  // namespace tsn
