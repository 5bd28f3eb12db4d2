// Polygon, PolygonM, PolygonZ and MultiPatch records, and polygons of comma-delimited rows:
// one closed outline per ring, the faces of multipatch triangle strips and fans, and the fill:
// triangulated for release 12 and TIN input, a HATCH for release 14.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "drawing/drawing_writer.h"
#include "entities/polygon_fill.h"
#include "entities/polygon_hatch.h"
#include "entities/polygon_rings.h"
#include "entities/polyline_shape.h"
#include "geometry/hatch_scale.h"
#include "input/shape_record.h"
#include "input/table_reader.h"
#include "settings/conv_settings.h"
#include "settings/name_counter.h"

namespace tsn {

class ShapefileReader;

// Everything the polygon generator works with. The driver sets layer and colours per record.
struct PolygonContext {
  DrawingOut out;                          // the entity stream
  DrawingOut blocks{};                     // the feature block stream ("POL" blocks)
  DrawingOut fill_blocks{};                // the second block stream ("FIL" blocks)
  const ConvSettings& settings;
  NameCounters* names = nullptr;
  ElevationSource elevation{};
  TableReader* table = nullptr;            // for the three vertex elevations of TIN input
  AttributeBlockWriter* block_writer = nullptr;
  RecordAnnotations* annotations = nullptr;
  EntityCounters counters{};
  bool comma_delimited = false;
  // The hatch of release 14 fills, prepared for the file; solid until then.
  PreparedHatch hatch = prepare_hatch_pattern(0, 1.0, 1.0, 0.0);
  std::vector<RingInfo> rings{};           // reused from record to record
  FillBuffers fill{};
  std::vector<HatchRing> hatch_rings{};    // of the record being hatched
  std::vector<Point2> hatch_edges{};       // their edges, two points each
  std::vector<HatchPath> hatch_paths{};
  std::vector<Point3> outline{};           // the outline being written

  std::string_view layer{};
  int outline_colour = -1;
  int fill_colour = -1;
};

// One ring (part) of rec as a closed polyline: POLYLINE with a VERTEX per point, the closing
// point included (release 12, Z, TIN), or an LWPOLYLINE without the closing point. 0 or -1.
// `reactor` names the associative hatch the outline bounds; `made` receives its reference.
int ring_outline(PolygonContext& ctx, const DrawingOut& w, const shape_rec& rec, std::int32_t ring,
                 double elevation, int colour, EntityRef reactor = {}, EntityRef* made = nullptr);

// Z of an outline or face vertex: its own Z (times ElevFactor with flgScaleZ) for a record
// with Z values, else `elevation`.
double ring_vertex_z(const PolygonContext& ctx, const shape_rec& rec, const shape_point& p,
                     double elevation);
// The three vertex elevations of a TIN record, from its Z1, Z2 and Z3 fields times ElevFactor.
std::array<double, 3> tin_heights(const PolygonContext& ctx);

// Invisible-edge flags (group 70) of face i of a strip or fan of `faces` faces, by DrawEdges.
int strip_face_edges(int draw_edges, int face, int faces);
int fan_face_edges(int draw_edges, int face, int faces);

// The result of a record of a TIN file that is not a conforming one: the conversion stops.
inline constexpr int kTinNotConforming = -3;

// A Polygon or PolygonM record already read into rec (and a comma-delimited polygon);
// kTinNotConforming, or -1 when a primitive failed.
int polygon_record(PolygonContext& ctx, shape_rec& rec);
// A PolygonZ record already read into rec: 3D outlines of every ring (results as above).
int polygon_z_record(PolygonContext& ctx, shape_rec& rec);
// A MultiPatch record already read into rec: faces of strips and fans, outlines of rings.
int multipatch_record(PolygonContext& ctx, shape_rec& rec);

// Reads the record content, then the generator of the file's type (5, 15, 25 or 31).
int polygon_shape(PolygonContext& ctx, ShapefileReader& reader, shape_rec& rec, int shape_type);

}  // namespace tsn
