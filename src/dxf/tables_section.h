// The TABLES section of DXF text output: line types, layers, application ids, the empty VIEW,
// DIMSTYLE and UCS tables, the active viewport, text styles, and the head of BLOCK_RECORD.
//
// Layout (release 14 adds, after every table head, "  5" with a new handle and
// "100\nAcDbSymbolTable", and before every record's name group a new handle,
// "100\nAcDbSymbolTableRecord" and "100\nAcDb<kind>TableRecord"; release 12 has neither):
//   SECTION/TABLES, LTYPE (3), LAYER (n), APPID (2), VIEW (0), DIMSTYLE (0), UCS (0),
//   VPORT (1, *ACTIVE), STYLE (n). The section stays open: in release 14 the BLOCK_RECORD table
//   follows (open_block_record_table); its ENDTAB and the ENDSEC come at assembly.
// Some frames are fixed text with their own blanks ("  0\nTABLE\n", " 70\n     3\n"); the
// others carry sz_pad1/sz_pad2 like every prefixed group.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/dxf_writer.h"
#include "dxf/header_section.h"  // DrawingExtents, shared with the HEADER

namespace tsn {

// What the TABLES writer is given. The fixed layer list ("0", label, legend, single output
// layer, label fields) must hold no name of a class layer; class layers follow it in class
// order. Names are written as given: they are already cleaned by the layer-name rule.
struct TablesInput {
  std::span<const LayerDef> layers;
  std::span<const LayerDef> class_layers;
  std::span<const TextStyleDef> styles;
  DrawingExtents extents;  // the viewport is fitted to them
};

// The *ACTIVE viewport's view: centred on the extents and tall enough that the whole extent
// fits a view of aspect ratio 1.35.
inline constexpr double kViewAspect = 1.35;
struct ActiveView {
  double centre_x = 0.0;
  double centre_y = 0.0;
  double height = 0.0;
};
ActiveView active_view(const DrawingExtents& e);

// The colour of a layer that no class colours: by the input's shape class (0 points, 1 lines,
// 2 polygons), the single colour of that class.
int default_layer_colour(const FileSettings& f, int shape_class);

// Case-insensitive name comparison of layer and style names (ASCII letters only).
bool same_table_name(std::string_view a, std::string_view b);

// Appends a layer to the fixed list unless its name is already there or is a class layer's
// name (either compared without regard to case). True when it was appended.
bool add_fixed_layer(std::vector<LayerDef>& layers, std::string_view name, int colour,
                     std::span<const LayerDef> class_layers);

// Find-or-append on the style list: the index of the style of that name (the first font given
// for a name is kept).
std::size_t add_text_style(std::vector<TextStyleDef>& styles, std::string_view name,
                           std::string_view font);

// The style STYLE records are completed with when the list has no style of its name.
inline constexpr std::string_view kStandardStyle = "STANDARD";
inline constexpr std::string_view kStandardFont = "txt";


// Writes the TABLES section up to the end of STYLE to the main output stream. Returns 0; -1
// outside the text path (the drawing database registers layers, the application id and styles
// itself, through operations this writer does not have).
int write_dxf_tables(DxfWriter& main, const TablesInput& in);

// BLOCK_RECORD entries expected: one per input record, one for the legend symbol, and the two
// layout blocks. The count is a forecast; the records that follow may differ from it.
long expected_block_records(long input_records, bool legend);

// Release 14 text only (nothing otherwise): the head of the BLOCK_RECORD table on the main
// stream, with the expected count. Block frames then append one record each.
void open_block_record_table(DxfWriter& main, long expected_records);

}  // namespace tsn
