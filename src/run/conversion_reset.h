// The reset between conversions: per-file options back to neutral values, name counts into
// their totals, counters cleared, an abandoned merge group forgotten.
#pragma once

#include "run/conv_state.h"
#include "run/conversion_counters.h"
#include "settings/name_counter.h"

namespace tsn {

void reset_conversion_state(ConvSettings& s, RunState& run, ConversionCounters& counters,
                            NameCounters& names, const std::string& input_base_name,
                            bool failed);

}  // namespace tsn
