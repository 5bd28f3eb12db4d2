// Tests of the command-file line reader, tsnbatch.ini and the commands a run yields.
#include "run/batch_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/string_table.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::RecordingHost;
using test::ScopedHost;
using test::ScratchDir;
using test::write_file;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

Lines read_all_lines(const ScratchDir& dir, const std::string& bytes) {
  const auto path = dir / "commands.txt";
  write_file(path, bytes);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "rb"));
  Lines lines;
  std::string line;
  while (read_command_line(file.get(), line)) lines.push_back(line);
  return lines;
}

TEST(ReadCommandLine, BlanksContinuationsLineEndsAndTheEmptyLineThatEndsTheFile) {
  const std::pair<std::string, Lines> cases[] = {
      {"  \ta.shp /T=1\nb.shp\n", {"a.shp /T=1", "b.shp"}},
      {"a.shp \\\n   /T=1\nb.shp", {"a.shp     /T=1", "b.shp"}},
      {"a.shp\r\nb.shp\r\n", {"a.shp", "b.shp"}},
      {"a.shp \\\r\n/T=1\r\n", {"a.shp  /T=1"}},
      // An empty or blank line ends the file as its end does.
      {"a.shp\n\nb.shp\n", {"a.shp"}},
      {"a.shp\n   \t\nb.shp\n", {"a.shp"}},
      {"a.shp\r\n\r\nb.shp\r\n", {"a.shp"}},
      {"", {}},
      // Backslashes and CRs that are not right before the newline stay.
      {"dir\\a.shp\n", {"dir\\a.shp"}},
      {"a\rb\n", {"a\rb"}},
      {"a\r\r\n", {"a\r"}},
      {"a.shp\\", {"a.shp\\"}},
      {"a\\\\\nb\n", {"a\\ b"}},
  };
  const ScratchDir dir;
  for (const auto& [bytes, lines] : cases) EXPECT_EQ(read_all_lines(dir, bytes), lines) << bytes;
}

TEST(ReadCommandLine, KeepsAtMost1023CharactersAndDropsTheRestOfTheLine) {
  const ScratchDir dir;
  const std::string long_line(1500, 'x');
  const Lines lines = read_all_lines(dir, long_line + "\nnext\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(1023, 'x'));
  EXPECT_EQ(lines[1], "next");
  // The cap counts the blank that replaces a continued newline.
  const Lines joined = read_all_lines(dir, std::string(1022, 'y') + "\\\nzzz\n");
  ASSERT_EQ(joined.size(), 1u);
  EXPECT_EQ(joined[0], std::string(1022, 'y') + " ");
}

TEST(ReadBatchDefaults, OneSwitchPerLineAtMost64LinesOf255Characters) {
  const ScratchDir dir;
  EXPECT_THAT(read_batch_defaults(dir.path().string()), IsEmpty());  // no file: no lines

  write_file(dir / "tsnbatch.ini", "; labels\n/TS=My Style\r\n  /TC=3\n\n/L2=9\n");
  EXPECT_THAT(read_batch_defaults(dir.path().string() + "/"),
              ElementsAre("; labels", "/TS=My Style", "/TC=3"));

  std::string many;
  for (int i = 0; i < 70; ++i) many += "/C2=" + std::to_string(i) + "\n";
  write_file(dir / "tsnbatch.ini", "/L=" + std::string(300, 'n') + "\n" + many);
  const Lines lines = read_batch_defaults(dir.path().string());
  ASSERT_EQ(lines.size(), 64u);
  EXPECT_EQ(lines[0], "/L=" + std::string(252, 'n'));
  EXPECT_EQ(lines[63], "/C2=62");
}

// A command file in a scratch directory, read through a recording host.
struct CommandFile {
  ScratchDir dir;
  RecordingHost host;
  ScopedHost scoped{host};
  RunState run;
  std::optional<CommandSource> source;

  explicit CommandFile(const std::string& bytes) {
    write_file(dir / "jobs.txt", bytes);
    source = CommandSource::open_command_file((dir / "jobs.txt").string(), run);
  }
  int next(ConversionRequest& request) { return source->next(run, 0, request); }
  // The results of next() up to and including the first that is not kCommandReady, with
  // the input of every ready command.
  std::vector<std::string> drain() {
    std::vector<std::string> seen;
    for (int i = 0; i < 20; ++i) {
      ConversionRequest request;
      const int result = next(request);
      seen.push_back(result == kCommandReady ? request.input_path : std::to_string(result));
      if (result != kCommandReady) break;
    }
    return seen;
  }
};

TEST(CommandSource, CommandFileYieldsCommandsSkippingCommentsUntilItsEnd) {
  CommandFile f("; two inputs\nroads.shp out/roads.dwg\n/T=0 -C=1 wells.dbf /L=W\n"
                ";last\npts.csv\n");
  ASSERT_TRUE(f.source.has_value());
  EXPECT_TRUE(f.run.command_file_mode);
  EXPECT_TRUE(f.run.unattended);

  ConversionRequest r;
  ASSERT_EQ(f.next(r), kCommandReady);
  EXPECT_EQ(r.kind, RequestKind::convert);
  EXPECT_EQ(r.input_path, "roads.shp");
  EXPECT_EQ(r.output_path, "out/roads.dwg");
  EXPECT_EQ(r.save_file_type, 1);
  EXPECT_EQ(f.run.input_path, "roads.shp");
  EXPECT_EQ(f.run.output_path, "out/roads.dwg");

  ASSERT_EQ(f.next(r), kCommandReady);
  EXPECT_EQ(r.input_path, "wells.dbf");
  EXPECT_EQ(r.input_file_type, 1);
  EXPECT_EQ(r.output_path, "wells.dxf");
  EXPECT_THAT(r.switches, ElementsAre("/T=0", "-C=1", "/L=W"));

  ASSERT_EQ(f.next(r), kCommandReady);
  EXPECT_EQ(r.input_path, "pts.csv");
  EXPECT_EQ(f.next(r), kCommandsEnded);
  EXPECT_EQ(f.next(r), kCommandsEnded);
  EXPECT_THAT(f.host.boxes, IsEmpty());
}

TEST(CommandSource, EmptyLineEndsTheBatchAndContinuedLinesFormOneCommand) {
  CommandFile f("a.shp \\\n  /T=2\n\nb.shp\n");
  ConversionRequest r;
  ASSERT_EQ(f.next(r), kCommandReady);
  EXPECT_EQ(r.input_path, "a.shp");
  EXPECT_THAT(r.switches, ElementsAre("/T=2"));
  EXPECT_EQ(f.next(r), kCommandsEnded);
}

TEST(CommandSource, RunOptionLinesSetTheirFlagsAndReadOn) {
  struct Case {
    const char* file;
    std::vector<std::string> results;
    bool no_auto_run, run_hidden, exit_when_done;
  };
  const Case cases[] = {
      {"/N\na.shp\n", {"a.shp", "1"}, true, false, false},
      {"-h\na.shp\n", {"a.shp", "1"}, true, true, false},
      {"a.shp\n/X\nb.shp\n", {"a.shp", "-11"}, false, false, true},
      {"/x\n", {"-11"}, false, false, true},
      // Only a line of that one token is a control line.
      {"/N /H\n", {"-1"}, false, false, false},
  };
  for (const Case& c : cases) {
    CommandFile f(c.file);
    EXPECT_EQ(f.drain(), c.results) << c.file;
    EXPECT_EQ(f.run.no_auto_run, c.no_auto_run) << c.file;
    EXPECT_EQ(f.run.run_hidden, c.run_hidden) << c.file;
    EXPECT_EQ(f.run.exit_when_done, c.exit_when_done) << c.file;
  }
}

TEST(CommandSource, GroupLineOpensAGroupForTheCommandsUpToItsClosingLine) {
  CommandFile f("a.shp\n-g\nb.shp /T=0\nc.dbf\n/O out.dwg\nd.shp\n");
  ConversionRequest r;
  ASSERT_EQ(f.next(r), kCommandReady);
  EXPECT_FALSE(f.run.merge_group_open);
  for (const char* member : {"b.shp", "c.dbf"}) {
    ASSERT_EQ(f.next(r), kCommandReady);
    EXPECT_EQ(r.input_path, member);
    EXPECT_TRUE(f.run.merge_group_open);
  }
  EXPECT_TRUE(f.run.merge_group_first);  // cleared by the conversion of the group's first input
  ASSERT_EQ(f.next(r), kMergeGroupClosing);
  EXPECT_EQ(r.output_path, "out.dwg");
  EXPECT_TRUE(f.run.merge_group_closing);
  EXPECT_FALSE(f.run.merge_group_open);
  EXPECT_TRUE(f.host.boxes.empty());
}

TEST(CommandSource, MergeGroupLinesStopTheBatchWithAMessage) {
  const std::string tessaryn = load_text(10);
  struct Case {
    const char* file;
    bool group_open;  // as a group opened earlier in the run would leave it
    std::vector<std::string> results;
    std::string message;
  };
  const Case cases[] = {
      {"a.shp\n/G\nb.shp\n/G\n", false, {"a.shp", "b.shp", "-1"}, load_text(204)},
      {"/O out.dwg\n", false, {"-1"}, load_text(203)},
      {"/G\n", true, {"-1"}, load_text(204)},
  };
  for (const Case& c : cases) {
    CommandFile f(c.file);
    f.run.merge_group_open = c.group_open;
    EXPECT_EQ(f.drain(), c.results) << c.file;
    ASSERT_EQ(f.host.boxes.size(), 1u) << c.file;
    EXPECT_EQ(f.host.boxes[0].caption, tessaryn);
    EXPECT_EQ(f.host.boxes[0].icon, Icon::warning);
    EXPECT_THAT(f.host.boxes[0].text, HasSubstr(c.message)) << c.file;
    EXPECT_FALSE(f.run.merge_group_closing);
  }
}

TEST(CommandSource, ClosingLineOfAnOpenGroupNamesTheOutput) {
  CommandFile f("-o \"merged out.dwg\"\n");
  f.run.merge_group_open = true;
  ConversionRequest r;
  ASSERT_EQ(f.next(r), kMergeGroupClosing);
  EXPECT_EQ(r.output_path, "merged out.dwg");
  EXPECT_TRUE(f.run.merge_group_closing);
  EXPECT_FALSE(f.run.merge_group_open);
}

TEST(CommandSource, CommandLinesBreakingTheGrammarStopTheBatch) {
  const std::pair<const char*, std::string> cases[] = {
      {"/T=0 /L=x\n", load_text(175)},
      {"roads.txt\n", load_text(176)},
      {"roads.shp @more.txt\n", load_text(37)},
      {"@more.txt\n", "more.txt"},
  };
  for (const auto& [file, message] : cases) {
    CommandFile f(file);
    ConversionRequest r;
    EXPECT_EQ(f.next(r), kCommandError) << file;
    ASSERT_EQ(f.host.boxes.size(), 1u) << file;
    EXPECT_THAT(f.host.boxes[0].text, HasSubstr(message)) << file;
  }
}

TEST(CommandSource, MissingCommandFileGivesMessage179WithItsName) {
  const ScratchDir dir;
  RecordingHost host;
  const ScopedHost scoped(host);
  RunState run;
  const std::string path = (dir / "none.txt").string();
  EXPECT_FALSE(CommandSource::open_command_file(path, run).has_value());
  EXPECT_FALSE(run.command_file_mode);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, load_text(7));
  EXPECT_THAT(host.boxes[0].text, HasSubstr("Error: Unable to open command file " + path));
  EXPECT_THAT(host.events, ElementsAre("beep", "box:" + load_text(7)));
}

TEST(CommandSource, CommandLineYieldsItsOneCommandWithoutControlLines) {
  RecordingHost host;
  const ScopedHost scoped(host);
  RunState run;
  CommandSource source = CommandSource::for_command_line({"/X", "/N", "in.shp"}, run);
  EXPECT_TRUE(run.unattended);
  EXPECT_FALSE(source.command_file_mode());
  ConversionRequest r;
  ASSERT_EQ(source.next(run, 1, r), kCommandReady);
  EXPECT_EQ(r.output_path, "in.dwg");
  EXPECT_THAT(r.switches, ElementsAre("/X", "/N"));
  EXPECT_FALSE(run.exit_when_done);  // switches take effect when applied, not here
  EXPECT_EQ(source.next(run, 1, r), kCommandsEnded);
  EXPECT_THAT(host.boxes, IsEmpty());
}

}  // namespace
}  // namespace tsn
