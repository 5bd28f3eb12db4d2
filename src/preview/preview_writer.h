// The drawing writer of a preview: it keeps what the entity generators give it in a
// PreviewDrawing and writes no file.
#pragma once

#include <array>
#include <map>
#include <string>

#include "drawing/drawing_writer.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"
#include "preview/preview_drawing.h"

namespace tsn {

class PreviewWriter final : public DrawingWriter {
 public:
  // Fills `out` within its budget. Texts come in `text_encoding` (an iconv name, with
  // \U+XXXX for characters it lacks) and are kept as UTF-8; with no encoding they are taken
  // as UTF-8 when they are valid UTF-8 and as Latin-1 otherwise.
  PreviewWriter(PreviewDrawing& out, const std::string& text_encoding);

  int begin_drawing(const DrawingSetup& setup) override;
  int begin_block(DrawingStream stream, const BlockDef& block) override;
  int end_block(DrawingStream stream) override;
  EntityRef reserve() override { return EntityRef{++last_ref_}; }
  int add(DrawingStream stream, const Entity& entity, EntityRef* made) override;
  bool failed() const override { return false; }
  std::string_view failed_file() const override { return {}; }
  long non_finite_reals() const override { return 0; }
  // The labels go over everything else, and the bounds are measured.
  int finish(bool (*cancelled)()) override;
  void discard() override;

 private:
  // A block's shapes as defined, their colours still codes that an insertion resolves.
  struct Block {
    Point3 base;
    PreviewDrawing shapes;
    bool incomplete = false;  // some of its entities did not fit the budget
  };
  // Where one add puts its shapes, and the colour code they get.
  struct Target {
    PreviewDrawing& store;
    bool in_block;
    int colour;
  };

  int colour_code(const EntityLook& look, bool in_block) const;
  int layer_colour(std::string_view layer) const;
  bool room_for(std::size_t points, std::size_t shapes, std::size_t text_bytes) const;
  bool add_shape(const Target& t, const EntityShape& shape, const EntityLook& look);
  bool add_points(const Target& t, PreviewShapeKind kind, std::span<const Point2> points,
                  bool closed, double radius);
  bool add_polyline(const Target& t, std::span<const Point3> vertices, bool closed);
  bool add_fill(const Target& t, std::span<const Point3> corners);
  bool add_hatch(const Target& t, const HatchEntity& hatch);
  bool add_text(const Target& t, const TextPlacement& at, double height, std::string_view text);
  bool insert(const Target& t, const InsertEntity& insert, const EntityLook& look);
  void append_utf8(std::string_view text, std::string& out);

  PreviewDrawing& out_;
  PreviewDrawing labels_;
  DrawingExtents extents_;
  // Layer colours and blocks by name, case ignored as the drawing's tables ignore it.
  std::map<std::string, int, LessIgnoringCase> layer_colours_;
  std::map<std::string, Block, LessIgnoringCase> blocks_;
  std::array<Block*, 4> open_{};                        // the block open on each stream
  std::size_t points_held_ = 0;
  std::size_t shapes_held_ = 0;
  std::size_t bytes_held_ = 0;
  std::uint32_t last_ref_ = 0;
  TextTranscoder transcoder_;
  std::string converted_;
  std::vector<Point2> scratch_;
};

}  // namespace tsn
