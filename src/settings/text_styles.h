// Text styles (name and font file) from the styles file, and the lookup that resolves the
// style names of labels, markers, legend and attributes.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/conv_settings.h"

namespace tsn {

inline constexpr int kMaxTextStyles = 74;

// Reads section Styles of the styles file into s.text_styles; when the section is missing or
// empty, writes "STANDARD" = "txt" there and uses that single style. Returns the count.
int load_text_styles(ConvSettings& s);
// A name that section Styles can hold as a key and give back unchanged: not empty, no blank at
// either end, no '=' or line break, and not starting like a section header ('[') or a comment.
bool style_name_writable(std::string_view name);
// Replaces section Styles of the styles file by these (name, font file) pairs in order, then
// loads them into s.text_styles and resolves the current style names again. False, with the
// file and s.text_styles untouched, when the list is empty or longer than kMaxTextStyles, a name
// is not writable or repeats another ignoring case, a font file is empty or holds a line break
// or blanks at either end, or the file cannot be written.
bool save_text_styles(ConvSettings& s,
                      const std::vector<std::pair<std::string, std::string>>& styles);
// Index of the style of that name (case ignored); when none matches, the name becomes the
// first style's name and the index is 0.
int find_style(const ConvSettings& s, std::string& name);
// The font file of the known style of that name (case ignored), or "txt".
std::string style_font(const ConvSettings& s, std::string_view name);
// The name of style `index` of the drawing's style list (clamped into it), or `fallback` when
// the list is empty.
std::string_view drawing_style_name(const ConvSettings& s, int index, std::string_view fallback);
// Resolves the four current style names to indices.
void resolve_style_indices(ConvSettings& s);

// Reads the scheme names of section ColorSchemes of the colour schemes file.
int load_scheme_names(ConvSettings& s);
// Index of the scheme of that name (case ignored; the built-in mapping scheme follows the
// named ones), or -1.
int find_scheme(const ConvSettings& s, const std::string& name);
// The name of the scheme at that index, the mapping scheme's included; empty when none.
std::string scheme_name(const ConvSettings& s, int index);

}  // namespace tsn
