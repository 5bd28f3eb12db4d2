// Widths of label texts in an Arial-compatible face, as a fraction of the text height.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace tsn {

// Advance widths of the 256 byte values (read as Windows-1252) and the ascent of one face, in
// the face's own units, measured once when the face is opened.
struct FaceWidths {
  double ascent = 0.0;
  std::array<double, 256> advance{};
};

// The font file fontconfig matches for `family` when the face it picks is Arial or a
// metric-compatible one ("Arial", "Liberation Sans", "Arimo"); empty otherwise.
std::string match_arial_compatible(const std::string& family);

// Measures the face in `font_file`; null when FreeType cannot open it or it has no ascent.
std::unique_ptr<FaceWidths> measure_face(const std::string& font_file);

// The face matched for "Arial", measured on first use and kept for the process; null without
// an Arial-compatible face. Not thread-safe.
const FaceWidths* arial_widths();

enum class WidthMode {
  plain,  // the text's own width
  wide,   // a quarter more
};

// Width of one character of `text` as a fraction of the text height: the text's advance over
// the face's ascent and the number of characters (x 1.25 in the wide mode). Without a face, for
// an empty text, or for a result outside 0.2 .. 5, `fallback` (TextWidthFactor).
double char_width_ratio(std::string_view text, WidthMode mode, double fallback,
                        const FaceWidths* face);
// The same with the process's Arial face.
double char_width_ratio(std::string_view text, WidthMode mode, double fallback);

}  // namespace tsn
