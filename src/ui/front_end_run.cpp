// The application object and host around one front-end run.
#include "ui/front_end_run.h"

#include <QApplication>

#include "platform/console_host.h"

namespace tsn::ui {

int run_front_end(const std::function<int(QtHost& host)>& body) {
  static int argc = 1;
  static char name[] = "tessaryn";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  QtHost host;
  set_host(&host);
  // Ctrl-C in the terminal and requests to end reach the windows as they reach the console.
  ConsoleHost::install_interrupt_handler();
  const int status = body(host);
  set_host(nullptr);
  return status;
}

}  // namespace tsn::ui
