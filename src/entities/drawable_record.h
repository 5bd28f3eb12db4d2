// The content of a shapefile record read for drawing, refused when a number it would draw is
// not finite.
#pragma once

#include "entities/polyline_shape.h"
#include "input/shape_record.h"
#include "input/shapefile_reader.h"
#include "settings/conv_settings.h"

namespace tsn {

// Reads the content of the record whose header was read last (the file's type decides how).
// The record is refused, reported and counted in counters.records_refused_nonfinite when an X,
// Y or Z (times ElevFactor with flgScaleZ) of its own, or the table elevation that a record
// without Z values stands at, is not a finite number. 0, or -1 when the content is refused.
int read_drawable_record(ShapefileReader& reader, shape_rec& rec, const FileSettings& cur,
                         const ElevationSource& elevation, EntityCounters& counters);

}  // namespace tsn
