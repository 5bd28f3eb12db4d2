// One command after another, and the merge groups among them.
#include "run/batch_runner.h"

#include <cstdio>

#include "platform/console_host.h"
#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "run/conv_state.h"
#include "run/conversion_driver.h"
#include "run/field_listing.h"
#include "run/input_summary.h"
#include "run/usage.h"
#include "settings/file_reset.h"
#include "settings/program_settings.h"

namespace tsn {
namespace {

// The status of a run whose command failed with `result`.
int failed_status(int result) {
  if (result == kConversionWriteFailed) return kExitFatal;
  return cancelling_signal() != 0 ? kExitSignalBase + cancelling_signal() : kExitFailed;
}

// Caption "Error", warning icon, after a beep, with the path in the message.
void report_open_failure(int message, const std::string& path) {
  host().beep(Icon::warning);
  show_message(7, format_printf(load_text(message).c_str(), path.c_str()), Icon::warning);
}

// True when the file can be opened for reading (a directory cannot).
bool can_open(const std::string& path) {
  if (is_directory(path)) return false;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

// "/H" (or "-H") among the command's switches: the run is hidden from its first status line on.
bool asks_hidden_run(const std::vector<std::string>& switches) {
  for (const std::string& sw : switches) {
    if (sw.size() == 2 && (sw[1] == 'H' || sw[1] == 'h')) return true;
  }
  return false;
}

// What the settings need to know of an input, from its summary.
InputInfo input_info(const ConversionRequest& request, const InputSummary& summary) {
  InputInfo info;
  info.path = request.input_path;
  info.input_file_type = request.input_file_type;
  info.shape_type = summary.shape_type;
  info.field_count = summary.fields;
  info.has_table = summary.has_table;
  info.extent_diagonal =
      extent_diagonal(summary.xmin, summary.ymin, summary.xmax, summary.ymax);
  return info;
}

// One command: opens its input, applies the unattended defaults, the defaults file and its
// switches, and reports what would be converted. 0, or -1 after a message. Adds the records the
// conversion refused as malformed to `refused`.
int run_one_command(const ConversionRequest& request, const CommandBaseline& baseline,
                    const std::vector<std::string>& defaults_lines, long& refused,
                    MergeGroup* group) {
  RunState& run = conv_state.run;
  ConvSettings& s = conv_state.settings;
  run.input_path = request.input_path;
  run.output_path = request.output_path;
  s.InputFileType = request.input_file_type;
  s.SaveFileType = request.save_file_type;
  console_host().set_quiet(run.run_hidden || asks_hidden_run(request.switches));
  if (!can_open(request.input_path)) {
    report_open_failure(178, request.input_path);
    return -1;
  }
  // The table's X and Y fields, and so its extent, are those /DX and /DY ask for.
  ConversionRequest summarised = request;
  coordinate_field_switches(defaults_lines, request.switches, summarised.x_field,
                            summarised.y_field);
  InputSummary input;
  if (summarise_input(summarised, s.cur, input) != 0) {
    status_write("\n");
    return -1;
  }
  SwitchResult switches;
  if (prepare_command_settings(s, run, input_info(request, input), baseline, defaults_lines,
                               request.switches, switches) != 0) {
    return -1;
  }
  // A member of a merge group writes nothing of its own.
  const std::string shown_output = group != nullptr ? "the merge group's drawing" : request.output_path;
  status_write("%s", format_printf(load_status_text(11).c_str(), request.input_path.c_str(),
                                   shown_output.c_str())
                         .c_str());
  status_write("\n  %s, %ld records, %d fields%s", input.type_name.c_str(), input.records,
               input.fields, input.has_table ? "" : " (no attribute table)");
  if (!input.index_path.empty()) {
    status_write("\n  index %s, table %s%s", std::string(file_name(input.index_path)).c_str(),
                 std::string(file_name(input.table_path)).c_str(),
                 input.has_table ? "" : " (not found)");
  }
  status_write("%s", field_listing(input.field_list).c_str());
  status_write("\n  extent %s, %s to %s, %s", plain_number(input.xmin).c_str(),
               plain_number(input.ymin).c_str(), plain_number(input.xmax).c_str(),
               plain_number(input.ymax).c_str());
  for (const std::string& sw : request.switches) status_write("\n  switch %s", sw.c_str());
  status_write("%s", switch_warning_lines(switches.warnings).c_str());
  ConversionRequest chosen = request;
  chosen.elevation_field = switches.elevation_field;
  chosen.x_field = switches.x_field;
  chosen.y_field = switches.y_field;
  chosen.layer_key_field = switches.layer_key_field;
  chosen.colour_key_field = switches.colour_key_field;
  chosen.layer_legend_file = switches.layer_legend_file;
  chosen.colour_legend_file = switches.colour_legend_file;
  chosen.encoding = switches.encoding;
  chosen.drawing_code_page = s.DWGCodePageString;
  ConversionCounters counters;
  const int result = run_conversion(chosen, conv_state, counters, group);
  refused += counters.records_refused;
  status_write("\n");
  return result;
}

}  // namespace

BatchRunner::BatchRunner(CommandSource& source) : source_(source) {
  ConvSettings& s = conv_state.settings;
  open_log_file(s.program_dir + "tessaryn.log", s.Log == 1);
  baseline_ = capture_baseline(s);
  defaults_lines_ = read_batch_defaults(s.program_dir);
  if (source.command_file_mode()) {
    status_write("%s", banner_status_line().c_str());
  }
}

bool BatchRunner::read_next() {
  request_ = ConversionRequest{};
  const int next = source_.next(conv_state.run, conv_state.settings.SaveFileType, request_);
  pending_ = next;
  exit_line_ = next == kExitLine;
  if (next == kCommandsEnded || next == kExitLine) return false;
  if (next != kCommandReady && next != kMergeGroupClosing) {
    status_ = kExitFailed;
    return false;
  }
  return true;
}

bool BatchRunner::run_pending() {
  RunState& run = conv_state.run;
  // A signal that came too late for the last conversion still ends the batch.
  if (cancelling_signal() != 0) {
    status_ = failed_status(-1);
    return false;
  }
  const ConversionRequest& request = request_;
  if (pending_ == kMergeGroupClosing) {
    const int result = group_.close(conv_state, request.output_path);
    run.merge_group_closing = false;
    status_write("\n");
    if (result != 0) {
      status_ = failed_status(result);
      return false;
    }
    ++written_;
    return true;
  }
  const bool grouped = run.merge_group_open;
  const int result =
      run_one_command(request, baseline_, defaults_lines_, refused_, grouped ? &group_ : nullptr);
  if (result != 0) {
    group_lost_ = grouped;
    status_ = failed_status(result);
    return false;
  }
  ++converted_;
  if (!grouped) ++written_;
  return true;
}

int BatchRunner::finish() {
  RunState& run = conv_state.run;
  if (run.merge_group_open && status_ == kExitSuccess) {
    // The commands ended inside a group: what it holds has no output to go to.
    status_error(format_printf("\nError: The merge group opened by /G was not closed by an /O "
                               "line; nothing was written for its %d source files.\n",
                               group_.members()));
    status_ = kExitFailed;
  } else if (group_lost_ || run.merge_group_open) {
    status_error("\nThe merge group was abandoned: nothing was written for it.\n");
  }
  group_.abandon();
  run.merge_group_open = false;
  if (converted_ > 0) {
    status_write("%s\n", format_printf(load_text(199).c_str(), converted_, written_).c_str());
    // Refused records do not fail the run: they were reported one by one and are counted here.
    if (refused_ > 0) {
      status_write("Warning: %ld records were refused (each is named above) and are not in the "
                   "drawings.\n",
                   refused_);
    }
    if (!save_name_counters(conv_state.settings)) {
      status_error("\nCould not store the name counters.\n");
    }
  }
  return status_;
}

int run_commands(CommandSource& source) {
  BatchRunner batch(source);
  while (batch.step()) {
  }
  return batch.finish();
}

}  // namespace tsn
