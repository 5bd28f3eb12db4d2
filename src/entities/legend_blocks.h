// The legend symbol blocks: "_DOT" for points, a zigzag line for lines and a filled rectangle
// for polygons.
#pragma once

#include "drawing/drawing_writer.h"
#include "entities/marker_blocks.h"

namespace tsn {

// shape_class: 0 points, 1 lines, 2 polygons; on the block stream `blocks`. 0 or -1.
int write_legend_block(const DrawingOut& blocks, const ConvSettings& s, int shape_class,
                       FixedBlocks& made);

}  // namespace tsn
