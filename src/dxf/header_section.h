// The HEADER section of the DXF text the program writes itself, and the $HANDSEED patch.
//
// Layout (release 14 lines marked R14):
//   0 SECTION, 2 HEADER, 9 $ACADVER, 1 AC1009 | AC1014
//   999 product line, 999 date line           (unless No999)
//   9 $DWGCODEPAGE, 3 <code page>             (unless the code page is "undefined")
//   9 $EXTMIN 10/20/30, 9 $EXTMAX 10/20/30    (all DecPlaces decimals, Z 0)
//   9 $LIMMIN 10/20, 9 $LIMMAX 10/20          (the limits equal the extents)
//   9 $FILLMODE 70 1
//   9 $HANDLING 70 1                          (R14)
//   9 $HANDSEED 5 <eight blanks>              (R14; patched when the file is finished)
//   0 ENDSEC
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "drawing/drawing_writer.h"
#include "dxf/dxf_writer.h"
#include "dxf/group_sink.h"
#include "settings/conv_settings.h"

namespace tsn {

// A box with a value that is not a finite number (headers written without one hold NaN) says
// nothing about the data: it is treated as absent, all 0, the extents of an empty file. Returns
// false when it did so.
bool make_extents_finite(DrawingExtents& extents);

// Where the $HANDSEED placeholder of a release 14 header lies in the main file.
struct HandseedMark {
  bool present = false;
  std::uint64_t offset = 0;  // file offset of its first byte, CR bytes counted
};

inline constexpr std::string_view kHandseedPlaceholder = "  9\n$HANDSEED\n  5\n        \n";

// The header is release 14 for DXF output (SaveFileType 0) with verDXF 6.
bool header_is_release14(const ConvSettings& s);

// A date as the 999 line shows it: "Mon Dec 07 10:44:32 2026\n" (25 characters for
// four-digit years; day of month with two digits).
std::string header_date_text(const std::tm& date);

// Writes the section to the main file, sets the handle counter to 33 and, in release 14,
// records the placeholder's position in `mark`. `date` fixes the date line; nullptr takes the
// local time now. Every write is checked (the state's failure handler). Returns 0.
int write_dxf_header(DxfState& state, FileGroupSink& main, const ConvSettings& s,
                     const DrawingExtents& extents, HandseedMark& mark,
                     const std::tm* date = nullptr);

// "  9\n$HANDSEED\n  5\n%8lX\n": the text that replaces the placeholder, of the same length
// for every 32-bit handle.
std::string handseed_text(std::uint32_t handle);

}  // namespace tsn
