// The legend symbol block of the input's shape class: "_DOT" for points, "LEGSYM_ARC" (a
// zigzag polyline) for lines, "LEGSYM_POLY" (a filled 2 by 1 rectangle) for polygons.
#pragma once

#include "dxf/blocks_section.h"
#include "dxf/marker_blocks.h"

namespace tsn {

// shape_class: 0 points, 1 lines, 2 polygons. 0, or -1 off the text path or on a write failure.
int write_legend_block(BlockStreams& streams, int shape_class, FixedBlocks& made);

}  // namespace tsn
