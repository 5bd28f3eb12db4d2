// The conversion of one input into one DXF text drawing: files, sections, the record loop,
// the assembly, the definition file and the end report.
#pragma once

#include "run/command_line.h"
#include "run/conv_state.h"
#include "run/conversion_counters.h"

namespace tsn {

// Converts the request's input into its output. 0 on success; -1 after the message that
// explains the failure, or when the user cancelled (the output then stays as it was).
int run_conversion(const ConversionRequest& request, ConvState& state,
                   ConversionCounters& counters);

}  // namespace tsn
