// Reading a shapefile record for drawing, with the check of its numbers.
#include "entities/drawable_record.h"

#include <cmath>
#include <string_view>

#include "input/finite_coordinates.h"

namespace tsn {

int read_drawable_record(ShapefileReader& reader, shape_rec& rec, const FileSettings& cur,
                         const ElevationSource& elevation, EntityCounters& counters) {
  if (reader.read_record_content(rec) != 0) return -1;
  constexpr int kPointZ = 11;  // its Z is inline; a PointM's measure is never drawn
  const bool inline_z = reader.header().shape_type == kPointZ;
  const double z_factor = cur.flgScaleZ != 0 ? cur.ElevFactor : 1.0;
  std::string_view what;
  if (!finite_record(rec, inline_z, z_factor)) {
    what = "a coordinate";
  } else if (!rec.has_z && !inline_z && !std::isfinite(record_elevation(elevation))) {
    what = "an elevation";
  } else {
    return 0;
  }
  report_nonfinite_record(rec.record_number, reader.shp_path(), what);
  ++counters.records_refused_nonfinite;
  return -1;
}

}  // namespace tsn
