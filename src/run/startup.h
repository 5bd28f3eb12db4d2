// Start-up and run modes: prepares the process, loads the settings and runs the request.
#pragma once

namespace tsn {

// Runs the program on argv and returns the process exit status:
// 0 every request succeeded, 2 a command failed or was cancelled, 1 after a fatal error.
int run_program(int argc, char** argv);

}  // namespace tsn
