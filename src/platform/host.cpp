// The host in use: the console host unless another one has been installed.
#include "platform/host.h"

#include "platform/console_host.h"

namespace tsn {
namespace {

Host* g_installed_host = nullptr;  // nullptr: the console host

}  // namespace

Host& host() {
  if (g_installed_host != nullptr) return *g_installed_host;
  // The console host owns Ctrl-C from the moment it is first used.
  static const bool interrupt_handler_ready = (ConsoleHost::install_interrupt_handler(), true);
  static_cast<void>(interrupt_handler_ready);
  return console_host();
}

void set_host(Host* h) {
  if (h == &console_host()) h = nullptr;
  g_installed_host = h;
  // Ctrl-C means "cancel" only while the console host is the one asking; another host has
  // its own way to cancel and the previous disposition comes back.
  if (h == nullptr) {
    ConsoleHost::install_interrupt_handler();
  } else {
    ConsoleHost::remove_interrupt_handler();
  }
}

}  // namespace tsn
