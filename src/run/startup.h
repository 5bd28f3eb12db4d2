// Start-up and run modes: prepares the process, loads the settings and runs the request.
#pragma once

namespace tsn {

class CommandSource;

// A window that runs the batch of a command file (the desktop front end installs it): given the
// source, returns the run's exit status; it runs the batch on the console itself when a /H line
// comes before the first command. Without one, or without a display, the batch runs on the
// console.
using BatchFrontEnd = int (*)(CommandSource& source);
void set_batch_front_end(BatchFrontEnd front_end);

// The window of a run without arguments (the desktop front end installs it): returns the run's
// exit status. Without one, or without a display, the usage is printed and the status is 2.
using InteractiveFrontEnd = int (*)();
void set_interactive_front_end(InteractiveFrontEnd front_end);

// Runs the program on argv and returns the process exit status:
// 0 every request succeeded, 2 a command failed or was cancelled, 1 after a fatal error.
int run_program(int argc, char** argv);

}  // namespace tsn
