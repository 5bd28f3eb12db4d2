// The polyline writer shared by lines, polygon outlines and the line legend symbol: one
// polyline as POLYLINE, VERTEX ... SEQEND (the vertex-list form) or as one LWPOLYLINE.
//
// The form follows the output: the vertex-list form for release 12, for records with Z
// (a 3D polyline, flag 8, vertex flag 32) and with TIN on; the light-weight form otherwise.
// Text or database path is the writer state's choice (uses_text_path).
//
//   vertex-list form            light-weight form (text path)
//   0 POLYLINE + header         0 LWPOLYLINE + header
//   [100 AcDb2d/3dPolyline]     90 vertex count
//   10/20[/30] 0, 0, elevation  [70 1 when closed]
//   66 1                        38 elevation
//   70 flags (1 closed, 8 Z)    per vertex: 10 X, 20 Y
//   per vertex: VERTEX entity
//   SEQEND
#pragma once

#include <string_view>

#include "dxf/dxf_writer.h"
#include "input/shape_record.h"

namespace tsn {

// Database failure context of a vertex-list polyline header.
inline constexpr int kContextPolylineHeader = 1005;

// Polyline flags (group 70 of POLYLINE).
inline constexpr int kPolylineClosed = 1;
inline constexpr int kPolyline3d = 8;

// True when the writer state asks for the vertex-list form.
bool polyline_vertex_list_form(const DxfState& state);

// Starts one polyline of vertex_count vertices. The vertex-list form uses the state's
// record_has_z for the 3D flag. A negative colour writes no colour. 0, or -1 when the
// database path has no database or record.
int polyline_begin(DxfWriter& w, double elevation, std::string_view layer, int colour,
                   int vertex_count, bool closed, const DbTarget& db = {});
// The vertex-list header is complete after polyline_begin (and after any extended data the
// caller attaches): on the database path this adds it to the drawing, reporting a refusal with
// context 1005. Nothing to do on the text path or in the light-weight form. 0 or -1.
int polyline_header_done(DxfWriter& w, const DbTarget& db = {});
// One vertex: a VERTEX entity on the layer, without colour, or one light-weight point.
int polyline_vertex(DxfWriter& w, const shape_point& p, std::string_view layer,
                    const DbTarget& db = {});
// SEQEND for the vertex-list form; closes and adds a database light-weight polyline.
int polyline_end(DxfWriter& w, const DbTarget& db = {});

}  // namespace tsn
