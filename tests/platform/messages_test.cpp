// Tests of status lines, the log and trace files, cancellation, progress and critical errors.
#include "platform/messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/string_table.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::ProcessEnded;
using test::read_file;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

DatabaseError disk_gone() { return {42, "disk gone"}; }

// Each test gets a recording host and a scratch directory of its own; the log and trace files
// and the database error source are put back afterwards.
class MessagesTest : public ::testing::Test {
 protected:
  ~MessagesTest() override {
    close_diagnostic_files();
    set_database_error_source(nullptr);
  }
  std::string at(const char* name) const { return (dir / name).string(); }
  // The status of the end_process the call led to; -1 when it returned.
  template <typename F>
  static int end_status(F call) {
    try {
      call();
    } catch (const ProcessEnded& ended) {
      return ended.status;
    }
    return -1;
  }

  test::ScratchDir dir;
  test::RecordingHost rec;
  test::ScopedHost scoped{rec};
};

TEST_F(MessagesTest, StatusLinesAreFormattedUncutAndCountedOncePerCall) {
  const int before = status_line_count();
  const std::string name(5000, 'x');
  status_write("\n%s\n%d points", name.c_str(), 17);
  EXPECT_EQ(status_line_count() - before, 1);
  status_error("\n50%d done");
  EXPECT_EQ(status_line_count() - before, 2);
  dialog_error(3, load_text(51));
  EXPECT_EQ(status_line_count() - before, 2);
  EXPECT_THAT(rec.events,
              ElementsAre("status:\n" + name + "\n17 points", "beep", "status:\n50%d done",
                          "dialog_error:Decimal Places must be between 0-16", "beep"));
  EXPECT_THAT(rec.beeps, ElementsAre(Icon::warning, Icon::warning));
}

TEST_F(MessagesTest, ListIsClearedOnlyAfterMoreThan200Writes) {
  for (int i = status_line_count(); i <= 200; ++i) status_write("\nline");
  status_clear_if_full();
  EXPECT_EQ(rec.status_clears, 1);
  EXPECT_EQ(status_line_count(), 0);
  for (int i = 0; i < 200; ++i) status_write("\nline %d", i);
  status_clear_if_full();
  EXPECT_EQ(rec.status_clears, 1);
}

TEST_F(MessagesTest, LogCopiesStatusLinesTraceStartsWithItsMarkerAndReopeningReplaces) {
  ASSERT_TRUE(open_trace_file(at("trace"), true));
  ASSERT_TRUE(open_log_file(at("tessaryn.log"), true));
  trace_write("main_process() :\n");
  status_write("\nfirst\nsecond");
  log_write("direct %d\n", 5);
  trace_write("%d records in %.1f s\n", 12, 0.5);
  // Read while the files are still open: every write is flushed at once.
  EXPECT_EQ(read_file(at("trace")), "Start trace!!\nmain_process() :\n12 records in 0.5 s\n");
  EXPECT_EQ(read_file(at("tessaryn.log")), "\nfirst\nseconddirect 5\n");
  close_diagnostic_files();
  ASSERT_TRUE(open_log_file(at("tessaryn.log"), true));
  status_write("\nnew run");
  EXPECT_EQ(read_file(at("tessaryn.log")), "\nnew run");
}

TEST_F(MessagesTest, SwitchedOffOrUnwritableFilesGetNothing) {
  EXPECT_TRUE(open_log_file(at("tessaryn.log"), false));
  EXPECT_TRUE(open_trace_file(at("trace"), false));
  status_write("\nline");
  log_write("log %d", 1);
  trace_write("trace %d", 2);
  EXPECT_FALSE(std::filesystem::exists(at("tessaryn.log")));
  EXPECT_FALSE(std::filesystem::exists(at("trace")));
  EXPECT_FALSE(open_log_file(at("missing/tessaryn.log"), true));
  EXPECT_FALSE(open_trace_file(at("missing/trace"), true));
  status_write("\nstill shown");
  EXPECT_THAT(rec.status, ElementsAre("\nline", "\nstill shown"));
}

TEST_F(MessagesTest, CancelRequestsArePumpedOnceAndAskCancelWritesTheAbortLineWhenConfirmed) {
  rec.cancel_requests = {true};
  EXPECT_EQ(pump_messages(), 1);
  EXPECT_EQ(pump_messages(), 0);
  EXPECT_THAT(rec.events, ElementsAre("busy", "poll", "busy", "busy", "poll", "busy"));
  rec.answers = {Answer::no, Answer::yes};
  EXPECT_EQ(ask_cancel(), 0);
  EXPECT_THAT(rec.status, IsEmpty());
  EXPECT_EQ(ask_cancel(), -1);
  EXPECT_THAT(rec.status, ElementsAre("\nProcess aborted due to user cancellation."));
  ASSERT_EQ(rec.boxes.size(), 2u);
  EXPECT_EQ(rec.boxes[1].caption + ": " + rec.boxes[1].text,
            "Right button hit: Abort current process ?");
  EXPECT_EQ(rec.boxes[1].buttons, Buttons::yes_no);
  EXPECT_EQ(rec.boxes[1].default_answer, Answer::yes);
}

TEST_F(MessagesTest, ACancelRequestAfterTheOutputWasWrittenIsReportedAsTooLate) {
  report_late_cancel("a.dxf");  // nothing pending: nothing said
  rec.cancel_requests = {true};
  report_late_cancel("b.dxf");
  EXPECT_THAT(rec.status, ElementsAre("\nCancel request came too late: b.dxf was already written"));
  EXPECT_THAT(rec.boxes, IsEmpty());  // no question: there is nothing left to cancel
}

TEST_F(MessagesTest, ProgressStartsAtZeroAndClampsStepsAndMessagesTakeANumberedCaption) {
  progress_start();
  progress_step_to(42);
  progress_step_to(-5);
  progress_step_to(150);
  progress_end();
  EXPECT_THAT(rec.events, ElementsAre("progress_show", "progress:0", "progress:42", "progress:0",
                                      "progress:100", "progress_hide"));
  rec.answers = {Answer::no};
  EXPECT_EQ(show_message(10, "Replace?", Icon::question, Buttons::yes_no, Answer::yes), Answer::no);
  ASSERT_EQ(rec.boxes.size(), 1u);
  EXPECT_EQ(rec.boxes[0].caption, "Tessaryn");
  EXPECT_EQ(rec.boxes[0].text, "Replace?");
}

TEST_F(MessagesTest, ReadErrorRetriesOnYesAndEndsOnNo) {
  rec.answers = {Answer::yes, Answer::no};
  EXPECT_EQ(end_status([] { critical_error(1); }), -1);
  EXPECT_EQ(end_status([] { critical_error(1); }), 1);
  EXPECT_THAT(rec.events, ElementsAre("box:Error", "box:Error", "end:1"));
  EXPECT_EQ(rec.boxes[0].text, "File read error: Retry?");
  EXPECT_EQ(rec.boxes[0].buttons, Buttons::yes_no);
  EXPECT_EQ(rec.boxes[0].default_answer, Answer::no);
}

TEST_F(MessagesTest, DiskFullAndDatabaseErrorsEndTheProcessOtherTypesOnlyLeaveTheMark) {
  EXPECT_EQ(end_status([] { critical_error(5); }), 1);
  EXPECT_EQ(end_status([] { critical_error(3); }), 1);
  set_database_error_source(disk_gone);
  for (int type : {2, 6}) EXPECT_EQ(end_status([type] { critical_error(type); }), 1);
  for (int type : {-1, 0, 4, 7}) EXPECT_EQ(end_status([type] { critical_error(type); }), -1);
  std::vector<std::string> texts;
  for (const auto& box : rec.boxes) texts.push_back(box.caption + ": " + box.text);
  EXPECT_THAT(texts, ElementsAre("Error: Critical error 5, AD error 0 (), terminating",
                                 "Error: File error: Disk may be full.",
                                 "Error: Critical error 2, AD error 42 (disk gone), terminating",
                                 "Error: Critical error 6, AD error 42 (disk gone), terminating"));
  // The developers' mark goes to the trace only.
  EXPECT_TRUE(rec.status.empty());
}

TEST(CriticalErrorDeathTest, ConsoleRunExitsWithStatusOne) {
  EXPECT_EXIT((set_host(nullptr), critical_error(3)), ::testing::ExitedWithCode(1),
              "Error: File error: Disk may be full\\.");
  // Unattended, the read-error question takes its default answer, No.
  EXPECT_EXIT((set_host(nullptr), critical_error(1)), ::testing::ExitedWithCode(1),
              "Error: File read error: Retry\\? -> No");
}

TEST_F(MessagesTest, DatabaseErrorReportNamesTheStepOnlyWhenTracing) {
  set_database_error_source(disk_gone);
  const int before = status_line_count();
  report_database_error(7);
  EXPECT_THAT(rec.status, ElementsAre("\n", "Error is 42: disk gone"));
  EXPECT_EQ(status_line_count() - before, 2);
  rec.status.clear();
  ASSERT_TRUE(open_trace_file(at("trace"), true));
  report_database_error(7);
  EXPECT_THAT(rec.status, ElementsAre("\n", "7:", "Error is 42: disk gone"));
}

}  // namespace
}  // namespace tsn
