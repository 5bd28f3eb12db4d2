// Fuzz target: arbitrary bytes as a command file and as tsnbatch.ini, read to their end: the
// commands and control lines come out well formed and a merge group is never both open and
// closing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "run/batch_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tsn::fuzz::check;
  static tsn::fuzz::SilentHost host;
  tsn::set_host(&host);
  static const std::string dir = tsn::fuzz::scratch_directory();
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  check(tsn::fuzz::write_text_file(dir + tsn::kBatchDefaultsFile, bytes));
  const std::vector<std::string> defaults = tsn::read_batch_defaults(dir);
  check(defaults.size() <= tsn::kMaxDefaultsLines);
  for (const std::string& line : defaults) check(!line.empty() && line.size() <= tsn::kMaxDefaultsLine);

  const std::string path = dir + "commands.txt";
  check(tsn::fuzz::write_text_file(path, bytes));
  tsn::RunState run;
  std::optional<tsn::CommandSource> source = tsn::CommandSource::open_command_file(path, run);
  check(source.has_value() && run.command_file_mode && run.unattended);
  // Every line yields at most one result, so the lines bound the results.
  for (std::size_t results = 0; results <= size + 1; ++results) {
    tsn::ConversionRequest request;
    const int r = source->next(run, 0, request);
    check(!(run.merge_group_open && run.merge_group_closing));
    if (r == tsn::kCommandReady) {
      check(request.kind == tsn::RequestKind::convert && !request.input_path.empty() &&
            !request.output_path.empty());
      continue;
    }
    if (r == tsn::kMergeGroupClosing) {
      check(run.merge_group_closing && !request.output_path.empty());
      run.merge_group_closing = false;  // as the batch does once the group is saved
      continue;
    }
    check(r == tsn::kCommandsEnded || r == tsn::kCommandError || r == tsn::kExitLine);
    return 0;
  }
  check(false);  // more results than lines
  return 0;
}
