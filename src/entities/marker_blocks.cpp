// Marker and legend symbol blocks, each a block frame, a few entities and ENDBLK.
#include "entities/marker_blocks.h"

#include <string>


namespace tsn {
namespace {

constexpr std::string_view kLayer0 = "0";
constexpr int kByBlock = 0;

bool ascii_letter_or_digit(int c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

int define_block(const DrawingOut& blocks, std::string_view name,
                 std::span<const EntityShape> entities) {
  if (blocks.begin_block(BlockDef{name, {}, 0, false}) != 0) return -1;
  for (const EntityShape& e : entities) {
    if (blocks.add({kLayer0, kByBlock, false}, e) != 0) return -1;
  }
  return blocks.end_block();
}

int write_dot_block(const DrawingOut& blocks, FixedBlocks& made) {
  if (made.dot_written) return 0;
  made.dot_written = true;
  const EntityShape disc[] = {FilledDisc{0.5}};
  return define_block(blocks, kDotBlock, disc);
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

int write_marker_blocks(const DrawingOut& blocks, const MarkerChoice& choice, FixedBlocks& made) {
  const std::string name = point_block_name(choice);
  if (name.empty()) return 0;
  if (!choice.markers) {
    const EntityShape point[] = {PointEntity{}};
    return define_block(blocks, name, point);
  }
  switch (choice.marker) {
    case kMarkerPlus: {
      const EntityShape plus[] = {LineEntity{{-0.5, 0, 0}, {0.5, 0, 0}},
                                  LineEntity{{0, -0.5, 0}, {0, 0.5, 0}}};
      return define_block(blocks, name, plus);
    }
    case kMarkerCircle: {
      const EntityShape circle[] = {CircleEntity{{}, 0.5}};
      return define_block(blocks, name, circle);
    }
    case kMarkerDot:
      return write_dot_block(blocks, made);
    default: {  // the character marker
      const char character = static_cast<char>(choice.character);
      const EntityShape text[] = {TextEntity{TextPlacement{}, 1.0, choice.style,
                                             std::string_view(&character, 1)}};
      return define_block(blocks, name, text);
    }
  }
}

}  // namespace tsn
