// Legend symbol blocks; the line symbol goes through the polyline writer, classic or
// light-weight by the release.
#include "entities/legend_blocks.h"

#include "dxf/basic_entities.h"
#include "entities/polyline_writer.h"

namespace tsn {
namespace {

constexpr std::string_view kLayer0 = "0";
constexpr int kByBlock = 0;

int zigzag_polyline(DxfWriter& w) {
  static constexpr shape_point kZigzag[4] = {{-0.1, 0.0, 0.0}, {0.8, 1.0, 0.0},
                                             {1.85, -0.1, 0.0}, {2.9, 1.0, 0.0}};
  DxfState& s = w.state;
  const bool saved_z = s.record_has_z;
  s.record_has_z = false;
  int result = polyline_begin(w, 0.0, kLayer0, kByBlock, 4, false);
  for (const shape_point& p : kZigzag) {
    if (result == 0) result = polyline_vertex(w, p, kLayer0);
  }
  if (result == 0) result = polyline_end(w);
  s.record_has_z = saved_z;
  return result;
}

int filled_rectangle(DxfWriter& w) {
  const BlockPoint corners[4] = {{0, 0, 0}, {0, 1.0, 0}, {2.0, 0, 0}, {2.0, 1.0, 0}};
  return dxf_solid(w, kLayer0, kByBlock, corners);
}

}  // namespace

int write_legend_block(BlockStreams& streams, int shape_class, FixedBlocks& made) {
  if (!streams.first.state.text_path) return -1;
  switch (shape_class) {
    case 0: return write_dot_block(streams, made);
    case 1: return define_block(streams, kLineLegendBlock, zigzag_polyline);
    case 2: return define_block(streams, kPolygonLegendBlock, filled_rectangle);
    default: return 0;
  }
}

}  // namespace tsn
