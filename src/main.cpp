// The tessaryn executable: installs the desktop front end when it is built, then hands the
// command line to the run function.
#include "run/startup.h"

#ifdef TSN_HAVE_UI
#include "ui/batch_window.h"
#include "ui/main_window.h"
#endif

int main(int argc, char** argv) {
#ifdef TSN_HAVE_UI
  tsn::set_batch_front_end(&tsn::ui::run_batch_window);
  tsn::set_interactive_front_end(&tsn::ui::run_main_window);
#endif
  return tsn::run_program(argc, argv);
}
