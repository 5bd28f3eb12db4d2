// The default colour schemes and text styles, and their file texts.
#include "platform/default_files.h"

#include <array>

#include "platform/profile.h"

namespace tsn {
namespace {

// AutoCAD Color Index: 1..7 red, yellow, green, cyan, blue, magenta, white; 8 and 9 greys;
// 10..249 are 24 hues 15 degrees apart (10 red, 50 yellow, 90 green, 130 cyan, 170 blue,
// 210 magenta), each as full colour (x0), then darker steps x2, x4, x6, x8, with the odd
// numbers x1..x9 the paler versions of those; 250..255 greys from dark to white.
constexpr std::array<std::uint8_t, 15> kStandard = {1,  2,  3,   4,   5,   6,   7,  8,
                                                    9,  30, 70,  110, 150, 190, 230};
// Red through violet in hue order.
constexpr std::array<std::uint8_t, 20> kRainbow = {10,  20,  30,  40,  50,  60,  70,
                                                   80,  90,  100, 110, 120, 130, 140,
                                                   150, 160, 170, 180, 190, 200};
// White to dark grey through the six greys, which darken steadily in every palette (8 and 9
// fall between them differently from one palette to another, so they are left out).
constexpr std::array<std::uint8_t, 6> kGreys = {255, 254, 253, 252, 251, 250};
// Pale, full, then darker shades of one hue.
constexpr std::array<std::uint8_t, 6> kReds = {11, 10, 12, 14, 16, 18};
constexpr std::array<std::uint8_t, 6> kGreens = {91, 90, 92, 94, 96, 98};
constexpr std::array<std::uint8_t, 6> kBlues = {171, 170, 172, 174, 176, 178};
// The pale version of every second hue.
constexpr std::array<std::uint8_t, 12> kPastel = {11,  31,  51,  71,  91,  111,
                                                  131, 151, 171, 191, 211, 231};
// Lowland green through olive, ochre and browns to grey rock and white snow.
constexpr std::array<std::uint8_t, 11> kTerrain = {94, 92, 72, 62, 52, 42, 32, 34, 36, 253, 255};
// Pale yellow through yellow, orange and red to dark red.
constexpr std::array<std::uint8_t, 9> kHeat = {51, 50, 40, 30, 20, 10, 12, 14, 16};
// Unique values: twelve hues 30 degrees apart at full strength, then the same twelve darker,
// so that neighbouring classes differ in hue and the first dozen stay clearly apart.
constexpr std::array<std::uint8_t, 24> kDistinct = {10,  50,  90,  130, 170, 210, 30,  70,
                                                    110, 150, 190, 230, 14,  54,  94,  134,
                                                    174, 214, 34,  74,  114, 154, 194, 234};
// Diverging: dark blue through pale blue and pale red to dark red, for values either side of
// a middle (change, departure from a mean).
constexpr std::array<std::uint8_t, 10> kBlueRed = {176, 174, 172, 170, 171, 11, 10, 12, 14, 16};

// New schemes go at the end: settings files keep a scheme by its index (DefaultColorSet).
constexpr std::array<DefaultColourScheme, 11> kSchemes = {{
    {"Standard", false, kStandard},
    {"Rainbow", true, kRainbow},
    {"Greys", true, kGreys},
    {"Reds", true, kReds},
    {"Greens", true, kGreens},
    {"Blues", true, kBlues},
    {"Pastel", false, kPastel},
    {"Terrain", true, kTerrain},
    {"Heat", true, kHeat},
    {"Distinct", false, kDistinct},
    {"Blue-Red", true, kBlueRed},
}};

constexpr std::size_t kColoursPerLine = 20;

}  // namespace

std::span<const DefaultColourScheme> default_colour_schemes() { return kSchemes; }

std::vector<std::string> colour_list_lines(std::span<const std::uint8_t> colours) {
  std::vector<std::string> lines(colours.size() / kColoursPerLine + 1);
  for (std::size_t i = 0; i < colours.size(); ++i) {
    std::string& line = lines[i / kColoursPerLine];
    if (!line.empty()) line += ',';
    line += std::to_string(colours[i]);
  }
  return lines;
}

std::string default_colors_ini() {
  ProfileDocument doc = ProfileDocument::parse(
      "; Colour schemes, named under [ColorSchemes]. Each scheme's section has Grad (1: a ramp\n"
      "; spread over the classes, 0: repeated) and lines 0, 1, ... of up to 20 colour numbers.\n");
  doc.set("ColorSchemes", "NumSchemes", std::to_string(kSchemes.size()));
  for (std::size_t i = 0; i < kSchemes.size(); ++i) {
    doc.set("ColorSchemes", std::to_string(i), kSchemes[i].name);
  }
  for (const auto& scheme : kSchemes) {
    doc.set(scheme.name, "Grad", scheme.graduated ? "1" : "0");
    const auto lines = colour_list_lines(scheme.colours);
    for (std::size_t i = 0; i < lines.size(); ++i) doc.set(scheme.name, std::to_string(i), lines[i]);
  }
  return doc.text();
}

std::string default_styles_ini() {
  return "; Text styles: style name=font file (a shape font without extension, or a TrueType file).\n"
         "[Styles]\n"
         "STANDARD=txt\n"
         "ROMANS=romans\n"
         "ROMAND=romand\n"
         "SIMPLEX=simplex\n"
         "ISOCP=isocp\n"
         "ARIAL=arial.ttf\n";
}

}  // namespace tsn
