// Point features: Point, PointZ and PointM records, each point of a MultiPoint record, and
// each record of a stand-alone point table, as POINT entities, marker insertions or
// one-character texts, with multipoints optionally grouped in an "MPT" block per record.
#pragma once

#include <string>
#include <string_view>

#include "drawing/drawing_writer.h"
#include "entities/marker_blocks.h"
#include "entities/polyline_shape.h"
#include "input/shape_record.h"
#include "settings/conv_settings.h"
#include "settings/name_counter.h"

namespace tsn {

class ShapefileReader;

// The form every point of a conversion takes, settled once from the settings.
enum class PointForm {
  point,           // POINT entity
  marker_insert,   // INSERT of the marker block, scaled by MarkerHeight
  character_text,  // TEXT of the marker character
  point_block,     // INSERT of "_POINT", which carries block attributes
};

struct PointDrawing {
  PointForm form = PointForm::point;          // of point records and table rows
  PointForm multipoint_form = PointForm::point;  // of the points of multipoints
  std::string block;        // the inserted block, for the insert forms
  std::string text_style;   // the character marker's style
  char character = '*';
  double marker_height = 3.5;
};

// The forms by the settings: markers or not, the marker kind, and whether attributes go into
// blocks. `choice` is what the marker blocks were written from.
PointDrawing point_drawing(const FileSettings& cur, const MarkerChoice& choice);

// Everything the point generator works with. The driver sets layer and colour per record.
struct PointContext {
  DrawingOut out;                        // the entity stream
  DrawingOut blocks{};                   // the feature block stream (MPT blocks)
  const ConvSettings& settings;
  NameCounters* names = nullptr;         // "MPT" block names
  ElevationSource elevation{};
  AttributeBlockWriter* block_writer = nullptr;
  RecordAnnotations* annotations = nullptr;
  PointDrawing drawing{};
  EntityCounters counters{};
  bool table_open = false;

  std::string_view layer{};
  int colour = -1;
};

// One point in the conversion's form: a POINT, an INSERT or a TEXT. The text of a character
// marker is drawing.character itself.
EntityShape point_entity(const PointDrawing& drawing, PointForm form, const shape_point& p);

// A Point (type 1), PointZ (11) or PointM (21) record already read into rec: PointZ keeps its
// Z (times ElevFactor with flgScaleZ), the others take the table elevation.
int point_record(PointContext& ctx, const shape_rec& rec, int shape_type);

// A point table row: X and Y from its fields, the table elevation as Z.
int table_point(PointContext& ctx, double x, double y);

// A MultiPoint record already read into rec: skipped when empty, else its points, in an "MPT"
// block inserted once when attributes go with a table or MultipointBlock is on.
int multipoint_record(PointContext& ctx, const shape_rec& rec);

// Reads the record content of the file's type, then point_record or multipoint_record.
int point_shape(PointContext& ctx, ShapefileReader& reader, shape_rec& rec, int shape_type);

}  // namespace tsn
