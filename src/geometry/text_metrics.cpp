// Label text widths measured with FreeType in the face fontconfig picks for Arial.
#include "geometry/text_metrics.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cctype>

#include "platform/text_encoding.h"

namespace tsn {
namespace {

constexpr double kMinRatio = 0.2;
constexpr double kMaxRatio = 5.0;
constexpr double kWideFactor = 1.25;

// Windows-1252 code points of bytes 0x80 to 0x9F; unassigned bytes map to themselves.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

char32_t code_point(unsigned byte) {
  return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : static_cast<char32_t>(byte);
}

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool arial_compatible(std::string_view family) {
  return same_name(family, "Arial") || same_name(family, "Liberation Sans") ||
         same_name(family, "Arimo");
}

struct FtLibrary {
  FT_Library lib = nullptr;
  ~FtLibrary() {
    if (lib != nullptr) FT_Done_FreeType(lib);
  }
};

struct FtFace {
  FT_Face face = nullptr;
  ~FtFace() {
    if (face != nullptr) FT_Done_Face(face);
  }
};

}  // namespace

std::string match_arial_compatible(const std::string& family) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return {};
  std::string file;
  FcPattern* pattern = FcPatternCreate();
  if (pattern != nullptr) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match != nullptr) {
      FcChar8* matched_family = nullptr;
      FcChar8* matched_file = nullptr;
      if (FcPatternGetString(match, FC_FAMILY, 0, &matched_family) == FcResultMatch &&
          FcPatternGetString(match, FC_FILE, 0, &matched_file) == FcResultMatch &&
          arial_compatible(reinterpret_cast<const char*>(matched_family))) {
        file = reinterpret_cast<const char*>(matched_file);
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return file;
}

std::unique_ptr<FaceWidths> measure_face(const std::string& font_file) {
  if (font_file.empty()) return nullptr;
  FtLibrary library;
  if (FT_Init_FreeType(&library.lib) != 0) return nullptr;
  FtFace face;
  if (FT_New_Face(library.lib, font_file.c_str(), 0, &face.face) != 0) return nullptr;
  if (face.face->ascender <= 0) return nullptr;
  // Unscaled advances: the ratio to the ascent is the same at every size, without hinting's
  // rounding to whole pixels.
  auto widths = std::make_unique<FaceWidths>();
  widths->ascent = face.face->ascender;
  const bool unicode = FT_Select_Charmap(face.face, FT_ENCODING_UNICODE) == 0;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const FT_UInt glyph = unicode ? FT_Get_Char_Index(face.face, code_point(byte)) : 0;
    // A character the face lacks is drawn as its missing-glyph box (glyph 0).
    if (FT_Load_Glyph(face.face, glyph, FT_LOAD_NO_SCALE) == 0) {
      widths->advance[byte] = static_cast<double>(face.face->glyph->advance.x);
    }
  }
  return widths;
}

const FaceWidths* arial_widths() {
  static bool tried = false;
  static std::unique_ptr<FaceWidths> widths;
  if (!tried) {
    tried = true;
    widths = measure_face(match_arial_compatible("Arial"));
  }
  return widths.get();
}

double char_width_ratio(std::string_view text, WidthMode mode, double fallback,
                        const FaceWidths* face) {
  if (face == nullptr || text.empty() || !(face->ascent > 0.0)) return fallback;
  double advance = 0.0;
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++chars) {
    // A character the code page lacks (\U+XXXX) is taken as wide as a "W".
    const std::size_t escape = text[i] == '\\' ? unicode_escape_length(text, i) : 0;
    advance += face->advance[static_cast<unsigned char>(escape > 0 ? 'W' : text[i])];
    i += escape > 0 ? escape : 1;
  }
  double ratio = advance / face->ascent / static_cast<double>(chars);
  if (mode == WidthMode::wide) ratio *= kWideFactor;
  if (!(ratio >= kMinRatio && ratio <= kMaxRatio)) return fallback;
  return ratio;
}

double char_width_ratio(std::string_view text, WidthMode mode, double fallback) {
  return char_width_ratio(text, mode, fallback, arial_widths());
}

}  // namespace tsn
