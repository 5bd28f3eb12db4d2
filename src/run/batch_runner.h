// The batch runner: the commands of a command line or of a command file run one step at a
// time (the batch window steps it from its timer and its Next button), merge groups included,
// with the counts the closing message gives.
#pragma once

#include <string>
#include <vector>

#include "run/batch_commands.h"
#include "run/merge_group.h"
#include "run/switches.h"

namespace tsn {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFatal = 1;
inline constexpr int kExitFailed = 2;
// A run cancelled by a signal ends as shells report a process the signal ended: 128 + it.
inline constexpr int kExitSignalBase = 128;

class BatchRunner {
 public:
  // Opens the log, reads tsnbatch.ini and, for a command file, writes the banner.
  explicit BatchRunner(CommandSource& source);
  BatchRunner(const BatchRunner&) = delete;
  BatchRunner& operator=(const BatchRunner&) = delete;

  // Reads the next command and converts its input, or saves the merge group an /O line
  // closes. false once the batch is over: no command left, an /X line, or a failure.
  bool step() { return read_next() && run_pending(); }
  // The two halves of a step: reading the next command (with the control lines before it,
  // such as /H, which a window must know before it shows), and running it.
  bool read_next();
  bool run_pending();
  // After the last step: what a merge group left open or given up means, message 199 with the
  // counts, the warning of refused records, the name counters stored. The run's exit status.
  int finish();

  int converted() const { return converted_; }  // source files
  int written() const { return written_; }      // output files
  bool exit_line_read() const { return exit_line_; }

 private:
  CommandSource& source_;
  CommandBaseline baseline_;
  std::vector<std::string> defaults_lines_;
  MergeGroup group_;
  bool group_lost_ = false;  // a member of the group failed
  bool exit_line_ = false;
  int status_ = kExitSuccess;
  int pending_ = kCommandsEnded;  // what read_next found
  ConversionRequest request_;
  int converted_ = 0;
  int written_ = 0;
  long refused_ = 0;
};

// Every command of the source in turn; the run stops at the first that fails. The exit status.
int run_commands(CommandSource& source);

}  // namespace tsn
