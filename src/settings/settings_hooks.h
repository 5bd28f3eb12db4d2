// Work the settings trigger that belongs to the label field order. The settings call the hook
// at the right moment; it does nothing until the code that owns that work installs it.
#pragma once

#include "settings/conv_settings.h"

namespace tsn {

struct SettingsHooks {
  // Rebuilds the order of the label fields from their positions.
  void (*rebuild_label_order)(ConvSettings&) = nullptr;
};

SettingsHooks& settings_hooks();

}  // namespace tsn
