// The process-wide set of settings hooks.
#include "settings/settings_hooks.h"

namespace tsn {

SettingsHooks& settings_hooks() {
  static SettingsHooks hooks;
  return hooks;
}

}  // namespace tsn
