// The process-wide record of the converter: the settings and the state of the current run.
#pragma once

#include <string>

#include "settings/conv_settings.h"

namespace tsn {

struct RunState {
  bool unattended = false;         // a command line was given
  bool command_file_mode = false;  // the first token began with '@'
  bool no_auto_run = false;
  bool run_hidden = false;
  bool exit_when_done = false;
  bool merge_group_open = false;
  bool merge_group_first = false;
  bool merge_group_closing = false;
  std::string input_path;
  std::string output_path;
};

struct ConvState {
  ConvSettings settings;
  RunState run;
};

extern ConvState conv_state;

}  // namespace tsn
