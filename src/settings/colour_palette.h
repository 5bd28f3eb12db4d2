// The red, green and blue values of the 256 drawing colour numbers, and the nearest of a set
// of colour numbers to a given RGB value.
#pragma once

#include <cstdint>
#include <span>

namespace tsn {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
};

// Colour number 0..255: 1-9 the named colours, 10-249 a 24-hue wheel in five shades each with a
// full and a pale variant, 250-255 greys. Numbers outside 0..255 give black.
Rgb colour_rgb(int colour);

// The colour of `candidates` with the smallest squared RGB distance to `target`; the first such
// on ties. 7 when there are no candidates.
std::uint8_t nearest_colour(const Rgb& target, std::span<const std::uint8_t> candidates);

}  // namespace tsn
