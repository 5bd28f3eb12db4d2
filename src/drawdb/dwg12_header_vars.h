// The file header and header variables of a release 12 binary drawing.
#pragma once

#include "drawdb/drawing.h"
#include "drawdb/dwg12_layout.h"

namespace tsn::dwg12 {

// Where the sections lie, for the file header.
struct SectionPlaces {
  std::uint32_t entities_start = 0, entities_end = 0;
  std::uint32_t blocks_start = 0, blocks_size = 0;
  std::uint32_t extras_start = 0, extras_size = 0;
};

// The table indices the header variables name.
struct HeaderIndices {
  std::uint16_t clayer = 0, textstyle = 0, celtype = 0x7FFF;
};

// The whole header: file header, descriptors of the first five tables, the variables with
// the other five descriptors, and the CRC; kHeaderVarsEnd + 2 bytes.
void write_file_header(BitWriter& w, const Drawing& d, const SectionPlaces& places,
                       const Tables& tables, const HeaderIndices& indices);

}  // namespace tsn::dwg12
