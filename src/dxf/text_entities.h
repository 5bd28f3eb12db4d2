// Texts placed by justification: label TEXTs, the ATTRIBs that follow an INSERT and the ATTDEFs
// of the attribute-definition block.
#pragma once

#include <optional>
#include <string_view>

#include "dxf/blocks_section.h"
#include "dxf/dxf_writer.h"

namespace tsn {

struct TextLook {
  std::string_view layer;
  int colour = -1;
  double height = 1.0;
  std::string_view style;
};

// TEXT: 10, (11), 40, 50, 72, 7, 1, then the Text subclass once more in release 14.
int dxf_placed_text(DxfWriter& w, const TextLook& look, const TextPlacement& at,
                    std::string_view text);

// "66 1" after an INSERT's groups: attributes follow it.
void dxf_attributes_follow(DxfWriter& w);

// ATTRIB: 10, (11), 40, 1 value, 50, 72, 7, the Attribute subclass (release 14), 2 tag, 70 flags
// (1 invisible).
int dxf_attrib(DxfWriter& w, const TextLook& look, const TextPlacement& at,
               std::string_view value, std::string_view tag, bool visible);

// ATTDEF of a block definition at (0, y): layer 0, colour 0, 40 height, an empty default, the
// AttributeDefinition subclass (release 14), 2 tag, 3 prompt "ENTER <tag>", 73 the field width
// as "%3d", 70 1 (invisible).
int dxf_attdef(DxfWriter& w, double y, double height, std::string_view tag, int width);

}  // namespace tsn
