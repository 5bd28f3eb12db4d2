// Marker and legend symbol blocks, each a block frame, a few entities and ENDBLK.
#include "dxf/marker_blocks.h"

#include <string>

#include "dxf/basic_entities.h"
#include "dxf/entity_types.h"

namespace tsn {
namespace {

constexpr std::string_view kLayer0 = "0";
constexpr int kByBlock = 0;
constexpr BlockPoint kOrigin{};

bool ascii_letter_or_digit(int c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "_DOT", release 12: a closed polyline of two half-circle arcs with width 0.5, a filled disc
// of diameter 1.
int dot_as_wide_polyline(DxfWriter& w) {
  if (dxf_entity_start(w, kEntPolyline, kLayer0, kByBlock) != 0) return -1;
  dxf_subclass(w, "2dPolyline");
  dxf_prefixed_group(w, 66, "1");
  dxf_prefixed_group(w, 70, "1");
  dxf_prefixed_group(w, 40, "0.5");
  dxf_prefixed_group(w, 41, "0.5");
  for (const double x : {-0.25, 0.25}) {
    if (dxf_entity_start(w, kEntVertex, kLayer0, -1) != 0) return -1;
    dxf_subclass(w, "2dVertex");
    dxf_point(w, 10, x, 0.0, 0.0);
    dxf_prefixed_group(w, 42, "1.0");
  }
  return dxf_seqend(w);
}

// "_DOT", release 14 text: a solid HATCH bounded by one full circle of radius 0.5.
int dot_as_hatch(DxfWriter& w) {
  dxf_reserve_handle(w.state);
  if (dxf_entity_start(w, kEntHatch, kLayer0, kByBlock) != 0) return -1;
  dxf_point(w, 10, 0.0, 0.0, 0.0);
  dxf_point(w, 210, 0.0, 0.0, 1.0);
  dxf_prefixed_group(w, 2, "SOLID");
  dxf_prefixed_group(w, 70, "1");
  dxf_prefixed_group(w, 71, "0");
  dxf_prefixed_group(w, 91, "1");
  dxf_prefixed_group(w, 92, "1");
  dxf_prefixed_group(w, 93, "1");
  dxf_prefixed_group(w, 72, "2");
  dxf_point2(w, 10, 0.0, 0.0);
  dxf_real(w, 40, 0.5);
  dxf_real(w, 50, 0.0);
  dxf_real(w, 51, 360.0);
  dxf_prefixed_group(w, 73, "1");
  dxf_prefixed_group(w, 97, "0");
  dxf_prefixed_group(w, 75, "0");
  dxf_prefixed_group(w, 76, "1");
  dxf_prefixed_group(w, 98, "1");
  dxf_point2(w, 10, 0.0, 0.0);
  return 0;
}

}  // namespace

int write_dot_block(BlockStreams& streams, FixedBlocks& made) {
  if (made.dot_written) return 0;
  made.dot_written = true;
  return define_block(streams, kDotBlock, [](DxfWriter& w) {
    return w.state.verDXF > 5 ? dot_as_hatch(w) : dot_as_wide_polyline(w);
  });
}

MarkerChoice marker_choice(const FileSettings& cur, bool table_open) {
  MarkerChoice c;
  c.markers = cur.PointsTranslate != 0;
  c.marker = cur.Marker;
  c.style = cur.MarkerStyle;
  c.character = cur.PointMarker;
  c.attributes = attributes_wanted(cur);
  c.block_attributes = block_attributes(cur);
  c.table_open = table_open;
  return c;
}

std::string character_marker_block_name(std::string_view style, int character) {
  std::string name(style);
  name += '_';
  if (ascii_letter_or_digit(character)) {
    name += static_cast<char>(character);
  } else {
    std::string code = std::to_string(character);
    if (character <= 31) code.insert(0, 3 - std::min<std::size_t>(3, code.size()), '0');
    name += code;
  }
  return name;
}

std::string point_block_name(const MarkerChoice& choice) {
  if (!choice.markers) {
    return choice.block_attributes && choice.table_open ? std::string(kPointBlock) : "";
  }
  switch (choice.marker) {
    case kMarkerPlus: return std::string(kPlusBlock);
    case kMarkerCircle: return std::string(kCircleBlock);
    case kMarkerDot: return std::string(kDotBlock);
    case kMarkerCharacter:
      return choice.attributes ? character_marker_block_name(choice.style, choice.character)
                               : "";
    default: return "";
  }
}

int write_marker_blocks(BlockStreams& streams, const MarkerChoice& choice, FixedBlocks& made) {
  if (!streams.first.state.text_path) return -1;
  const std::string name = point_block_name(choice);
  if (name.empty()) return 0;
  if (!choice.markers) {
    return define_block(streams, name, [](DxfWriter& w) {
      return dxf_point_entity(w, kLayer0, kByBlock, kOrigin);
    });
  }
  switch (choice.marker) {
    case kMarkerPlus:
      return define_block(streams, name, [](DxfWriter& w) {
        if (dxf_line(w, kLayer0, kByBlock, {-0.5, 0, 0}, {0.5, 0, 0}) != 0) return -1;
        return dxf_line(w, kLayer0, kByBlock, {0, -0.5, 0}, {0, 0.5, 0});
      });
    case kMarkerCircle:
      return define_block(streams, name, [](DxfWriter& w) {
        return dxf_circle(w, kLayer0, kByBlock, kOrigin, "0.5");
      });
    case kMarkerDot:
      return write_dot_block(streams, made);
    default:  // the character marker
      return define_block(streams, name, [&choice](DxfWriter& w) {
        return dxf_character_text(w, kLayer0, kByBlock, kOrigin, 1.0, choice.style,
                                  static_cast<char>(choice.character));
      });
  }
}

}  // namespace tsn
