// What every fuzz target shares: a host that shows nothing and takes the default answer of
// every question, and an invariant check that stops the run where it fails.
#pragma once

#include <string_view>

#include "platform/host.h"

namespace tsn::fuzz {

inline void check(bool condition) {
  if (!condition) __builtin_trap();
}

class SilentHost final : public Host {
 public:
  void status_append(std::string_view) override {}
  void status_clear() override {}
  Answer message_box(std::string_view, std::string_view, Icon, Buttons,
                     Answer default_answer) override {
    return default_answer;
  }
  void beep(Icon) override {}
  void dialog_error(int, std::string_view) override {}
  void progress_show() override {}
  void progress_set(int) override {}
  void progress_hide() override {}
  bool poll_cancel() override { return false; }
  void set_busy(bool) override {}
  [[noreturn]] void end_process(int) override { __builtin_trap(); }
};

}  // namespace tsn::fuzz
