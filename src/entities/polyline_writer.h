// The polyline form shared by lines, polygon outlines and the line legend symbol: the classic
// form (POLYLINE, VERTEX ... SEQEND) for release 12, for records with Z (a 3D polyline) and with
// TIN on; the light-weight form otherwise.
#pragma once


#include "drawing/drawing_entities.h"
#include "settings/conv_settings.h"

namespace tsn {

// True when a polyline of a record with (has_z) or without Z takes the classic form.
bool polyline_vertex_list_form(const ConvSettings& s, bool has_z);

}  // namespace tsn
