// The conversion of one input into one DXF text drawing: files, sections, the record loop,
// the assembly, the definition file and the end report.
#pragma once

#include "run/command_line.h"
#include "run/conv_state.h"
#include "run/conversion_counters.h"
#include "run/merge_group.h"

namespace tsn {

// A write failed (a full disk): message 256 was shown; the run ends with exit status 1.
inline constexpr int kConversionWriteFailed = -3;

// The layer every entity goes on while there are no layers by attribute: the configured single
// layer, the last one used, or the input's base name.
std::string single_layer_name(const ConvSettings& s, const std::string& input_path);

// Converts the request's input into its output, or into the drawing of `group` when the
// input belongs to an open merge group (nothing is written then; a failure abandons the
// group). 0 on success; -1 after the message that explains the failure, or when the user
// cancelled (the output then stays as it was); kConversionWriteFailed after a failed write
// (the output then stays as it was too). A request with a preview draws into it instead
// (see preview_conversion).
int run_conversion(const ConversionRequest& request, ConvState& state,
                   ConversionCounters& counters, MergeGroup* group = nullptr);

}  // namespace tsn
