// The file sink's CR LF line ends, offsets and patches, and write failures: reported by the
// sink and turned into the critical error by the checked writes.
#include "dxf/group_sink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dxf/dxf_writer.h"
#include "dxf_test_support.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::read_file;

TEST(FileSink, WritesEveryLineWithCrLf) {
  test::ScratchDir dir;
  const std::string path = (dir / "out.dxf").string();
  FileGroupSink sink;
  ASSERT_TRUE(sink.open(path));
  ASSERT_TRUE(sink.write("  0\nSECTION\n"));
  ASSERT_TRUE(sink.write("  2\nHEADER\n\n"));
  EXPECT_EQ(sink.offset(), 29u);  // 12 + 12 characters, 5 line ends of two bytes
  ASSERT_TRUE(sink.finish());
  EXPECT_EQ(read_file(path), "  0\r\nSECTION\r\n  2\r\nHEADER\r\n\r\n");
}

TEST(FileSink, WritesMoreThanItsBufferInOrder) {
  test::ScratchDir dir;
  const std::string path = (dir / "big.dxf").string();
  FileGroupSink sink;
  ASSERT_TRUE(sink.open(path));
  std::string expected;
  for (int i = 0; i < 30000; ++i) {
    const std::string line = std::to_string(i) + "\n";
    ASSERT_TRUE(sink.write(line));
    expected += std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(sink.offset(), expected.size());
  ASSERT_TRUE(sink.finish());
  EXPECT_EQ(read_file(path), expected);
}

TEST(FileSink, TrackedLinesAreCountedCutAndMarkedAtTheirFileOffsets) {
  test::ScratchDir dir;
  const std::string path = (dir / "tracked.tm~").string();
  FileGroupSink sink;
  ASSERT_TRUE(sink.open(path));
  sink.track_lines(10, 3);
  // Seven lines; the fourth is written in two pieces and cut to ten characters.
  ASSERT_TRUE(sink.write("a\nbb\n\n0123456"));
  ASSERT_TRUE(sink.write("789ABCDEF\nx\ny\nz\ntail"));
  EXPECT_EQ(sink.lines(), 7);
  EXPECT_TRUE(sink.inside_line());
  ASSERT_TRUE(sink.finish());
  const std::string text = read_file(path);
  EXPECT_EQ(text, "a\r\nbb\r\n\r\n0123456789\r\nx\r\ny\r\nz\r\ntail");
  EXPECT_EQ(sink.offset(), text.size());
  // After lines 3 and 6.
  const std::vector<std::uint64_t> expected{text.find("0123"), text.find("z\r")};
  EXPECT_EQ(sink.line_marks(), expected);
}

TEST(FileSink, TrackingHoldsAcrossBufferFlushesAndIsClearedByOpen) {
  test::ScratchDir dir;
  const std::string path = (dir / "many.tm~").string();
  FileGroupSink sink;
  ASSERT_TRUE(sink.open(path));
  sink.track_lines(255, 1000);
  std::string chunk;
  for (int i = 0; i < 5000; ++i) chunk += std::to_string(i % 10) + "\n";
  for (int k = 0; k < 20; ++k) ASSERT_TRUE(sink.write(chunk));  // 100,000 lines, 400 KB
  EXPECT_EQ(sink.lines(), 100000);
  ASSERT_EQ(sink.line_marks().size(), 100u);
  EXPECT_FALSE(sink.inside_line());
  ASSERT_TRUE(sink.finish());
  // Every line is three bytes in the file: the marks fall on multiples of 3000.
  for (std::size_t i = 0; i < sink.line_marks().size(); ++i) {
    ASSERT_EQ(sink.line_marks()[i], 3000u * (i + 1));
  }
  ASSERT_TRUE(sink.open(path));
  ASSERT_TRUE(sink.write(std::string(300, 'q') + "\n"));
  EXPECT_EQ(sink.lines(), 0);  // not tracked any more
  ASSERT_TRUE(sink.finish());
  EXPECT_EQ(read_file(path).size(), 302u);
}

TEST(FileSink, WriteLinesCopiesCompleteLinesAndKeepsCountsCutsAndMarksExact) {
  test::ScratchDir dir;
  const std::string path = (dir / "lines.tm~").string();
  FileGroupSink sink;
  ASSERT_TRUE(sink.open(path));
  sink.track_lines(10, 3);
  ASSERT_TRUE(sink.write_lines("a\r\nb\r\n", 2));
  ASSERT_TRUE(sink.write_lines("c\r\nd\r\n", 2));  // the third line takes a mark
  // A line left open by a translating write: the next lines are counted and cut with it.
  ASSERT_TRUE(sink.write("0123456789AB"));
  ASSERT_TRUE(sink.write_lines("CD\r\ne\r\n", 2));  // "e" is the sixth line: the second mark
  ASSERT_TRUE(sink.write_lines("f\r\n", 1));
  EXPECT_EQ(sink.lines(), 7);
  EXPECT_FALSE(sink.inside_line());
  ASSERT_TRUE(sink.finish());
  const std::string text = read_file(path);
  EXPECT_EQ(text, "a\r\nb\r\nc\r\nd\r\n0123456789\r\ne\r\nf\r\n");
  const std::vector<std::uint64_t> expected{text.find("d\r"), text.find("f\r")};
  EXPECT_EQ(sink.line_marks(), expected);
}

TEST(FileSink, UntrackedWriteLinesIsAPlainCopy) {
  test::ScratchDir dir;
  const std::string path = (dir / "main.dxf").string();
  FileGroupSink sink;
  ASSERT_TRUE(sink.open(path));
  std::string many;
  for (int i = 0; i < 40000; ++i) many += "  0\r\n";  // more than the buffer holds
  ASSERT_TRUE(sink.write_lines(many, 40000));
  EXPECT_EQ(sink.offset(), many.size());
  ASSERT_TRUE(sink.finish());
  EXPECT_EQ(read_file(path), many);
  EXPECT_FALSE(FileGroupSink().write_lines("x\r\n", 1));
}

TEST(FileSink, PatchOverwritesAPlaceholderAndWritingGoesOnAtTheEnd) {
  test::ScratchDir dir;
  const std::string path = (dir / "patch.dxf").string();
  FileGroupSink sink;
  ASSERT_TRUE(sink.open(path));
  ASSERT_TRUE(sink.write("  9\n$HANDLING\n"));
  const std::uint64_t at = sink.offset();
  ASSERT_TRUE(sink.write("  9\n$HANDSEED\n  5\n        \n"));
  ASSERT_TRUE(sink.write("  0\nENDSEC\n"));
  ASSERT_TRUE(sink.patch(at, "  9\n$HANDSEED\n  5\n      2A\n"));
  EXPECT_FALSE(FileGroupSink().patch(0, "x"));
  ASSERT_TRUE(sink.write("  0\nEOF\n"));
  ASSERT_TRUE(sink.finish());
  EXPECT_EQ(read_file(path),
            "  9\r\n$HANDLING\r\n  9\r\n$HANDSEED\r\n  5\r\n      2A\r\n  0\r\nENDSEC\r\n"
            "  0\r\nEOF\r\n");
}

TEST(FileSink, APatchPastTheEndFails) {
  test::ScratchDir dir;
  FileGroupSink sink;
  ASSERT_TRUE(sink.open((dir / "short.dxf").string()));
  ASSERT_TRUE(sink.write("ab\n"));
  EXPECT_FALSE(sink.patch(3, "xy"));
  EXPECT_FALSE(sink.finish());
}

TEST(FileSink, OpenFailsForAMissingDirectory) {
  test::ScratchDir dir;
  FileGroupSink sink;
  EXPECT_FALSE(sink.open((dir / "missing" / "out.dxf").string()));
  EXPECT_FALSE(sink.write("x"));
  EXPECT_FALSE(sink.finish());
}

TEST(FileSink, AFailedWriteIsReportedAndStaysReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  FileGroupSink sink;
  ASSERT_TRUE(sink.open("/dev/full"));
  // A small write only fills the buffer; the failure shows when it is flushed.
  EXPECT_TRUE(sink.write("  0\nEOF\n"));
  EXPECT_FALSE(sink.finish());
  EXPECT_TRUE(sink.failed());

  FileGroupSink big;
  ASSERT_TRUE(big.open("/dev/full"));
  const std::string block(100 * 1024, 'x');
  EXPECT_FALSE(big.write(block));
  EXPECT_FALSE(big.write("more\n"));
  EXPECT_FALSE(big.finish());
}

TEST(StringSink, FailsFromTheGivenWriteOn) {
  StringGroupSink sink;
  sink.fail_from_write(2);
  EXPECT_TRUE(sink.write("a\n"));
  EXPECT_FALSE(sink.write("b\n"));
  EXPECT_FALSE(sink.write("c\n"));
  EXPECT_EQ(sink.text(), "a\n");
  EXPECT_EQ(sink.writes(), 3);
}

TEST(CheckedWrites, AFailedCheckedWriteIsCountedWithItsFileUncheckedAndNothingEndsTheRun) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  test::CollectingWriter c(test::Settings{.verDXF = 4});
  c.sink.fail_from_write(2);
  dxf_group(c.w, 0, "LINE");
  EXPECT_EQ(c.state.write_failures, 0);
  dxf_write_raw(c.w, "  0\nEOF\n");
  EXPECT_EQ(c.state.write_failures, 0);
  dxf_real(c.w, 40, 1.0);
  dxf_point(c.w, 10, 1.0, 2.0, 3.0);
  EXPECT_EQ(c.state.write_failures, 2);
  EXPECT_EQ(c.text(), "  0\nLINE\n");
  // The driver reports it: here nothing was shown and the process goes on.
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_TRUE(host.events.empty());
}

}  // namespace
}  // namespace tsn
