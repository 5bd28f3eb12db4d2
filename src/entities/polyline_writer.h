// The polyline form shared by lines, polygon outlines and the line legend symbol: the classic
// form (POLYLINE, VERTEX ... SEQEND) for release 12, for records with Z (a 3D polyline) and with
// TIN on; the light-weight form otherwise.
#pragma once

#include <span>
#include <vector>

#include "drawing/drawing_entities.h"
#include "input/shape_record.h"
#include "settings/conv_settings.h"

namespace tsn {

// True when a polyline of a record with (has_z) or without Z takes the classic form.
bool polyline_vertex_list_form(const ConvSettings& s, bool has_z);

// The vertices of `points` into `out` (reused from call to call), Z as given.
void polyline_vertices(std::span<const shape_point> points, std::vector<Point3>& out);

}  // namespace tsn
