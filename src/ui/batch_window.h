// The batch window: a command file's commands run one after another in a window of their own,
// with the status list, the progress bar, the input and output of the current command, and
// Exit and Next (Next only when the command file asked to wait after each command with /N), and
// Cancel while a command runs.
#pragma once

#include <QDialog>
#include <optional>

#include "run/batch_runner.h"
#include "ui/qt_host.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tsn::ui {

class BatchWindow final : public QDialog {
 public:
  // Becomes the host's status window and reads the first command; `hidden()` tells whether the
  // command file asked for a hidden run before it.
  BatchWindow(QtHost& host, CommandSource& source);

  bool hidden() const;
  // Runs the whole batch without showing the window (a hidden run).
  int run_hidden();
  // The run's exit status, once the batch ended.
  int status() const { return status_; }
  QString status_text() const;

 private:
  void run_from_timer();
  void next_clicked();
  void exit_clicked();
  // Runs the pending command and reads the next; false when the batch is over.
  bool run_one();
  void ended();
  void show_paths();

  QtHost& host_;
  QPlainTextEdit* status_list_;
  QProgressBar* progress_;
  QLabel* percent_;
  QLabel* source_;
  QLabel* output_;
  QPushButton* next_;
  QPushButton* exit_;
  QPushButton* cancel_;  // enabled while a command runs
  std::optional<BatchRunner> runner_;
  bool ended_ = false;
  bool more_ = false;  // a command is read and waits to run
  int status_ = kExitSuccess;
};

// The front end of command-file runs: the batch window on the display. Installed by main().
int run_batch_window(CommandSource& source);

}  // namespace tsn::ui
