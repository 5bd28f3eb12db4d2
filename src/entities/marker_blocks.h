// The point marker blocks of the BLOCKS section ("PLUSPT", "CIRCPT", "_DOT", the character
// marker, "_POINT") and the frame of every fixed block.
// Their entities lie on layer "0" in colour 0 (BYBLOCK), so an insertion shows them in its
// own layer and colour.
#pragma once

#include <string>
#include <span>
#include <string_view>

#include "drawing/drawing_writer.h"
#include "settings/conv_settings.h"

namespace tsn {

// Marker kinds of the Marker setting.
inline constexpr int kMarkerPlus = 1;
inline constexpr int kMarkerCircle = 2;
inline constexpr int kMarkerCharacter = 4;
inline constexpr int kMarkerDot = 5;

inline constexpr std::string_view kPlusBlock = "PLUSPT";
inline constexpr std::string_view kCircleBlock = "CIRCPT";
inline constexpr std::string_view kDotBlock = "_DOT";
inline constexpr std::string_view kPointBlock = "_POINT";
inline constexpr std::string_view kLineLegendBlock = "LEGSYM_ARC";
inline constexpr std::string_view kPolygonLegendBlock = "LEGSYM_POLY";

// How the points of the input are drawn, as far as the blocks are concerned.
struct MarkerChoice {
  bool markers = false;           // PointsTranslate on
  int marker = kMarkerPlus;       // Marker
  std::string style;              // the marker text style's name
  int character = 42;             // PointMarker
  bool attributes = false;        // Attribs bit 1: feature attributes wanted
  bool block_attributes = false;  // ... as block attributes (not extended data)
  bool table_open = false;
};

// The choice made by a conversion's settings.
MarkerChoice marker_choice(const FileSettings& cur, bool table_open);

// The character marker's block: the style name, "_", then the character itself when it is an
// ASCII letter or digit, else its code in decimal, with three digits when it is 31 or below.
std::string character_marker_block_name(std::string_view style, int character);

// The name of the block the input's points are inserted as, or empty when points are not
// insertions of a block (POINT entities or font-character TEXT).
std::string point_block_name(const MarkerChoice& choice);

// Blocks already written to the current drawing ("_DOT" serves both the dot marker and the
// point legend, and is made once).
struct FixedBlocks {
  bool dot_written = false;
};

// The marker block the points need (nothing for other inputs or when none is needed), on the
// block stream `blocks`. 0 or -1.
int write_marker_blocks(const DrawingOut& blocks, const MarkerChoice& choice, FixedBlocks& made);

// "_DOT", unless this drawing has it already: a filled disc of diameter 1 (a wide closed
// polyline in release 12, a solid hatch in release 14).
int write_dot_block(const DrawingOut& blocks, FixedBlocks& made);

// A fixed block: the frame at the origin with flags 0, the entities, then ENDBLK. Its entities
// lie on layer "0" in colour 0 (BYBLOCK).
int define_block(const DrawingOut& blocks, std::string_view name,
                 std::span<const EntityShape> entities);

}  // namespace tsn
