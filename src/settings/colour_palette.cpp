// Drawing colour numbers as RGB, computed from the layout of the palette rather than stored.
#include "settings/colour_palette.h"

#include <array>

namespace tsn {
namespace {

// Brightness of the five shades of a hue (numbers ending 0-1, 2-3, 4-5, 6-7, 8-9).
constexpr std::array<int, 5> kShadeValue = {255, 165, 127, 76, 38};
constexpr std::array<Rgb, 10> kNamed = {{{0, 0, 0}, {255, 0, 0}, {255, 255, 0}, {0, 255, 0},
                                         {0, 255, 255}, {0, 0, 255}, {255, 0, 255},
                                         {255, 255, 255}, {128, 128, 128}, {192, 192, 192}}};
constexpr std::array<int, 6> kGreys = {51, 91, 132, 173, 214, 255};

// Hue k of 24 (15 degrees apart, from red through yellow, green, cyan, blue and magenta) at
// brightness v; a pale shade mixes it half-way with grey of the same brightness.
Rgb wheel_colour(int k, int v, bool pale) {
  const double low = pale ? v / 2.0 : 0.0;
  const double span = v - low;
  const int sector = k / 4;            // 60 degrees each
  const double f = (k % 4) / 4.0;      // position inside the sector
  const double rising = low + span * f;
  const double falling = low + span * (1.0 - f);
  double r = 0, g = 0, b = 0;
  switch (sector) {
    case 0: r = v; g = rising; b = low; break;
    case 1: r = falling; g = v; b = low; break;
    case 2: r = low; g = v; b = rising; break;
    case 3: r = low; g = falling; b = v; break;
    case 4: r = rising; g = low; b = v; break;
    default: r = v; g = low; b = falling; break;
  }
  return {static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)};
}

}  // namespace

Rgb colour_rgb(int colour) {
  if (colour < 0 || colour > 255) return {};
  if (colour < 10) return kNamed[static_cast<std::size_t>(colour)];
  if (colour >= 250) {
    const int v = kGreys[static_cast<std::size_t>(colour - 250)];
    return {v, v, v};
  }
  const int shade = colour % 10;
  return wheel_colour(colour / 10 - 1, kShadeValue[static_cast<std::size_t>(shade / 2)],
                      shade % 2 == 1);
}

std::uint8_t nearest_colour(const Rgb& target, std::span<const std::uint8_t> candidates) {
  std::uint8_t best = 7;
  long best_distance = -1;
  for (const std::uint8_t c : candidates) {
    const Rgb v = colour_rgb(c);
    const long dr = v.r - target.r, dg = v.g - target.g, db = v.b - target.b;
    const long d = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || d < best_distance) {
      best = c;
      best_distance = d;
    }
  }
  return best;
}

}  // namespace tsn
