// Fuzz target: arbitrary bytes as a command line, split into tokens and parsed as a command.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "run/command_line.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

bool is_separator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> tokens = tsn::split_command_line(text);
  check(tokens.size() <= tsn::kMaxTokens);
  bool any_quote = false;
  for (char c : text) any_quote = any_quote || c == '"';
  for (const std::string& token : tokens) {
    check(!token.empty());
    check(token.find('"') == std::string::npos);
    // Only a quoted token may hold a blank, tab or newline.
    if (!any_quote) {
      for (char c : token) check(!is_separator(c));
    }
    static_cast<void>(tsn::is_switch(token));
  }

  for (int save_file_type : {0, 1}) {
    tsn::ConversionRequest request;
    const int result = tsn::parse_request(tokens, save_file_type, request);
    check(result == 0 || result == 37 || result == 175 || result == 176);
    if (result != 0 || request.kind != tsn::RequestKind::convert) continue;
    check(!request.input_path.empty() && !request.output_path.empty());
    check(request.input_file_type >= 0 && request.input_file_type <= 2);
    check(request.save_file_type == 0 || request.save_file_type == 1);
    check(request.switches.size() < tokens.size());
    for (const std::string& s : request.switches) check(tsn::is_switch(s));
  }
  return 0;
}
