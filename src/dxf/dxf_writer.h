// The DXF group primitives: every byte of DXF text the program writes itself goes through
// them. They serve the DXF text writer alone; on any other path they write nothing.
//
// Layout of a group: the code on one line, the value on the next. Codes written by the point,
// real and plain-group writers are right-aligned in three columns ("%3d"); groups assembled
// with a prefix carry sz_pad1 before a one-digit code and sz_pad2 before a two-digit code
// (blanks with TidyDxf 1, nothing with TidyDxf 0); three-digit codes never carry a prefix.
// Reals are fixed notation with DecPlaces decimals, trimmed to one digit after the point (huge
// values in exponent notation, non-finite ones as 0: see dxf_number.h).
// Text values (names, tags, values, extended data strings) are written in caret notation: a
// control character c as "^" and c + 64, a caret as "^ ", so that every value stays on its line.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "drawing/release_traits.h"
#include "dxf/group_sink.h"
#include "settings/conv_settings.h"

namespace tsn {

// Cleans a layer name for the output release (the layer-name rule of classification) into out.
using LayerNameRule = void (*)(std::string_view name, int verDXF, std::string& out);

// Writing HEADER sets the handle counter to this value; the first handle issued is 22 hex.
inline constexpr std::uint32_t kHandleSeedStart = 33;

// What every stream of one output shares: prefixes, number format, output mode, handles.
struct DxfState {
  std::string_view sz_pad1 = "  ";  // blanks until the settings say TidyDxf 0
  std::string_view sz_pad2 = " ";
  int dec_places = 6;
  int verDXF = 4;
  const ReleaseTraits* release = &release_traits(4);  // of verDXF
  bool text_path = true;      // uses_text_path
  bool r14_text = false;      // r14_text_mode
  bool use_2d = true;         // setting "2D"
  bool tin = false;           // setting TIN of the current input
  bool record_has_z = false;  // the current record has Z values; set per record

  // Reals that were not finite numbers (NaN, infinities) and went out as 0: computed values
  // that overflowed. Records with such numbers of their own are refused before they are written.
  long non_finite_reals = 0;

  std::uint32_t n_last_handle = 0;
  std::uint32_t n_reserved_handle = 0;
  // Release 14 text: the next entity header names this handle as its reactor (an outline
  // pointing to its associative hatch); cleared once written. 0: none.
  std::uint32_t reactor_owner = 0;

  LayerNameRule clean_layer_name = nullptr;  // set by classification; nullptr keeps names as given
  // Checked writes that failed (a full disk) and the file of the first; the driver looks at
  // them after each stage, reports message 256 and removes the unfinished drawing.
  long write_failures = 0;
  std::string failed_path;
  std::string layer_scratch;                       // the last cleaned layer name
  std::string layer_scratch_source;                // the name it was cleaned from
};

// Sets the prefixes, the number format and the output mode from the settings; called at
// start-up and after every settings change.
void dxf_configure(DxfState& state, const ConvSettings& s, bool merge_group_active);

// One output stream with the state it shares with the other streams of the same file.
struct DxfWriter {
  DxfState& state;
  GroupSink* sink;
};

// Checked write: a failure is counted in the state.
void dxf_write(DxfWriter& w, std::string_view text);
// Checked write of text whose `lines` lines already end in CR LF and hold at most
// kMaxLineLength characters each.
void dxf_write_lines(DxfWriter& w, std::string_view text, long lines);
// Unchecked write for fixed text; a failure stays in the sink and shows at the next checked
// write or when the file is finished.
void dxf_write_raw(DxfWriter& w, std::string_view text);

// "%3d\n%s\n" (codes of four digits simply take four columns).
void dxf_group(DxfWriter& w, int code, std::string_view text);
// Prefixed groups: sz_pad1/sz_pad2/nothing by the number of digits of the code, then the value;
// integers as "%d".
void dxf_prefixed_group(DxfWriter& w, int code, std::string_view text);
void dxf_prefixed_int(DxfWriter& w, int code, long value);
// One real, formatted with DecPlaces decimals and trimmed.
void dxf_real(DxfWriter& w, int code, double value);
// One real with all DecPlaces decimals (header extents and limits).
void dxf_real_untrimmed(DxfWriter& w, int code, double value);
// Groups code, code+10 and, by the Z rule, code+20: Z is written when "2D" is off, the record
// has Z values or the release is 14 or later.
void dxf_point(DxfWriter& w, int code, double x, double y, double z);
// Groups code and code+10 only.
void dxf_point2(DxfWriter& w, int code, double x, double y);

// The common entity header; a negative colour writes no colour (BYLAYER). Returns 0, or -1
// for an unknown entity type or off the text path.
int dxf_entity_start(DxfWriter& w, int entity_type, std::string_view layer, int colour);
// One polyline vertex: a VERTEX entity for release 12, Z records and TIN, otherwise a
// light-weight polyline point. Returns 0, or -1 off the text path.
int dxf_vertex(DxfWriter& w, double x, double y, double z, std::string_view layer, int colour);
// Ends a classic polyline with SEQEND (nothing for a light-weight one). Returns 0 or -1.
int dxf_seqend(DxfWriter& w);
// SEQEND on the text path whatever the polyline form: the end of the attributes after an
// INSERT. 0, or -1 off the text path.
int dxf_sequence_end(DxfWriter& w);
// The ENDBLK entity of a block definition. Returns 0 or -1.
int dxf_endblk(DxfWriter& w);

// Handles. A new handle is one above the last issued.
void dxf_reset_handles(DxfState& state);  // start of HEADER: n_last_handle = 33
std::uint32_t dxf_new_handle(DxfState& state);
// Issues a handle now for an entity written later (a hatch its boundaries point to).
std::uint32_t dxf_reserve_handle(DxfState& state);

// Release 14 markers; each writes nothing unless r14_text_mode.
void dxf_entity_handle(DxfWriter& w);    // "  5" new handle, "100" AcDbEntity
void dxf_reserved_handle(DxfWriter& w);  // the same with n_reserved_handle
void dxf_subclass(DxfWriter& w, std::string_view name);  // "100\nAcDb<name>\n"
void dxf_table_handle(DxfWriter& w);                      // new handle, AcDbSymbolTable
// New handle, AcDbSymbolTableRecord, "AcDb<record_name>TableRecord".
void dxf_table_record_handle(DxfWriter& w, std::string_view record_name);
void dxf_block_begin_marker(DxfWriter& w);
void dxf_block_end_marker(DxfWriter& w);
// "102\n{ACAD_REACTORS\n", one "330" per owner handle, "102\n}\n".
void dxf_reactors(DxfWriter& w, std::span<const std::uint32_t> owners);
// "330" with the handle of another object.
void dxf_soft_pointer(DxfWriter& w, std::uint32_t handle);

}  // namespace tsn
