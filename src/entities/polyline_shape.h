// PolyLine, PolyLineZ and PolyLineM records: one polyline per part, thinned, with the table
// elevation, as ordinary entities or inside a per-record "ARC" attribute block.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/drawing_writer.h"
#include "input/shape_record.h"
#include "input/table_reader.h"
#include "settings/conv_settings.h"
#include "settings/name_counter.h"

namespace tsn {

class ShapefileReader;

// Counters of one conversion that line records add to (the driver reports them).
struct EntityCounters {
  long points_processed = 0;       // NumPoints of every record that reaches output
  long points_after_thinning = 0;  // points of 2D records left after the two passes
  long points_eliminated = 0;      // points of 2D records removed by the two passes
  long records_skipped = 0;        // single-vertex and empty records
  long polygons_not_hatched = 0;   // too small for one repeat of the hatch pattern
  long records_refused_nonfinite = 0;  // a coordinate or elevation not a finite number
};

// Block definition and insertion of attribute-block mode, and the attributes that follow the
// insertion; supplied by the block and attribute writers.
class AttributeBlockWriter {
 public:
  virtual ~AttributeBlockWriter() = default;
  // Starts the block definition `name` with its base point on `blocks`; has_z keeps the base
  // point's Z where the release would drop it. 0 or -1.
  virtual int begin_block(const DrawingOut& blocks, std::string_view name,
                          const shape_point& base, bool has_z) = 0;
  // Ends the definition (ENDBLK); 0 or -1.
  virtual int end_block(const DrawingOut& blocks) = 0;
  // The INSERT of the block on the record's layer and colour, then its attribute entities.
  virtual int insert_block(const DrawingOut& out, std::string_view name, const EntityLook& look,
                           const shape_point& at) = 0;
};

// Labels and feature attributes of a record; supplied by label placement and attribute output.
// Every call only hands data over: nothing here changes the polylines written.
class RecordAnnotations {
 public:
  virtual ~RecordAnnotations() = default;
  // Step before the polylines: the record's box for the label (labels) or attribute text
  // (attributes) anchor, when that text is not aligned and moves close to the line.
  virtual void anchor_from_box(const shape_box& box, bool labels, bool attributes) = 0;
  // The points of the first part, for text aligned with the line.
  virtual void align_with_part(std::span<const shape_point> part, bool labels,
                               bool attributes) = 0;
  // The points of every part, for the move-close search of an anchor onto the line.
  virtual void move_close_to_part(std::span<const shape_point> part, bool labels,
                                  bool attributes) = 0;
  // The extended entity data the record's entities carry; empty when none is written. Valid
  // until the next record.
  virtual std::span<const XdataItem> extended_data() = 0;
  // After the shape: labels and attribute output of the record; `shape_z` is the Z of a shape
  // that has Z values (its first point), for labels that stand at it; has_z keeps the labels'
  // Z where the release would drop it.
  virtual void record_done(const shape_box& box, std::optional<double> shape_z, bool has_z) = 0;
  // An INSERT that stands for the record (a marker, the "_POINT" block or a per-record block):
  // the insertion with the extended data, or followed by the ATTRIB entities and their SEQEND,
  // as the attribute output asks. 0 or -1.
  virtual int add_insert(const DrawingOut& out, const EntityLook& look,
                         const InsertEntity& insert) = 0;
};

// The Z of a record that has Z values (its first point), for labels that stand at it.
inline std::optional<double> shape_z(const shape_rec& rec) {
  if (!rec.has_z || rec.num_points <= 0) return std::nullopt;
  return rec.points[0].z;
}

// Where the table elevation of 2D records comes from: the table of the current record and the
// index of the ElevKey field, or no table / field -1 for elevation 0.
struct ElevationSource {
  TableReader* table = nullptr;
  int field = -1;
  double factor = 1.0;
};

// The elevation source of an input when PointsElev is on and the input is a shapefile or dBase
// table: field `chosen_field` when it is 0 or more (a number given on the command line; none
// when the table has no such field), otherwise the ElevKey field found by name.
ElevationSource elevation_source(const FileSettings& cur, TableReader* table,
                                 bool comma_delimited, int chosen_field = -1);
// The elevation of the current table record (0 when there is none or the text is no number).
double record_elevation(const ElevationSource& source);

// Everything the line generator works with, passed explicitly. The driver sets layer and
// colour for each record (the record's classification).
struct PolylineContext {
  DrawingOut out;                         // the entity stream
  DrawingOut blocks{};                    // the feature block stream (attribute-block mode)
  const ConvSettings& settings;
  NameCounters* names = nullptr;          // "ARC" block names
  ElevationSource elevation{};
  AttributeBlockWriter* block_writer = nullptr;
  RecordAnnotations* annotations = nullptr;
  std::vector<Point3> vertices{};         // of the part being written, reused
  EntityCounters counters{};

  std::string_view layer{};               // of the current record
  int colour = -1;                        // of the current record; negative: no colour group
};

// Attribute-block mode: Attribs bit 1 on, bit 4 off.
bool polyline_attribute_blocks(const FileSettings& cur);

// Writes the entities of the record already read into rec. Always 0 for a record that is
// written or skipped; -1 when attribute-block mode has no block writer or a primitive failed.
int polyline_record(PolylineContext& ctx, shape_rec& rec);

// Reads the record content, then polyline_record. -1 when the content cannot be read.
int polyline_shape(PolylineContext& ctx, ShapefileReader& reader, shape_rec& rec);

}  // namespace tsn
