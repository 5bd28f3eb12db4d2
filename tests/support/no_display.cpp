// Linked into every GoogleTest binary: the programs the tests start see no display, so that
// their command-file runs stay on the console, where the tests read them, even when the tests
// run in a desktop session.
#include <cstdlib>
#include <initializer_list>

namespace {

const bool display_hidden = [] {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ::unsetenv(name);
  return true;
}();

}  // namespace
