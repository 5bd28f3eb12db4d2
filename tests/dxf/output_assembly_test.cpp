// Assembly of the DXF text output: section order of the temporary streams, OBJECTS and EOF,
// the $HANDSEED patch, long lines, progress and cancellation, failures that leave an earlier
// output untouched, and the private directory of temporary files.
#include "dxf/output_assembly.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <set>
#include <string>

#include "dxf/dxf_writer.h"
#include "dxf/header_section.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;

std::string crlf(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// One conversion's directories, settings and files; every test makes its own.
struct Conversion {
  explicit Conversion(int verDXF, bool trace = false) {
    s.verDXF = verDXF;
    s.No999 = 1;
    s.DecPlaces = 6;
    dxf_configure(state, s, false);
    host.answers.clear();
    target = (out_dir / "drawing.dxf").string();
    opened = files.open(target, tmp_dir.path().string(), trace);
  }
  void write(DxfStream stream, const std::string& text) {
    ASSERT_TRUE(files.sink(stream).write(text));
  }
  // Header, a TABLES frame, one block and three entities with handles 22..24 and a label.
  void fill() {
    ASSERT_EQ(write_dxf_header(state, files.sink(DxfStream::main), s, {0, 0, 1, 1},
                               files.handseed()),
              0);
    write(DxfStream::main, "  0\nSECTION\n  2\nTABLES\n");
    if (s.verDXF == 6) write(DxfStream::main, "  0\nTABLE\n  2\nBLOCK_RECORD\n");
    write(DxfStream::blocks, "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nMARK\n");
    write(DxfStream::blocks2, "0\nBLOCK\n2\nFIL00001\n0\nENDSEC\n");
    write(DxfStream::entities, "  0\nSECTION\n  2\nENTITIES\n");
    for (int i = 0; i < 3; ++i) {
      write(DxfStream::entities, "  0\nPOINT\n  5\n" + std::to_string(dxf_new_handle(state)) + "\n");
    }
    write(DxfStream::labels, "  0\nTEXT\n  1\nlabel\n0\nENDSEC\n");
  }

  test::RecordingHost host;
  test::ScopedHost scoped{host};
  test::ScratchDir out_dir;
  test::ScratchDir tmp_dir;
  ConvSettings s;
  DxfState state;
  std::string target;
  DxfOutputFiles files;
  int opened = -1;
};

std::set<std::string> names(const fs::path& dir) {
  std::set<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
  return out;
}

const std::string kHeader12 =
    "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$DWGCODEPAGE\n  3\nANSI_1252\n"
    "  9\n$EXTMIN\n 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n"
    "  9\n$EXTMAX\n 10\n1.000000\n 20\n1.000000\n 30\n0.000000\n"
    "  9\n$LIMMIN\n 10\n0.000000\n 20\n0.000000\n"
    "  9\n$LIMMAX\n 10\n1.000000\n 20\n1.000000\n"
    "  9\n$FILLMODE\n 70\n1\n  0\nENDSEC\n";

// What follows the TABLES head in both releases: blks, blocks2, entities, labels.
const std::string kBody =
    "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nMARK\n"
    "0\nBLOCK\n2\nFIL00001\n0\nENDSEC\n"
    "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  5\n34\n  0\nPOINT\n  5\n35\n  0\nPOINT\n  5\n36\n"
    "  0\nTEXT\n  1\nlabel\n0\nENDSEC\n";

TEST(OutputFiles, OpensFiveStreamsInAPrivateDirectoryUnderTempDir) {
  Conversion c(4);
  ASSERT_EQ(c.opened, 0);
  const fs::path dir = fs::path(c.files.private_directory()).parent_path();
  EXPECT_EQ(dir.parent_path(), c.tmp_dir.path());
  EXPECT_EQ(dir.filename().string().rfind("tsn-", 0), 0u);
  EXPECT_EQ(names(dir), (std::set<std::string>{"blocks2.tm~", "blks.tm~", "blkrecs.tm~",
                                                "entities.tm~", "entitie2.tm~"}));
  // Until the assembly only the temporary output exists beside the target.
  EXPECT_FALSE(fs::exists(c.target));
  EXPECT_EQ(fs::path(c.files.temporary_output_path()).parent_path(), c.out_dir.path());
}

TEST(OutputFiles, Release12AssemblesSectionsInOrderWithCrLf) {
  Conversion c(4);
  ASSERT_EQ(c.opened, 0);
  c.fill();
  ASSERT_EQ(c.files.assemble_dxf(c.state), 0);
  EXPECT_EQ(test::read_file(c.target),
            crlf(kHeader12 + "  0\nSECTION\n  2\nTABLES\n0\nENDSEC\n" + kBody + "  0\nEOF\n"));
  EXPECT_EQ(c.host.status_text(),
            "\nWriting out DXF/DWG entities to file " + c.target + " ...");
  EXPECT_EQ(names(c.out_dir.path()), std::set<std::string>{"drawing.dxf"});
}

TEST(OutputFiles, Release14AddsEndtabObjectsAndPatchesHandseed) {
  Conversion c(6);
  ASSERT_EQ(c.opened, 0);
  c.fill();
  ASSERT_EQ(c.files.assemble_dxf(c.state), 0);
  // Handles 22..24 were used: the seed is 25, right-aligned in eight columns.
  const std::string header14 =
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1014\n  9\n$DWGCODEPAGE\n  3\nANSI_1252\n"
      "  9\n$EXTMIN\n 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n"
      "  9\n$EXTMAX\n 10\n1.000000\n 20\n1.000000\n 30\n0.000000\n"
      "  9\n$LIMMIN\n 10\n0.000000\n 20\n0.000000\n"
      "  9\n$LIMMAX\n 10\n1.000000\n 20\n1.000000\n"
      "  9\n$FILLMODE\n 70\n1\n  9\n$HANDLING\n 70\n1\n"
      "  9\n$HANDSEED\n  5\n      25\n  0\nENDSEC\n";
  const std::string objects =
      "  0\nSECTION\n  2\nOBJECTS\n"
      "  0\nDICTIONARY\n  5\n19\n100\nAcDbDictionary\n"
      "  3\nACAD_GROUP\n350\n1A\n  3\nACAD_MLINESTYLE\n350\n1B\n"
      "  0\nDICTIONARY\n  5\n1A\n102\n{ACAD_REACTORS\n330\n19\n102\n}\n100\nAcDbDictionary\n"
      "  0\nDICTIONARY\n  5\n1B\n102\n{ACAD_REACTORS\n330\n19\n102\n}\n100\nAcDbDictionary\n"
      "  3\nSTANDARD\n350\n1C\n"
      "  0\nMLINESTYLE\n5\n1C\n102\n{ACAD_REACTORS\n330\n1B\n102\n}\n100\nAcDbMlineStyle\n"
      "  2\nSTANDARD\n70\n0\n3\n\n62\n0\n51\n90.0\n52\n90.0\n71\n2\n"
      "49\n0.5\n62\n256\n  6\nBYLAYER\n49\n-0.5\n62\n256\n  6\nBYLAYER\n"
      "  0\nENDSEC\n";
  EXPECT_EQ(test::read_file(c.target),
            crlf(header14 + "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nBLOCK_RECORD\n"
                            "  0\nENDTAB\n0\nENDSEC\n" +
                 kBody + objects + "  0\nEOF\n"));
  EXPECT_EQ(c.state.n_last_handle, 0x25u);
}

TEST(OutputFiles, TidyDxfPadsTheTablesEndsec) {
  Conversion c(4);
  c.s.TidyDxf = 1;
  dxf_configure(c.state, c.s, false);
  ASSERT_EQ(c.opened, 0);
  c.write(DxfStream::main, "  0\nSECTION\n  2\nTABLES\n");
  ASSERT_EQ(c.files.assemble_dxf(c.state), 0);
  EXPECT_EQ(test::read_file(c.target), crlf("  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n  0\nEOF\n"));
}

TEST(OutputFiles, LongLinesAreCutAndALastLineGetsItsEnd) {
  Conversion c(4);
  ASSERT_EQ(c.opened, 0);
  const std::string l255(255, 'a');
  const std::string l300 = std::string(255, 'b') + std::string(45, 'c');
  // A long line written in pieces is cut all the same.
  c.write(DxfStream::entities, l255 + "\n" + l300.substr(0, 200));
  c.write(DxfStream::entities, l300.substr(200) + "\n\nx\n");
  // The label stream's writer left its last line without an end.
  c.write(DxfStream::labels, "bare\n" + std::string(600, 'd') + "\n  0\nENDSEC");
  ASSERT_EQ(c.files.assemble_dxf(c.state), 0);
  EXPECT_EQ(test::read_file(c.target),
            crlf("0\nENDSEC\n" + l255 + "\n" + std::string(255, 'b') + "\n\nx\n" + "bare\n" +
                 std::string(255, 'd') + "\n  0\nENDSEC\n  0\nEOF\n"));
}

TEST(OutputFiles, ReportsEveryHundredThousandLinesAndAsksTheUser) {
  Conversion c(4);
  ASSERT_EQ(c.opened, 0);
  std::string many;
  for (int i = 0; i < 250000; ++i) many += "7\n";
  c.write(DxfStream::entities, many);
  // A cancel request at the first report, answered No: the copy goes on.
  c.host.cancel_requests = {true, false};
  c.host.answers = {Answer::no};
  ASSERT_EQ(c.files.assemble_dxf(c.state), 0);
  EXPECT_EQ(c.host.status_text(), "\nWriting out DXF/DWG entities to file " + c.target +
                                      " ...\nLine 100000 ...\nLine 200000 ...");
  EXPECT_EQ(c.host.boxes.size(), 1u);
  EXPECT_EQ(test::read_file(c.target), crlf("0\nENDSEC\n" + many + "  0\nEOF\n"));
}

TEST(OutputFiles, ConfirmedCancelLeavesTheEarlierOutputAndNoTemporaryFiles) {
  Conversion c(6);
  ASSERT_EQ(c.opened, 0);
  const std::string earlier = "earlier drawing\r\n\x01\x02 bytes";
  test::write_file(c.target, earlier);
  c.fill();
  std::string many;
  for (int i = 0; i < 100001; ++i) many += "  0\n";
  c.write(DxfStream::labels, many);
  c.host.cancel_requests = {true};  // answered with the default Yes
  EXPECT_EQ(c.files.assemble_dxf(c.state), -1);
  EXPECT_NE(c.host.status_text().find("\nLine 100000 ...\nProcess aborted due to user "
                                      "cancellation."),
            std::string::npos);
  EXPECT_EQ(test::read_file(c.target), earlier);
  EXPECT_EQ(names(c.out_dir.path()), std::set<std::string>{"drawing.dxf"});
  c.files.close();
  c.files.delete_temporary_files();
  EXPECT_TRUE(names(c.tmp_dir.path()).empty());
}

TEST(OutputFiles, CancelCallbackFromTheDriverStopsTheCopy) {
  Conversion c(4);
  ASSERT_EQ(c.opened, 0);
  std::string many;
  for (int i = 0; i < 300000; ++i) many += "1\n";
  c.write(DxfStream::blocks, many);
  int asked = 0;
  EXPECT_EQ(c.files.assemble_dxf(c.state, [&] { return ++asked == 2; }), -1);
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(fs::exists(c.target));
  EXPECT_TRUE(names(c.out_dir.path()).empty());
}

TEST(OutputFiles, ACancelJustBeforeTheRenameKeepsTheEarlierOutput) {
  Conversion c(6);
  ASSERT_EQ(c.opened, 0);
  test::write_file(c.target, "earlier");
  c.fill();  // far fewer lines than one report: the copy itself never asks
  int asked = 0;
  EXPECT_EQ(c.files.assemble_dxf(c.state, [&] { return ++asked == 1; }), -1);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(test::read_file(c.target), "earlier");
  EXPECT_EQ(names(c.out_dir.path()), std::set<std::string>{"drawing.dxf"});
}

// The file size limit makes the copy's writes fail as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_handler_ = ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  sighandler_t old_handler_;
};

TEST(OutputFiles, WriteFailureIsRecordedAndLeavesTheEarlierOutput) {
  Conversion c(4);
  ASSERT_EQ(c.opened, 0);
  const std::string earlier = "earlier drawing\r\n";
  test::write_file(c.target, earlier);
  c.fill();
  // 8000 bytes in each of three streams: each fits the limit, the assembled file does not.
  std::string lines;
  for (int i = 0; i < 800; ++i) lines += "  0\nLINE\n";
  for (const DxfStream stream : {DxfStream::blocks, DxfStream::blocks2, DxfStream::entities}) {
    c.write(stream, lines);
  }
  {
    FileSizeLimit limit(10000);
    EXPECT_EQ(c.files.assemble_dxf(c.state), -1);
  }
  // Counted for the driver to report; nothing shown or ended from inside the write.
  EXPECT_EQ(c.state.write_failures, 1);
  EXPECT_EQ(c.state.failed_path, c.target);
  EXPECT_TRUE(c.host.boxes.empty());
  EXPECT_EQ(test::read_file(c.target), earlier);
  EXPECT_EQ(names(c.out_dir.path()), std::set<std::string>{"drawing.dxf"});
}

TEST(OutputFiles, TemporaryFilesAreRemovedUnlessTraced) {
  std::string kept_dir;
  {
    Conversion c(4, /*trace=*/true);
    ASSERT_EQ(c.opened, 0);
    c.fill();
    ASSERT_EQ(c.files.assemble_dxf(c.state), 0);
    c.files.close();
    c.files.delete_temporary_files();
    kept_dir = c.files.private_directory();
    EXPECT_EQ(names(kept_dir).size(), 5u);
    EXPECT_EQ(test::read_file(kept_dir + "entitie2.tm~"), crlf("  0\nTEXT\n  1\nlabel\n0\nENDSEC\n"));
  }
  Conversion c(4);
  ASSERT_EQ(c.opened, 0);
  c.fill();
  ASSERT_EQ(c.files.assemble_dxf(c.state), 0);
  c.files.close();
  c.files.delete_temporary_files();
  EXPECT_TRUE(names(c.tmp_dir.path()).empty());
  EXPECT_EQ(names(c.out_dir.path()), std::set<std::string>{"drawing.dxf"});
}

TEST(OutputFiles, AnUnfinishedConversionLeavesNothingBehind) {
  test::ScratchDir out_dir;
  test::ScratchDir tmp_dir;
  const std::string target = (out_dir / "d.dxf").string();
  test::write_file(target, "old");
  {
    test::RecordingHost host;
    test::ScopedHost scoped(host);
    DxfOutputFiles files;
    ASSERT_EQ(files.open(target, tmp_dir.path().string(), false), 0);
    ASSERT_TRUE(files.sink(DxfStream::main).write("  0\nSECTION\n"));
  }
  EXPECT_EQ(test::read_file(target), "old");
  EXPECT_EQ(names(out_dir.path()), std::set<std::string>{"d.dxf"});
  EXPECT_TRUE(names(tmp_dir.path()).empty());
}

TEST(OutputFiles, OpenFailuresNameThePathAndLeaveNothing) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  test::ScratchDir out_dir;
  test::ScratchDir tmp_dir;
  DxfOutputFiles files;
  const std::string missing_tmp = (tmp_dir / "gone").string();
  EXPECT_EQ(files.open((out_dir / "a.dxf").string(), missing_tmp, true), 1);
  EXPECT_EQ(host.status_text(),
            "\nError: Could not open output file " + missing_tmp + "/blocks2.tm~");
  EXPECT_EQ(host.beeps.size(), 1u);
  EXPECT_TRUE(names(out_dir.path()).empty());
  EXPECT_FALSE(files.is_open());

  host.status.clear();
  const std::string bad_target = (out_dir / "no" / "a.dxf").string();
  EXPECT_EQ(files.open(bad_target, tmp_dir.path().string(), false), 1);
  EXPECT_EQ(host.status_text(), "\nError: Could not open output file " + bad_target);
  EXPECT_TRUE(names(tmp_dir.path()).empty());
}

}  // namespace
}  // namespace tsn
