// A whole release 12 binary drawing written to an open file.
#pragma once

#include <cstdio>

#include "drawdb/drawing.h"

namespace tsn::dwg12 {

struct SaveResult {
  bool written = false;
  bool too_large = false;     // more records or bytes than the format's fields hold
  long hatches_left_out = 0;  // release 12 has no hatches
};

// Writes `d` to `file` (opened for writing and seeking, positioned at its start).
SaveResult save_dwg12(const Drawing& d, std::FILE* file);

}  // namespace tsn::dwg12
