// The output must never be one of the files the conversion reads: the check compares the files
// themselves, so hard links, symbolic links and other spellings of a path are caught.
#pragma once

#include "run/command_line.h"

namespace tsn {

// 0 when the output is a file other than the input and the companions it is read with (the
// .shx, .dbf and .cpg beside a shapefile); -1 after a message naming both files. Nothing is
// written either way.
int refuse_output_over_input(const ConversionRequest& request);

}  // namespace tsn
