// Commands of an unattended run: the line reader of command files and of tsnbatch.ini, and
// the source that yields one conversion request after another with the control lines applied.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "run/command_line.h"
#include "run/conv_state.h"

namespace tsn {

// Results of CommandSource::next.
inline constexpr int kCommandReady = 0;
inline constexpr int kCommandsEnded = 1;         // no command left (end of file, empty line)
inline constexpr int kCommandError = -1;         // a message was shown; the batch stops
inline constexpr int kMergeGroupClosing = -10;   // "/O path": write the group's drawing
inline constexpr int kExitLine = -11;            // "/X": stop, and close when something was written

inline constexpr std::size_t kMaxCommandLine = 1023;    // characters kept of one line
inline constexpr std::size_t kMaxDefaultsLines = 64;    // lines read from tsnbatch.ini
inline constexpr std::size_t kMaxDefaultsLine = 255;    // characters kept of one of them
inline constexpr const char* kBatchDefaultsFile = "tsnbatch.ini";

// Reads one line: leading blanks and tabs are skipped; a backslash right before the newline
// is dropped and the line continues with a blank in the newline's place; a CR before the
// newline (a Windows-written file) is dropped; at most 1023 characters are kept. false at the
// end of the file and for a line that comes out empty, which ends the file as well.
// `facts`, when given, learns the line ends read and where a NUL byte was met.
struct CommandLineFacts {
  long newlines = 0;  // line ends consumed, continuations included
  long nul_line = 0;  // the first NUL byte's line, counting from 1 in this read; 0: none
};
bool read_command_line(std::FILE* file, std::string& line, CommandLineFacts* facts = nullptr);

// The lines of the defaults file (program directory + "tsnbatch.ini"), each one switch token
// (';' lines included: the switch walk skips them): at most 64 lines of at most 255
// characters. A missing file gives no lines.
std::vector<std::string> read_batch_defaults(const std::string& program_dir);

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};

// The commands of a run, from the command line or from a command file, one after another.
class CommandSource {
 public:
  // The one command of the command line (tokens as split); sets `unattended`.
  static CommandSource for_command_line(std::vector<std::string> tokens, RunState& run);
  // Opens a command file; sets `command_file_mode` and `unattended`. When it cannot be
  // opened, or is no regular file (a directory, a device, a FIFO): message 179 with the path
  // and what it is (caption "Error", warning icon, after a beep), nothing.
  static std::optional<CommandSource> open_command_file(const std::string& path, RunState& run);

  bool command_file_mode() const { return file_ != nullptr; }

  // The next command. Comment lines are skipped; in command-file mode the control lines /G,
  // /O path, /N, /H and /X are handled (run options set in `run`); any other line must be a
  // command by the command-line grammar. kCommandReady with `request` filled (kind convert),
  // kMergeGroupClosing with request.output_path the group's output, kExitLine, kCommandsEnded,
  // or kCommandError after a message (a line holding a NUL byte is one, naming the file and
  // the line). `save_file_type` is the current output type.
  int next(RunState& run, int save_file_type, ConversionRequest& request);

 private:
  CommandSource() = default;
  // The tokens of the next line that is not a comment; false when none is left.
  bool next_tokens(std::vector<std::string>& tokens);
  // A control line's result, kReadNextLine after /G /N /H, or kNotControlLine.
  static int control_line(const std::vector<std::string>& tokens, RunState& run,
                          ConversionRequest& request);

  std::unique_ptr<std::FILE, FileCloser> file_;
  std::string path_;
  long lines_read_ = 0;
  long nul_line_ = 0;  // the line of a NUL byte met, which ends the commands
  std::vector<std::string> command_line_;
  bool command_line_taken_ = false;
};

}  // namespace tsn
