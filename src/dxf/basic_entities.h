// Small entities made of the group primitives, for the DXF text path: block insertions,
// points, lines, circles, one-character texts and solids.
#pragma once

#include <optional>
#include <string_view>

#include "dxf/blocks_section.h"
#include "dxf/dxf_writer.h"

namespace tsn {

// INSERT of `block` at `at`: the name as group 2, the insertion point, and the scale as groups
// 41, 42 and 43 when one is given. Returns 0, or -1 off the text path.
int dxf_insert(DxfWriter& w, std::string_view block, std::string_view layer, int colour,
               const BlockPoint& at, std::optional<double> scale = std::nullopt);

// POINT at `at`.
int dxf_point_entity(DxfWriter& w, std::string_view layer, int colour, const BlockPoint& at);

// LINE from `from` to `to` (groups 10 and 11).
int dxf_line(DxfWriter& w, std::string_view layer, int colour, const BlockPoint& from,
             const BlockPoint& to);

// CIRCLE at `centre`; the radius as the prefixed group 40 in its shortest decimal text
// ("0.5"), whatever DecPlaces says.
int dxf_circle(DxfWriter& w, std::string_view layer, int colour, const BlockPoint& centre,
               double radius);

// A filled disc at the origin: release 12, a closed polyline of two half-circle arcs as wide as
// the radius; release 14, a solid HATCH bounded by the full circle. Its fixed numbers are
// written in their shortest decimal text.
int dxf_filled_disc(DxfWriter& w, std::string_view layer, int colour, double radius);

// TEXT at `at`: height (group 40), style (7), the text (1) and, in release 14, the Text
// subclass marker once more.
int dxf_text(DxfWriter& w, std::string_view layer, int colour, const BlockPoint& at,
             double height, std::string_view style, std::string_view text);
// TEXT of one character.
inline int dxf_character_text(DxfWriter& w, std::string_view layer, int colour,
                              const BlockPoint& at, double height, std::string_view style,
                              char character) {
  return dxf_text(w, layer, colour, at, height, style, std::string_view(&character, 1));
}

// SOLID with corners 10, 11, 12 and 13, written in the order 10, 11, 13, 12.
int dxf_solid(DxfWriter& w, std::string_view layer, int colour, const BlockPoint (&corners)[4]);

// 3DFACE with corners 10 to 13 and the invisible-edge flags (1, 2, 4, 8 for the first to the
// fourth edge) as group 70.
int dxf_3dface(DxfWriter& w, std::string_view layer, int colour, const BlockPoint (&corners)[4],
               int invisible_edges);

}  // namespace tsn
