// Polygon, PolygonM, PolygonZ and MultiPatch records, and polygons of comma-delimited rows:
// one closed outline per ring, and the faces of multipatch triangle strips and fans. Filling
// polygons (triangulated faces, hatches) is not part of this version: a fill request draws the
// outlines, in the order a fill would have them, and says so once per conversion.
#pragma once

#include <string_view>
#include <vector>

#include "dxf/dxf_writer.h"
#include "entities/polygon_rings.h"
#include "entities/polyline_shape.h"
#include "input/shape_record.h"
#include "input/table_reader.h"
#include "settings/conv_settings.h"
#include "settings/name_counter.h"

namespace tsn {

class ShapefileReader;

// Everything the polygon generator works with. The driver sets layer and colours per record.
struct PolygonContext {
  DxfWriter& out;                          // the entity stream
  DxfWriter* blocks = nullptr;             // the feature block stream ("POL" blocks)
  const ConvSettings& settings;
  NameCounters* names = nullptr;
  ElevationSource elevation{};
  TableReader* table = nullptr;            // for the three vertex elevations of TIN input
  AttributeBlockWriter* block_writer = nullptr;
  RecordAnnotations* annotations = nullptr;
  EntityCounters counters{};
  bool comma_delimited = false;
  bool fill_notice_given = false;          // "outlines only" said once per conversion
  std::vector<RingInfo> rings{};           // reused from record to record

  std::string_view layer{};
  int outline_colour = -1;
  int fill_colour = -1;
};

// One ring (part) of rec as a closed polyline: POLYLINE with a VERTEX per point, the closing
// point included (release 12, Z, TIN), or an LWPOLYLINE without the closing point. 0 or -1.
int ring_outline(PolygonContext& ctx, DxfWriter& w, const shape_rec& rec, std::int32_t ring,
                 double elevation, int colour);

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
