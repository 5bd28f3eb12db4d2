// A whole release 14 or 2000 binary drawing written to an open file.
#pragma once

#include <cstdio>

#include "drawdb/drawing.h"

namespace tsn::dwg {

// Writes `d` to `file` (opened for writing, positioned at its start); false when a write
// failed.
bool save_dwg(const Drawing& d, std::FILE* file, bool r2000);

}  // namespace tsn::dwg
