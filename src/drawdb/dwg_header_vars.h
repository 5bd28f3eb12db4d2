// The header variables section of a release 14 or 2000 binary drawing.
#pragma once

#include <cstdint>

#include "drawdb/db_records.h"
#include "drawdb/dwg_bits.h"

namespace tsn::dwg {

// Handle values of the records and objects the header variables name; 0 for "none".
struct HeaderRefs {
  std::uint32_t handseed = 0;  // the next free handle
  std::uint32_t clayer = 0, textstyle = 0, celtype = 0, dimstyle = 0, cmlstyle = 0;
  std::uint32_t dimtxsty = 0;  // the text style of dimensions
  // Table controls.
  std::uint32_t block_control = 0, layer_control = 0, style_control = 0, ltype_control = 0;
  std::uint32_t view_control = 0, ucs_control = 0, vport_control = 0, appid_control = 0;
  std::uint32_t dimstyle_control = 0, vx_control = 0;
  // Dictionaries: groups, multi-line styles, the named object dictionary, and from 2000 on
  // layouts, plot settings and plot style names.
  std::uint32_t groups = 0, mlinestyles = 0, named_objects = 0;
  std::uint32_t layouts = 0, plotsettings = 0, plotstyles = 0;
  // Block records of the two layouts, and the three standard line types.
  std::uint32_t paper_space = 0, model_space = 0;
  std::uint32_t bylayer = 0, byblock = 0, continuous = 0;
};

// Appends the whole section at a byte boundary: start sentinel, RL size, the variables,
// RS CRC, end sentinel. `r2000` false writes the release 14 set.
void write_header_vars(BitWriter& w, const DbHeader& h, const HeaderRefs& refs, bool r2000);

}  // namespace tsn::dwg
