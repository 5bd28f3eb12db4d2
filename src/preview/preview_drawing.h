// What a conversion draws, kept for showing on the screen: every entity's outline, fill,
// point, circle and text with its drawing colour, blocks already expanded where they were
// inserted. Coordinates are held in one array that the items index into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/drawing_entities.h"

namespace tsn {

enum class PreviewShapeKind : std::uint8_t { polyline, fill, point, circle, disc };

// One drawn shape. Colours are drawing colour numbers 1..255, BYLAYER and BYBLOCK resolved.
struct PreviewShape {
  PreviewShapeKind kind = PreviewShapeKind::polyline;
  bool closed = false;      // a polyline whose last vertex joins its first
  std::int16_t colour = 7;
  std::uint32_t first = 0;  // a fill's first ring; the first point of any other shape
  std::uint32_t count = 0;  // a fill's rings; a polyline's points; 1 for the others
  double radius = 0.0;      // circles and discs
  // A hatch pattern's lines (a fill drawn as lines, not solid): the first of pattern_count.
  std::uint32_t pattern_first = 0;
  std::uint32_t pattern_count = 0;
};

// One closed boundary of a fill: `count` points from `first`. The rings of one fill are
// filled together, even-odd, so a ring inside another is a hole.
struct PreviewRing {
  std::uint32_t first = 0;
  std::uint32_t count = 0;
};

// A family of parallel hatch lines: through the base point at the angle, repeated by the
// offset (all in drawing units).
struct PreviewPatternLine {
  double angle = 0.0;  // radians
  Point2 base;
  Point2 offset;
};

// A text on its baseline. For left justification `at` is where it starts, for centred text
// its middle, for right-justified text its end.
struct PreviewText {
  Point2 at;
  double height = 1.0;
  double rotation = 0.0;  // radians, counter-clockwise
  std::int16_t colour = 7;
  std::uint8_t justification = 0;  // 0 left, 1 centre, 2 right
  std::uint32_t first_char = 0;    // its UTF-8 bytes in `chars`
  std::uint32_t length = 0;
};

// What a preview may hold at most; entities beyond are left out and counted. The defaults
// keep a preview under about 200 MB.
struct PreviewBudget {
  std::size_t points = 6'000'000;
  std::size_t shapes = 2'000'000;  // shapes and texts
  std::size_t text_bytes = 16'000'000;
};

struct PreviewBox {
  double xmin = 0.0;
  double ymin = 0.0;
  double xmax = 0.0;
  double ymax = 0.0;
};

struct PreviewDrawing {
  std::vector<Point2> points;
  std::vector<PreviewRing> rings;
  std::vector<PreviewPatternLine> pattern_lines;
  std::vector<PreviewShape> shapes;  // in the order the drawing holds them
  std::vector<PreviewText> texts;    // drawn over the shapes
  std::string chars;
  // Everything drawn, texts included (their width estimated); the input's extents when
  // nothing was.
  PreviewBox bounds;
  PreviewBudget budget;  // set before the conversion
  long entities = 0;     // entities given to the drawing, an insertion counting once
  long left_out = 0;     // of those, the ones left out (or shown in part): the budget was spent
  long unknown_blocks = 0;  // insertions of a block never defined

  bool empty() const { return shapes.empty() && texts.empty(); }
  // Empties it for another conversion; the budget stays.
  void clear() {
    const PreviewBudget kept = budget;
    *this = PreviewDrawing{};
    budget = kept;
  }
  std::string_view text_of(const PreviewText& t) const {
    return std::string_view(chars).substr(t.first_char, t.length);
  }
};

}  // namespace tsn
