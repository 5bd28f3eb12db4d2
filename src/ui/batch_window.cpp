// The batch window's widgets and the stepping of the batch from its timer and its buttons.
#include "ui/batch_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "run/conv_state.h"
#include "settings/program_settings.h"
#include "ui/front_end_run.h"

namespace tsn::ui {
namespace {

constexpr int kBatchPosition = 1;  // the batch window's remembered position
constexpr int kStartDelayMs = 100;

}  // namespace

BatchWindow::BatchWindow(QtHost& host, CommandSource& source)
    : host_(host),
      status_list_(new QPlainTextEdit(this)),
      progress_(new QProgressBar(this)),
      percent_(new QLabel("0 %", this)),
      source_(new QLabel(this)),
      output_(new QLabel(this)),
      next_(new QPushButton("&Next", this)),
      exit_(new QPushButton("E&xit", this)),
      cancel_(new QPushButton("&Cancel", this)) {
  setWindowTitle("Batch Mode");
  status_list_->setReadOnly(true);
  status_list_->setMinimumSize(560, 260);
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  auto* paths = new QGridLayout;
  paths->addWidget(new QLabel("Source:", this), 0, 0);
  paths->addWidget(source_, 0, 1);
  paths->addWidget(new QLabel("Output:", this), 1, 0);
  paths->addWidget(output_, 1, 1);
  paths->setColumnStretch(1, 1);
  auto* bar = new QHBoxLayout;
  bar->addWidget(progress_, 1);
  bar->addWidget(percent_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cancel_);
  buttons->addStretch(1);
  buttons->addWidget(next_);
  buttons->addWidget(exit_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(paths);
  layout->addWidget(status_list_, 1);
  layout->addLayout(bar);
  layout->addLayout(buttons);
  progress_->hide();
  percent_->hide();
  connect(next_, &QPushButton::clicked, this, [this] { next_clicked(); });
  connect(exit_, &QPushButton::clicked, this, [this] { exit_clicked(); });
  // Asked between records; the conversion then asks whether to abort.
  connect(cancel_, &QPushButton::clicked, this, [this] { host_.request_cancel(); });
  cancel_->setEnabled(false);

  const WindowPosition& at = conv_state.settings.window_positions[kBatchPosition];
  if (at.x >= 0 && at.y >= 0) move(at.x, at.y);
  host_.set_status_window({this, status_list_, progress_, percent_});
  // Between commands a request to end finishes the batch as Exit does.
  host_.on_end_request([this] { exit_clicked(); });
  runner_.emplace(source);  // the banner
  more_ = runner_->read_next();
  show_paths();
  // Next waits for the user only when the file asked for it.
  next_->setVisible(conv_state.run.no_auto_run);
  next_->setEnabled(false);
  exit_->setEnabled(false);
  exit_->setDefault(true);
  QTimer::singleShot(kStartDelayMs, this, [this] { run_from_timer(); });
}

bool BatchWindow::hidden() const { return conv_state.run.run_hidden; }

int BatchWindow::run_hidden() {
  while (more_ && run_one()) {
  }
  ended();
  return status_;
}

bool BatchWindow::run_one() {
  cancel_->setEnabled(true);
  more_ = runner_->run_pending() && runner_->read_next();
  cancel_->setEnabled(false);
  show_paths();
  return more_;
}

void BatchWindow::run_from_timer() {
  while (more_ && run_one()) {
    if (conv_state.run.no_auto_run) {
      exit_->setEnabled(true);
      next_->setEnabled(true);
      next_->setFocus();
      return;
    }
  }
  ended();
}

void BatchWindow::next_clicked() {
  exit_->setEnabled(false);
  next_->setEnabled(false);
  if (!more_ || !run_one()) {
    ended();
    return;
  }
  exit_->setEnabled(true);
  next_->setEnabled(true);
  next_->setFocus();
}

void BatchWindow::ended() {
  if (!ended_) {
    ended_ = true;
    status_ = runner_->finish();  // message 199, the name counters
  }
  next_->setEnabled(false);
  exit_->setEnabled(true);
  exit_->setFocus();
  // After an /X line the window closes by itself once something was written.
  if (runner_->exit_line_read() && runner_->converted() >= 1 && runner_->written() >= 1) {
    exit_clicked();
  }
}

void BatchWindow::exit_clicked() {
  if (!ended_) ended();
  WindowPosition& at = conv_state.settings.window_positions[kBatchPosition];
  at.x = pos().x();
  at.y = pos().y();
  save_window_position(conv_state.settings, kBatchPosition);
  accept();
}

QString BatchWindow::status_text() const { return status_list_->toPlainText(); }

void BatchWindow::show_paths() {
  source_->setText(QString::fromLocal8Bit(conv_state.run.input_path.c_str()));
  output_->setText(QString::fromLocal8Bit(conv_state.run.output_path.c_str()));
}

int run_batch_window(CommandSource& source) {
  return run_front_end([&](QtHost& host) {
    BatchWindow window(host, source);
    if (window.hidden()) return window.run_hidden();
    window.exec();
    return window.status();
  });
}

}  // namespace tsn::ui
