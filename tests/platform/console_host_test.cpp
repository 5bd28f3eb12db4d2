// Tests of the console host: its output streams, questions, the progress bar, Ctrl-C and
// the choice of the host in use.
#include "platform/console_host.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

#include "support/recording_host.h"

namespace tsn {
namespace {

// An anonymous temporary file standing in for stdout or stderr.
struct Capture {
  std::FILE* file = std::tmpfile();
  ~Capture() { std::fclose(file); }
  std::string text() const {
    std::fflush(file);
    std::rewind(file);
    std::string all;
    for (int c; (c = std::fgetc(file)) != EOF;) all += static_cast<char>(c);
    return all;
  }
};

// A raw pseudo-terminal: the host writes to its terminal side; take() reads the other side up
// to a marker it writes itself, so the read never depends on timing.
struct PseudoTerminal {
  int master = -1;
  std::FILE* terminal = nullptr;
  PseudoTerminal() {
    int fd = -1;
    if (openpty(&master, &fd, nullptr, nullptr, nullptr) != 0) return;
    termios mode{};
    tcgetattr(fd, &mode);
    cfmakeraw(&mode);
    tcsetattr(fd, TCSANOW, &mode);
    terminal = fdopen(fd, "w");
  }
  ~PseudoTerminal() {
    if (terminal != nullptr) std::fclose(terminal);
    if (master >= 0) close(master);
  }
  std::string take() {
    std::fputc('\x01', terminal);
    std::fflush(terminal);
    std::string all;
    pollfd ready{master, POLLIN, 0};
    char c;
    while (poll(&ready, 1, 5000) == 1 && read(master, &c, 1) == 1 && c != '\x01') all += c;
    return all;
  }
};

bool sigint_is_default() {
  struct sigaction current {};
  sigaction(SIGINT, nullptr, &current);
  return (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_DFL;
}

// A console host writing into two temporary files, fresh for every test.
class ConsoleHostTest : public ::testing::Test {
 protected:
  Capture out;
  Capture err;
  ConsoleHost console{out.file, err.file};
};

TEST_F(ConsoleHostTest, StatusGoesToOutUnlessQuietEverythingElseToErr) {
  console.status_append("\nPoints Processed = 12");
  console.set_quiet(true);
  console.status_append("\nhidden");
  console.message_box("Error", "Could not open file a.shp", Icon::warning, Buttons::ok, Answer::ok);
  console.set_quiet(false);
  console.status_append("\nback\n");
  console.dialog_error(5, "Decimal Places must be between 0-16");
  console.message_box("", "no caption", Icon::none, Buttons::ok, Answer::cancel);
  // A text that already starts with its caption gets no second one.
  console.message_box("Error", "Error: Could not open file b.shp", Icon::warning, Buttons::ok,
                      Answer::ok);
  console.message_box("Error", "Errors: 2", Icon::warning, Buttons::ok, Answer::ok);
  // No bar, as err is not a terminal.
  console.progress_show();
  console.progress_set(40);
  console.progress_hide();
  EXPECT_EQ(out.text(), "\nPoints Processed = 12\nback\n");
  EXPECT_EQ(err.text(),
            "Error: Could not open file a.shp\nDecimal Places must be between 0-16\nno caption\n"
            "Error: Could not open file b.shp\nError: Errors: 2\n");
}

TEST_F(ConsoleHostTest, QuestionTakesTheDefaultButtonAndSaysWhich) {
  // The buttons, the default asked for, the answer taken; a default that is no button of the
  // box gives the first button.
  const std::tuple<Buttons, Answer, Answer, const char*> cases[] = {
      {Buttons::yes_no, Answer::no, Answer::no, "No"},
      {Buttons::yes_no, Answer::yes, Answer::yes, "Yes"},
      {Buttons::yes_no, Answer::ok, Answer::yes, "Yes"},
      {Buttons::ok_cancel, Answer::cancel, Answer::cancel, "Cancel"},
      {Buttons::ok_cancel, Answer::no, Answer::ok, "OK"},
  };
  std::string expected;
  for (const auto& [buttons, asked, taken, name] : cases) {
    EXPECT_EQ(console.message_box("T", "Replace?", Icon::question, buttons, asked), taken) << name;
    expected += std::string("T: Replace? -> ") + name + "\n";
  }
  EXPECT_EQ(err.text(), expected);
}

TEST(ConsoleHostProgress, BarTextShowsTheClampedPercentage) {
  EXPECT_EQ(progress_bar_text(-5), "[" + std::string(40, ' ') + "]   0 %");
  EXPECT_EQ(progress_bar_text(50), "[" + std::string(20, '#') + std::string(20, ' ') + "]  50 %");
  EXPECT_EQ(progress_bar_text(99), "[" + std::string(39, '#') + " ]  99 %");
  EXPECT_EQ(progress_bar_text(250), "[" + std::string(40, '#') + "] 100 %");
}

TEST(ConsoleHostProgress, TerminalBarIsRedrawnOnChangeAndWipedForMessages) {
  PseudoTerminal tty;
  if (tty.terminal == nullptr) GTEST_SKIP() << "no pseudo-terminal available";
  Capture out;
  ConsoleHost console(out.file, tty.terminal);
  const std::string blank = "\r" + std::string(progress_bar_text(0).size(), ' ') + "\r";
  console.progress_set(30);  // before the bar is shown: nothing
  console.progress_show();
  EXPECT_EQ(tty.take(), progress_bar_text(0));
  console.progress_set(-3);
  console.progress_set(5);
  console.progress_set(5);
  EXPECT_EQ(tty.take(), "\r" + progress_bar_text(5));
  console.message_box("Warning", "careful", Icon::warning, Buttons::ok, Answer::ok);
  EXPECT_EQ(tty.take(), blank + "Warning: careful\n");
  console.progress_set(5);
  EXPECT_EQ(tty.take(), progress_bar_text(5));
  console.status_append("\nPoints Processed = 3");  // out is not the terminal
  console.progress_hide();
  console.progress_set(50);
  EXPECT_EQ(tty.take(), blank);
}

TEST_F(ConsoleHostTest, CtrlCIsReportedOnceAndTheHandlerReArmed) {
  ConsoleHost::remove_interrupt_handler();
  ASSERT_TRUE(sigint_is_default());
  ConsoleHost::install_interrupt_handler();
  EXPECT_FALSE(sigint_is_default());
  EXPECT_FALSE(console.poll_cancel());

  ASSERT_EQ(raise(SIGINT), 0);
  // Until the request is collected a second Ctrl-C would end the process.
  EXPECT_TRUE(sigint_is_default());
  EXPECT_TRUE(console.poll_cancel());
  EXPECT_FALSE(console.poll_cancel());
  ASSERT_FALSE(sigint_is_default());  // re-armed: a further Ctrl-C is a request again

  // Removing the handler restores the disposition and drops a pending request.
  ASSERT_EQ(raise(SIGINT), 0);
  ConsoleHost::remove_interrupt_handler();
  EXPECT_TRUE(sigint_is_default());
  EXPECT_FALSE(console.poll_cancel());
}

TEST(ConsoleHostCancelDeathTest, SecondCtrlCEndsTheProcessAnIgnoredOneStaysIgnored) {
  EXPECT_EXIT((ConsoleHost::install_interrupt_handler(), raise(SIGINT), raise(SIGINT), exit(0)),
              ::testing::KilledBySignal(SIGINT), "");
  EXPECT_EXIT((ConsoleHost::remove_interrupt_handler(), signal(SIGINT, SIG_IGN),
               ConsoleHost::install_interrupt_handler(), raise(SIGINT),
               exit(console_host().poll_cancel() ? 3 : 0)),
              ::testing::ExitedWithCode(0), "");
}

TEST(HostInUse, InstalledHostReplacesTheConsoleAndTakesCtrlCAway) {
  test::RecordingHost recording;
  set_host(&recording);
  EXPECT_TRUE(sigint_is_default());
  host().status_append("\nhello");
  EXPECT_EQ(recording.status_text(), "\nhello");

  set_host(nullptr);
  EXPECT_EQ(&host(), &console_host());
  EXPECT_FALSE(sigint_is_default());
  set_host(&recording);
  set_host(&console_host());
  EXPECT_EQ(&host(), &console_host());
  EXPECT_FALSE(sigint_is_default());
  ConsoleHost::remove_interrupt_handler();
}

}  // namespace
}  // namespace tsn
