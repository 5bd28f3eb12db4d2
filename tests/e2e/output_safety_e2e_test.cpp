// The output never destroys an input: outputs that are the input or its companion files are
// refused, links are written through, devices and FIFOs written into, a closed standard output
// costs only the status lines, and command files must be text.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <map>
#include <string>

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
}

// Every file of the directory (the program directory and the log aside) with its bytes.
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
  return text.rfind("  0\r\nSECTION\r\n", 0) == 0 && text.ends_with("  0\r\nEOF\r\n");
}

TEST(OutputSafety, AnOutputThatIsTheInputOrOneOfItsCompanionsIsRefused) {
  const struct {
    std::string input, output, link_to;  // link_to: made first, "=..." a hard link
    std::string names;                   // what the message says the output is
    bool command_file;
  } cases[] = {
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
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input + " " + c.output + (c.command_file ? " from a command file" : ""));
    ScratchDir d;
    write_inputs(d);
    if (c.link_to.starts_with("=")) {
      fs::create_hard_link(d / c.link_to.substr(1), d / c.output);
    } else if (!c.link_to.empty()) {
      fs::create_symlink(c.link_to, d / c.output);
    }
    write_file(d / "cmds.txt", c.input + " " + c.output + "\n");
    const auto before = files_of(d.path());
    const ChildRun run{c.command_file ? std::vector<std::string>{"@cmds.txt"}
                                      : std::vector<std::string>{c.input, c.output},
                       d.path(), d / "log.txt"};
    EXPECT_EQ(run.run(), 2);
    EXPECT_NE(read_file(d / "log.txt").find("Error: The output " + c.output + " is " + c.names),
              std::string::npos)
        << read_file(d / "log.txt");
    EXPECT_EQ(files_of(d.path()), before);  // byte for byte, and nothing added
  }
}

TEST(OutputSafety, LinksAreWrittenThroughDevicesAndFifosWrittenIntoAClosedStdoutIgnored) {
  ScratchDir d;
  write_inputs(d);
  fs::create_directory(d / "sub");
  fs::create_symlink("sub/target.dxf", d / "dangling.dxf");
  fs::create_symlink("/dev/null", d / "nul.dxf");
  // A device of its own (as root), so that no test ever risks the system's.
  const bool root = ::geteuid() == 0;
  ASSERT_TRUE(!root || ::mknod((d / "chr.dxf").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0);
  int closed_pipe[2];
  ASSERT_EQ(::pipe(closed_pipe), 0);
  ::close(closed_pipe[0]);  // as "| head -1" does once it has its line
  for (const std::string out : {"dangling.dxf", "nul.dxf", "chr.dxf", "piped.dxf"}) {
    if (out == "chr.dxf" && !root) continue;
    SCOPED_TRACE(out);
    ChildRun run{{"lines.shp", out}, d.path(), d / "log.txt"};
    if (out == "piped.dxf") run.stdout_fd = closed_pipe[1];
    EXPECT_EQ(run.run(), 0) << read_file(d / "log.txt");
  }
  ::close(closed_pipe[1]);
  EXPECT_TRUE(fs::is_symlink(d / "dangling.dxf"));
  EXPECT_TRUE(is_dxf(read_file(d / "sub" / "target.dxf")));
  EXPECT_TRUE(fs::is_symlink(d / "nul.dxf"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(fs::is_character_file(d / "chr.dxf"), root);
  EXPECT_TRUE(is_dxf(read_file(d / "piped.dxf")));

  // A FIFO: its reader gets the drawing, and it stays a FIFO.
  ASSERT_EQ(::mkfifo((d / "pipe.dxf").c_str(), 0644), 0);
  const int reader = ::open((d / "pipe.dxf").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const pid_t pid = ChildRun{{"lines.shp", "pipe.dxf"}, d.path(), d / "log.txt"}.start();
  std::string received;
  int raw = -1;
  for (bool ended = false;;) {
    pollfd p{reader, POLLIN, 0};
    ::poll(&p, 1, 50);
    char buf[4096];
    const ssize_t n = ::read(reader, buf, sizeof buf);
    if (n > 0) {
      received.append(buf, static_cast<std::size_t>(n));
    } else if (ended) {
      break;  // drained after the writer ended
    } else {
      ended = ::waitpid(pid, &raw, WNOHANG) == pid;
    }
  }
  ::close(reader);
  EXPECT_EQ(raw, 0) << read_file(d / "log.txt");
  EXPECT_TRUE(is_dxf(received)) << received.size();
  EXPECT_EQ(fs::status(d / "pipe.dxf").type(), fs::file_type::fifo);
  for (const auto& e : fs::recursive_directory_iterator(d.path())) {
    EXPECT_FALSE(e.path().string().ends_with("~")) << "a working file left: " << e.path();
  }
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
    EXPECT_EQ((ChildRun{{"@" + c.file}, d.path(), log}.run()), 2);
    EXPECT_NE(read_file(log).find(c.message), std::string::npos) << read_file(log);
  }
  EXPECT_TRUE(fs::exists(d / "a.dxf"));  // the line before the NUL byte ran
  EXPECT_FALSE(fs::exists(d / "b"));
}

}  // namespace
}  // namespace tsn
