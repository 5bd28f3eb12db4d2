// Built-in contents of the settings files the program writes when they are missing:
// the colour schemes file and the text styles file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tsn {

// One colour scheme: AutoCAD Color Index numbers (1..255) in order; a graduated scheme is
// stretched or shrunk over the classes, any other is repeated.
struct DefaultColourScheme {
  std::string_view name;
  bool graduated;
  std::span<const std::uint8_t> colours;
};

std::span<const DefaultColourScheme> default_colour_schemes();

// The value lines "0", "1", ... of a colour list: 20 numbers a line joined by ',', the last
// line holding the rest, which is an empty line when the count is a multiple of 20.
std::vector<std::string> colour_list_lines(std::span<const std::uint8_t> colours);

// Text of colors.ini: [ColorSchemes] with NumSchemes and the names under keys 0..N-1, then
// one section per scheme with Grad and its colour lines.
std::string default_colors_ini();
// Text of styles.ini: [Styles] with one "style name=font file" entry per text style.
std::string default_styles_ini();

}  // namespace tsn
