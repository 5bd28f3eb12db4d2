// The one interface every generator of entities writes a drawing through. The DXF text writer
// and the drawing database implement it; which one a conversion uses is chosen in one place.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "drawing/drawing_entities.h"

namespace tsn {

// The application id of the feature attributes' extended data, registered in every drawing.
inline constexpr std::string_view kAppId = "TESSARYN";

// Where an entity or block goes. Entities go to model space; labels go after every other
// entity of model space; blocks are defined in one of two groups, the second (fill blocks)
// after the first.
enum class DrawingStream { entities, labels, blocks, fill_blocks };

// The extents of the drawing: the input's box.
struct DrawingExtents {
  double xmin = 0.0;
  double ymin = 0.0;
  double xmax = 0.0;
  double ymax = 0.0;
};

// One LAYER record: a cleaned name and a colour number.
struct LayerDef {
  std::string name;
  int colour = 7;
};

// One STYLE record: a style name and its font file.
struct TextStyleDef {
  std::string name;
  std::string font;
};

// What a drawing begins with: its extents and its tables. The fixed layer list ("0", label,
// legend, single output layer, label fields) holds no name of a class layer; class layers follow
// it in class order. Names are already cleaned by the layer-name rule.
struct DrawingSetup {
  DrawingExtents extents;
  std::span<const LayerDef> layers;
  std::span<const LayerDef> class_layers;
  std::span<const TextStyleDef> styles;
  long expected_blocks = 0;  // a forecast of the block definitions to come
};

// A block definition: its name, base point and flags (2: it has attribute definitions).
struct BlockDef {
  std::string_view name;
  Point3 base;
  int flags = 0;
  bool has_z = false;  // the base point keeps its Z in release 12 with "2D" on
};

class DrawingWriter {
 public:
  virtual ~DrawingWriter() = default;

  // Header and tables; 0 or -1.
  virtual int begin_drawing(const DrawingSetup& setup) = 0;
  // A block definition on the stream: entities given on that stream until end_block belong to
  // it. 0 or -1.
  virtual int begin_block(DrawingStream stream, const BlockDef& block) = 0;
  virtual int end_block(DrawingStream stream) = 0;
  // A reference for an entity given later that earlier ones point to (an associative hatch).
  virtual EntityRef reserve() = 0;
  // Adds the entity; `made` receives its reference. 0, or -1 when it could not be written
  // (the entity is then left out, and the writer has said why).
  virtual int add(DrawingStream stream, const Entity& entity, EntityRef* made = nullptr) = 0;
  // True once a write has failed: the caller stops and finishes.
  virtual bool failed() const = 0;
  // The file of the first failed write: the output or one of the writer's working files.
  virtual std::string_view failed_file() const = 0;
  // Reals that were not finite numbers (computed values that overflowed) and went out as 0.
  virtual long non_finite_reals() const = 0;
  // Writes the drawing out; 0, or nonzero with the failure reported. `cancelled` is asked just
  // before the finished drawing replaces the output file.
  virtual int finish(bool (*cancelled)()) = 0;
  // Leaves no output behind (and any earlier output file untouched).
  virtual void discard() = 0;
};

// An entity stream of one writer: what the generators hand around.
struct DrawingOut {
  DrawingWriter* writer = nullptr;
  DrawingStream stream = DrawingStream::entities;

  int add(const Entity& e, EntityRef* made = nullptr) const {
    return writer->add(stream, e, made);
  }
  int add(const EntityLook& look, const EntityShape& shape, EntityRef* made = nullptr) const {
    return writer->add(stream, Entity{look, shape, {}, {}}, made);
  }
  int begin_block(const BlockDef& b) const { return writer->begin_block(stream, b); }
  int end_block() const { return writer->end_block(stream); }
  bool operator==(const DrawingOut& o) const { return writer == o.writer && stream == o.stream; }
};

}  // namespace tsn
