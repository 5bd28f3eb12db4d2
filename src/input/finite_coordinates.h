// Records that are not drawn because a number of theirs is not finite (NaN or an infinity, read
// from the file or overflowing when scaled by ElevFactor). Huge finite values are drawn: the DXF
// writer writes every finite double so that it reads back the same.
#pragma once

#include <string>
#include <string_view>

#include "input/shape_record.h"
#include "input/table_reader.h"

namespace tsn {

// True when X and Y of every point are finite, and so are Z times z_factor and the record's Z
// range for a record with Z values (has_z, or inline_z for the Z of a PointZ). A record box that
// is not finite while the points are is replaced by the points' own box.
bool finite_record(shape_rec& rec, bool inline_z, double z_factor);

// "Record <n> of <file> has <what> that is not a finite number: not drawn", reported as input
// problems are; `what` is "a coordinate" or "an elevation".
void report_nonfinite_record(long record, const std::string& file, std::string_view what);

// The point of row `row` (1-based) of a point table, begun: 0 with x and y set; 1 when a
// coordinate is blank or no number (the row has no coordinates); -2 (reported) when a
// coordinate, or the elevation field times elev_factor (elev_field 0 or more), is a number
// that is not finite.
int table_row_point(TableReader& table, int x_field, int y_field, int elev_field,
                    double elev_factor, long row, const std::string& file, double& x, double& y);

}  // namespace tsn
