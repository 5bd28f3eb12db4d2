// Legend symbol blocks; the line symbol is a polyline, classic or light-weight by the release.
#include "entities/legend_blocks.h"

#include "entities/polyline_writer.h"

namespace tsn {
namespace {

constexpr Point3 kZigzag[4] = {{-0.1, 0.0, 0.0}, {0.8, 1.0, 0.0}, {1.85, -0.1, 0.0}, {2.9, 1.0, 0.0}};

}  // namespace

int write_legend_block(const DrawingOut& blocks, const ConvSettings& s, int shape_class,
                       FixedBlocks& made) {
  switch (shape_class) {
    case 0: return write_dot_block(blocks, made);
    case 1: {
      const EntityShape zigzag[] = {
          PolylineEntity{kZigzag, 0.0, false, polyline_vertex_list_form(s, false), -1}};
      return define_block(blocks, kLineLegendBlock, zigzag);
    }
    case 2: {
      const EntityShape rectangle[] = {
          SolidEntity{{{0, 0, 0}, {0, 1.0, 0}, {2.0, 0, 0}, {2.0, 1.0, 0}}}};
      return define_block(blocks, kPolygonLegendBlock, rectangle);
    }
    default: return 0;
  }
}

}  // namespace tsn
