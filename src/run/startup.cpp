// Start-up and run modes: prepares the process, loads the settings, checks the command line
// and runs the request it names.
#include "run/startup.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "drawdb/init_file.h"
#include "dwg/dwg_session.h"
#include "platform/console_host.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/program_dir.h"
#include "platform/string_table.h"
#include "run/command_line.h"
#include "run/conv_state.h"
#include "run/batch_commands.h"
#include "run/batch_runner.h"
#include "run/usage.h"
#include "settings/program_settings.h"
#include "settings/scheme_editor.h"

namespace tsn {

ConvState conv_state;

namespace {

BatchFrontEnd g_batch_front_end = nullptr;
InteractiveFrontEnd g_interactive_front_end = nullptr;

// A desktop session the windows can be shown on.
bool display_available() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

std::vector<std::string> collect_tokens(int argc, char** argv) {
  std::vector<std::string> tokens;
  for (int i = 1; i < argc && tokens.size() < kMaxTokens; ++i) tokens.emplace_back(argv[i]);
  return tokens;
}

// Prepares the program directory and the settings; false after a fatal message.
bool start_up() {
  set_spelling_index(spelling_index_for_language(locale_language()));
  const std::string dir = locate_program_directory();
  if (!create_program_directory(dir)) {
    host().message_box(load_text(7), "Cannot create the program directory " + dir, Icon::error,
                       Buttons::ok, Answer::ok);
    return false;
  }
  if (!seed_default_files(dir) || !seed_text_file(dir + std::string(kInitFileName),
                                                  default_init_text())) {
    host().message_box(load_text(8),
                       "Cannot write the default colour schemes, styles or drawing database "
                       "initialisation file in " + dir,
                       Icon::warning, Buttons::ok, Answer::ok);
  }
  conv_state = ConvState{};
  ConvSettings& s = conv_state.settings;
  if (!load_program_settings(s, dir)) {
    host().message_box(load_text(8), "Cannot write the program settings file " + s.settings_file,
                       Icon::warning, Buttons::ok, Answer::ok);
  }
  open_trace_file(s.program_dir + "trace", s.trace == 1);
  return true;
}

int run_request(const std::vector<std::string>& tokens) {
  ConversionRequest request;
  const int fault = parse_request(tokens, conv_state.settings.SaveFileType, request);
  if (fault != 0) {
    show_message(10, load_text(fault), Icon::warning);
    return kExitFailed;
  }
  switch (request.kind) {
    case RequestKind::comment:
      return kExitSuccess;
    case RequestKind::interactive:
      if (g_interactive_front_end != nullptr && display_available()) {
        return g_interactive_front_end();
      }
      std::fputs(usage_text().c_str(), stderr);
      return kExitFailed;
    case RequestKind::command_file: {
      std::optional<CommandSource> source =
          CommandSource::open_command_file(request.command_file, conv_state.run);
      if (!source) return kExitFailed;
      if (g_batch_front_end != nullptr && display_available()) return g_batch_front_end(*source);
      return run_commands(*source);
    }
    case RequestKind::convert: {
      CommandSource source = CommandSource::for_command_line(tokens, conv_state.run);
      return run_commands(source);
    }
  }
  return kExitFailed;
}

}  // namespace

void set_batch_front_end(BatchFrontEnd front_end) { g_batch_front_end = front_end; }
void set_interactive_front_end(InteractiveFrontEnd front_end) {
  g_interactive_front_end = front_end;
}

int run_program(int argc, char** argv) {
  const std::vector<std::string> tokens = collect_tokens(argc, argv);
  for (const std::string& t : tokens) {
    // "-h" alone asks for help; beside an input it stays the switch that hides the run.
    if (t == "--help" || (t == "-h" && tokens.size() == 1)) {
      std::fputs(usage_text().c_str(), stdout);
      return kExitSuccess;
    }
    if (t == "--version") {
      std::fputs(version_text().c_str(), stdout);
      return kExitSuccess;
    }
  }
  // Status lines written to a closed pipe are dropped (EPIPE); the drawing is still written.
  ::signal(SIGPIPE, SIG_IGN);
  // From here on Ctrl-C and the requests to end cancel instead of ending the process.
  ConsoleHost::install_interrupt_handler();
  if (!start_up()) return kExitFatal;
  const int status = run_request(tokens);
  remove_scheme_working_copy(conv_state.settings);
  close_diagnostic_files();
  std::fflush(stdout);
  return status;
}

}  // namespace tsn
