// Command files and tsnbatch.ini read line by line, and the commands they yield.
#include "run/batch_commands.h"

#include <sys/stat.h>

#include <utility>

#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/string_table.h"

namespace tsn {
namespace {

constexpr int kCaptionError = 7;
constexpr int kCaptionProgram = 10;
constexpr int kMsgCommandFileOpen = 179;
constexpr int kMsgCloseWithoutGroup = 203;
constexpr int kMsgGroupAlreadyOpen = 204;

// Internal results of control_line, never returned by next().
constexpr int kNotControlLine = 100;
constexpr int kReadNextLine = 101;

constexpr const char* kNestedCommandFile = "A command file cannot name another command file: %s";

void warn(const std::string& text) { show_message(kCaptionProgram, text, Icon::warning); }

// "/G" or "-G" and so on, the letter in either case.
bool is_control(const std::string& token, char letter) {
  return token.size() == 2 && (token[0] == '/' || token[0] == '-') &&
         (token[1] == letter || token[1] == static_cast<char>(letter - 'A' + 'a'));
}

// What a command file that is no regular file is instead; empty for a regular file.
std::string_view not_a_text_file(const struct stat& st) {
  if (S_ISREG(st.st_mode)) return {};
  if (S_ISDIR(st.st_mode)) return "a directory";
  if (S_ISFIFO(st.st_mode)) return "a FIFO";
  if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "a device";
  return "no regular file";
}

}  // namespace

bool read_command_line(std::FILE* file, std::string& line, CommandLineFacts* facts) {
  line.clear();
  CommandLineFacts seen;
  int c = std::getc(file);
  while (c == ' ' || c == '\t') c = std::getc(file);
  auto keep = [&line](char ch) {
    if (line.size() < kMaxCommandLine) line.push_back(ch);
  };
  // Characters are held back one step so that a backslash or CR right before the newline
  // can be told apart from one inside the line.
  bool backslash = false;
  bool cr = false;
  for (; c != EOF; c = std::getc(file)) {
    if (c == '\0' && seen.nul_line == 0) seen.nul_line = seen.newlines + 1;
    if (c == '\n') {
      ++seen.newlines;
      if (backslash) {
        keep(' ');
        backslash = false;
        cr = false;
        continue;
      }
      break;
    }
    if (c == '\r' && !cr) {
      cr = true;
      continue;
    }
    if (cr) {  // a CR inside the line is kept
      if (backslash) keep('\\');
      backslash = false;
      keep('\r');
      cr = c == '\r';
      if (cr) continue;
    }
    if (backslash) keep('\\');
    backslash = c == '\\';
    if (!backslash) keep(static_cast<char>(c));
  }
  if (backslash) keep('\\');  // at the end of the file there is nothing to continue
  if (facts != nullptr) *facts = seen;
  return !line.empty();
}

std::vector<std::string> read_batch_defaults(const std::string& program_dir) {
  std::vector<std::string> lines;
  const std::string path = with_trailing_separator(program_dir) + kBatchDefaultsFile;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
  if (!file) return lines;
  std::string line;
  while (lines.size() < kMaxDefaultsLines && read_command_line(file.get(), line)) {
    lines.push_back(line.substr(0, kMaxDefaultsLine));
  }
  return lines;
}

CommandSource CommandSource::for_command_line(std::vector<std::string> tokens, RunState& run) {
  CommandSource source;
  source.command_line_ = std::move(tokens);
  run.unattended = true;
  return source;
}

std::optional<CommandSource> CommandSource::open_command_file(const std::string& path,
                                                              RunState& run) {
  CommandSource source;
  source.path_ = path;
  // Looked at before opening: opening a FIFO would wait for a writer, and a device such as
  // /dev/zero never ends.
  struct stat st {};
  std::string_view kind;  // what the path is, when it is there and no regular file
  if (::stat(path.c_str(), &st) == 0) {
    kind = not_a_text_file(st);
    if (kind.empty()) source.file_.reset(std::fopen(path.c_str(), "r"));
  }
  if (!source.file_ || ::fstat(fileno(source.file_.get()), &st) != 0 ||
      !not_a_text_file(st).empty()) {
    host().beep(Icon::warning);
    std::string text = format_printf(load_text(kMsgCommandFileOpen).c_str(), path.c_str());
    if (!kind.empty()) text += format_printf(": it is %s, not a text file", kind.data());
    show_message(kCaptionError, text, Icon::warning);
    return std::nullopt;
  }
  run.command_file_mode = true;
  run.unattended = true;
  return source;
}

bool CommandSource::next_tokens(std::vector<std::string>& tokens) {
  if (!file_) {
    if (command_line_taken_) return false;
    command_line_taken_ = true;
    tokens = command_line_;
    return true;
  }
  std::string line;
  CommandLineFacts facts;
  for (;;) {
    const long first_line = lines_read_ + 1;
    const bool more = read_command_line(file_.get(), line, &facts);
    lines_read_ += facts.newlines;
    // A NUL byte belongs to no text: the file is binary, or damaged.
    if (facts.nul_line != 0) {
      nul_line_ = first_line + facts.nul_line - 1;
      return false;
    }
    if (!more) return false;
    if (line.front() == ';') continue;
    tokens = split_command_line(line);
    return true;
  }
}

int CommandSource::control_line(const std::vector<std::string>& tokens, RunState& run,
                                ConversionRequest& request) {
  if (tokens.size() == 1) {
    const std::string& t = tokens[0];
    if (is_control(t, 'G')) {
      if (run.merge_group_open) {
        warn(load_text(kMsgGroupAlreadyOpen));
        return kCommandError;
      }
      run.merge_group_open = true;
      run.merge_group_first = true;
      return kReadNextLine;
    }
    if (is_control(t, 'N')) {
      run.no_auto_run = true;
      return kReadNextLine;
    }
    if (is_control(t, 'H')) {
      run.run_hidden = true;
      run.no_auto_run = true;
      return kReadNextLine;
    }
    if (is_control(t, 'X')) {
      run.exit_when_done = true;
      return kExitLine;
    }
  }
  if (tokens.size() == 2 && is_control(tokens[0], 'O')) {
    if (!run.merge_group_open) {
      warn(load_text(kMsgCloseWithoutGroup));
      return kCommandError;
    }
    run.merge_group_closing = true;
    run.merge_group_open = false;
    request = ConversionRequest{};
    request.output_path = tokens[1];
    run.output_path = tokens[1];
    return kMergeGroupClosing;
  }
  return kNotControlLine;
}

int CommandSource::next(RunState& run, int save_file_type, ConversionRequest& request) {
  std::vector<std::string> tokens;
  while (next_tokens(tokens)) {
    if (file_) {
      const int control = control_line(tokens, run, request);
      if (control == kReadNextLine) continue;
      if (control != kNotControlLine) return control;
    }
    if (tokens.empty()) return kCommandsEnded;  // a line of empty quotes is an empty line
    ConversionRequest parsed;
    const int fault = parse_request(tokens, save_file_type, parsed);
    if (fault != 0) {
      warn(load_text(fault));
      return kCommandError;
    }
    switch (parsed.kind) {
      case RequestKind::comment:
        continue;
      case RequestKind::command_file:
        warn(format_printf(kNestedCommandFile, parsed.command_file.c_str()));
        return kCommandError;
      case RequestKind::interactive:
        return kCommandsEnded;
      case RequestKind::convert:
        run.input_path = parsed.input_path;
        run.output_path = parsed.output_path;
        request = std::move(parsed);
        return kCommandReady;
    }
  }
  if (nul_line_ != 0) {
    host().beep(Icon::warning);
    show_message(kCaptionError,
                 format_printf("Error: The command file %s holds a NUL byte in line %ld; it is "
                               "not a text file. Nothing more of it is run.",
                               path_.c_str(), nul_line_),
                 Icon::warning);
    return kCommandError;
  }
  return kCommandsEnded;
}

}  // namespace tsn
