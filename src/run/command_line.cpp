// Command-line tokens and the grammar of one conversion command.
#include "run/command_line.h"

#include <array>
#include <utility>

#include "platform/paths.h"

namespace tsn {
namespace {

constexpr int kMsgAtFileWithSwitches = 37;
constexpr int kMsgFormatIncorrect = 175;
constexpr int kMsgBadExtension = 176;

bool starts_with(std::string_view token, char c) { return !token.empty() && token.front() == c; }

bool is_separator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool ends_with_ignoring_case(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         equal_ignoring_case(text.substr(text.size() - suffix.size()), suffix);
}

// The input types in InputFileType order.
constexpr std::array<std::string_view, 3> kInputSuffixes = {".shp", ".dbf", ".csv"};

}  // namespace

int input_file_type_of(std::string_view path) {
  for (std::size_t i = 0; i < kInputSuffixes.size(); ++i) {
    if (ends_with_ignoring_case(path, kInputSuffixes[i])) return static_cast<int>(i);
  }
  return -1;
}

std::string_view output_extension(int save_file_type) {
  return save_file_type == 1 ? "dwg" : "dxf";
}

std::vector<std::string> split_command_line(std::string_view text) {
  std::vector<std::string> tokens;
  std::string token;
  bool quoted = false;
  auto finish_token = [&] {
    if (!token.empty() && tokens.size() < kMaxTokens) tokens.push_back(token);
    token.clear();
  };
  for (const char c : text) {
    if (quoted) {
      if (c == '"') {
        quoted = false;
        finish_token();
      } else {
        token += c;
      }
    } else if (c == '"') {
      token.clear();  // text before the quote in the same token is dropped
      quoted = true;
    } else if (is_separator(c)) {
      finish_token();
    } else {
      token += c;
    }
  }
  finish_token();  // also the token of a quote left open
  return tokens;
}

bool is_switch(std::string_view token) {
  if (token.empty()) return false;
  if (token.front() == '-') return true;
  if (token.front() != '/') return false;
  // "/abs/path/x" is a file name, "/L=roads/main" a switch with a path as its value.
  const std::string_view name = token.substr(0, token.find('='));
  if (name.find('/', 1) != std::string_view::npos) return false;
  for (std::string_view ext : {".shp", ".dbf", ".csv", ".dxf", ".dwg"}) {
    if (ends_with_ignoring_case(token, ext)) return false;
  }
  return true;
}

int save_file_type_for(std::string_view output_path, int current) {
  const std::string_view ext = path_extension(output_path);
  if (equal_ignoring_case(ext, "dwg")) return 1;
  if (equal_ignoring_case(ext, "dxf")) return 0;
  return current;
}

int parse_request(const std::vector<std::string>& tokens, int save_file_type,
                  ConversionRequest& request) {
  ConversionRequest parsed;
  parsed.save_file_type = save_file_type;
  if (tokens.empty()) {
    request = parsed;
    return 0;
  }
  const std::string& first = tokens.front();
  if (starts_with(first, ';')) {
    parsed.kind = RequestKind::comment;
    request = parsed;
    return 0;
  }
  if (starts_with(first, '@')) {
    if (tokens.size() > 1) return kMsgAtFileWithSwitches;
    parsed.kind = RequestKind::command_file;
    parsed.command_file = first.substr(1);
    request = parsed;
    return 0;
  }
  for (const std::string& token : tokens) {
    if (starts_with(token, '@')) return kMsgAtFileWithSwitches;
  }

  std::size_t i = 0;
  for (; i < tokens.size() && is_switch(tokens[i]); ++i) parsed.switches.push_back(tokens[i]);
  if (i == tokens.size()) return kMsgFormatIncorrect;
  parsed.input_path = tokens[i++];
  parsed.input_file_type = input_file_type_of(parsed.input_path);
  if (parsed.input_file_type < 0) return kMsgBadExtension;

  // An output file may follow the input; then only switches.
  if (i < tokens.size() && !is_switch(tokens[i])) {
    parsed.output_path = tokens[i++];
    parsed.save_file_type = save_file_type_for(parsed.output_path, parsed.save_file_type);
  }
  // A stray file name among the trailing switches is refused rather than silently ignored.
  for (; i < tokens.size(); ++i) {
    if (!is_switch(tokens[i])) return kMsgFormatIncorrect;
    parsed.switches.push_back(tokens[i]);
  }
  if (parsed.output_path.empty()) {
    parsed.output_path =
        replace_extension(parsed.input_path, output_extension(parsed.save_file_type));
  }
  parsed.kind = RequestKind::convert;
  request = std::move(parsed);
  return 0;
}

}  // namespace tsn
