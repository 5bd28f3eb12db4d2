// Reading and writing the program settings file.
#include "settings/program_settings.h"

#include <cstdlib>
#include <string>

#include "platform/format.h"
#include "platform/profile.h"
#include "settings/definition_file.h"
#include "settings/file_keys.h"
#include "settings/key_lists.h"
#include "settings/settings_files.h"
#include "settings/scheme_colours.h"
#include "settings/text_styles.h"

namespace tsn {

namespace {

constexpr std::size_t kPathChars = 259;
constexpr std::size_t kNameChars = 255;
constexpr std::size_t kKeyFieldChars = 60;
constexpr const char* kMissingListEntry = "(null_baby)";

void read_window_positions(Profile& p, ConvSettings& s) {
  p.select_section("Windows");
  for (int i = 0; i < kWindowPositions; ++i) {
    s.window_positions[static_cast<std::size_t>(i)] =
        parse_window_position(p.read_string(std::to_string(i), "-1,-1", 40));
  }
}

template <std::size_t N>
void read_list(Profile& p, std::array<std::string, N>& list, const char* prefix) {
  for (std::size_t i = 0; i < N; ++i) {
    std::string v = p.read_string(prefix + std::to_string(i), kMissingListEntry, kNameChars);
    list[i] = v == kMissingListEntry ? std::string() : std::move(v);
  }
}

template <std::size_t N>
void write_list(Profile& p, const std::array<std::string, N>& list, const char* prefix) {
  for (std::size_t i = 0; i < N; ++i) p.write_string(prefix + std::to_string(i), list[i]);
}

void read_program_table(Profile& p, ConvSettings& s) {
  FileSettings& f = s.prog;
  s.InDir = p.read_string("InDir", "", kPathChars);
  s.OutDir = p.read_string("OutDir", "", kPathChars);
  s.LegendFileType = p.read_string("LegendFileType", "lgd", kPathChars);
  s.verDXF = p.read_int("verDXF", 4);
  if (std::abs(static_cast<long long>(s.verDXF)) > 7) s.verDXF = 4;
  s.Network = p.read_int("Network", 0);
  s.DWGCodePageString = p.read_string("DWGCodePageString", "ANSI_1252", 31);
  s.DWGCodePageIndex = p.read_int("DWGCodePageIndex", 30);
  s.SortMethod = p.read_int("SortMethod", 0);
  s.Use2D = p.read_int("2D", 1);
  s.InternChunkSize = p.read_int("InternChunkSize", 250);
  s.No999 = p.read_int("No999", 0);
  s.trace = p.read_int("trace", 0);
  s.Log = p.read_int("Log", 0);
  s.DecPlaces = p.read_int("DecPlaces", 6);
  if (s.DecPlaces < 0 || s.DecPlaces > 16) s.DecPlaces = 6;
  s.Verbose = p.read_int("Verbose", 0);
  s.CheckForBadLoops = p.read_int("CheckForBadLoops", 0);
  s.VerticesMergeTol = p.read_real("VerticesMergeTol", 1e-10);
  s.ClosePolys = p.read_int("ClosePolys", 0);
  s.Merge = p.read_int("Merge", 0);
  read_list(p, s.recent_layer_keys, "LastLayerKey");
  read_list(p, s.recent_colour_keys, "LastColoursKey");
  s.LoadDefaults = p.read_int("LoadDefaults", 1) != 0 ? kLoadDefaultsOn : 0;
  s.TidyDxf = p.read_int("TidyDxf", 0);
  s.LayersWarning = p.read_int("LayersWarning", 512);
  s.StripSpaces = p.read_int("StripSpaces", 1);
  s.RaiseText = p.read_int("RaiseText", 0);
  s.zFill = p.read_real("zFill", 1e-06);
  s.zText = p.read_real("zText", 1e-06);
  s.SaveFileType = p.read_int("SaveFileType", 0);
  s.TextLabelsHeightToMinMax = p.read_real("TextLabelsHeightToMinMax", 0.0025);
  s.LegendHeightToMinMax = p.read_real("LegendHeightToMinMax", 0.005);
  s.AttribHeightToMinMax = p.read_real("AttribHeightToMinMax", 0.0025);
  s.MarkerHeightToMinMax = p.read_real("MarkerHeightToMinMax", 0.0025);
  s.HatchToMinMax = p.read_real("HatchToMinMax", 0.02);
  s.LineSpacing = p.read_real("LineSpacing", 0.5);
  s.TextXOfsRatio = p.read_real("TextXOfsRatio", 0.5);
  s.PointTextXOfsRatio = p.read_real("PointTextXOfsRatio", 1.0);
  s.TextWidthFactor = p.read_real("TextWidthFactor", 1.0);
  s.OverlapWidthFactor = p.read_real("OverlapWidthFactor", 1.0);
  f.OverlapFactor = p.read_real("OverlapFactor", 1.0);
  s.MergeTolerance = p.read_real("MergeTolerance", 0.01);
  s.LLMS = p.read_int("LLMS", 1);
  f.SingleRedlineLayer = p.read_string("SingleRedlineLayer", "TEXT", kNameChars);
  s.AnnotLayerDef = p.read_int("AnnotLayerDef", 1);
  f.flgSingleRedlineLayer = s.AnnotLayerDef;
  f.AlignText = p.read_int("AlignText", 1);
  f.AlignAttrib = p.read_int("AlignAttrib", f.AlignText);
  f.DrawEdges = p.read_int("DrawEdges", 1);
  f.LegendLayer = p.read_string("LegendLayer", "LEGEND", kNameChars);
  f.IgnoreColRangeEnts = p.read_int("IgnoreColRangeEnts", 1);
  f.IgnoreLayRangeEnts = p.read_int("IgnoreLayRangeEnts", 1);
  f.PointsArePolys = p.read_int("PointsArePolys", 0);
  f.CSVHasHeader = p.read_int("CSVHasHeader", 1);
  f.ElimDoubleLabels = p.read_int("ElimDoubleLabels", 0);
  f.PointsElev = p.read_int("PointsElev", 0);
  f.ElevFactor = p.read_real("ElevFactor", 1.0);
  f.ElevText = p.read_int("ElevText", 0);
  f.ElevKey = p.read_string("ElevKey", "DXF_ELEVATION", kKeyFieldChars);
  f.XKey = p.read_string("XKey", "LONGITUDE", kKeyFieldChars);
  f.YKey = p.read_string("YKey", "LATITUDE", kKeyFieldChars);
  f.Z1Key = p.read_string("Z1Key", "Z1", kKeyFieldChars);
  f.Z2Key = p.read_string("Z2Key", "Z2", kKeyFieldChars);
  f.Z3Key = p.read_string("Z3Key", "Z3", kKeyFieldChars);
  for (std::size_t k = 0; k < s.Runtot.size(); ++k) {
    s.Runtot[k] = p.read_uint("Runtot" + std::to_string(k + 1), 0);
  }
}

void read_text_positions(Profile& p, ConvSettings& s) {
  for (int cls = 0; cls < kShapeClasses; ++cls) {
    read_text_position(p, s.prog.label_position[static_cast<std::size_t>(cls)], class_suffix(cls));
  }
  p.select_section("Attribs");
  for (int cls = 0; cls < kShapeClasses; ++cls) {
    read_text_position(p, s.prog.attrib_position[static_cast<std::size_t>(cls)], class_suffix(cls));
  }
  p.select_section("Tessaryn");
  s.LSCD = p.read_int("LSCD", 0);
  s.prog.Legend = p.read_int("Legend", 0);
  s.prog.LegendTextColour = p.read_int("LegendTextColour", 40);
  s.prog.TextColour = p.read_int("TextColour", 40);
  s.prog.AttribTextColour = p.read_int("AttribTextColour", 40);
}

void read_schemes_and_styles(ConvSettings& s) {
  const int schemes = load_scheme_names(s);
  FileSettings& f = s.prog;
  if (f.DefaultColorSet >= schemes) {
    f.DefaultColorSet = f.AcadMapping == 1 ? schemes : 0;
  }
  s.cur.DefaultColorSet = f.DefaultColorSet;
  load_scheme_colours(s);
  load_text_styles(s);
  resolve_style_indices(s);
  f.TextLabelsStyle = s.cur.TextLabelsStyle;
  f.MarkerStyle = s.cur.MarkerStyle;
  f.TextLegendStyle = s.cur.TextLegendStyle;
  f.TextAttribStyle = s.cur.TextAttribStyle;
}

void read_hatch(Profile& p, ConvSettings& s) {
  FileSettings& f = s.prog;
  f.ACADHatchPattern = "SOLID";
  f.ACADHatchPattern = p.read_string("ACADHatchPattern", f.ACADHatchPattern, kNameChars);
  f.HatchNumber = hatch_number_for(f.ACADHatchPattern);
  f.HatchScale = p.read_real("HatchScale", -1.0);
}

}  // namespace

WindowPosition parse_window_position(const std::string& text) {
  WindowPosition pos;
  const char* start = text.c_str();
  char* end = nullptr;
  const long x = std::strtol(start, &end, 10);
  if (end == start || *end != ',') return pos;
  start = end + 1;
  const long y = std::strtol(start, &end, 10);
  if (end == start) return pos;
  pos.x = static_cast<int>(x);
  pos.y = static_cast<int>(y);
  return pos;
}

bool load_program_settings(ConvSettings& s, const std::string& program_dir) {
  build_settings_paths(s, program_dir);
  Profile p;
  p.select_file(s.settings_file);
  read_window_positions(p, s);
  p.select_section("Tessaryn");
  upgrade_settings_version(p);
  s.TmpDir = p.read_string("TmpDir", "", kPathChars);
  s.temp_dir = find_temp_dir(s.TmpDir);

  s.DefsDir = settle_defs_dir(p.read_string("DefsDir", s.defs_dir_default, kPathChars),
                              s.defs_dir_default);
  p.write_string("DefsDir", s.DefsDir);

  read_program_table(p, s);
  read_text_positions(p, s);
  read_shared_file_keys(p, s.prog, s.prog, kAllClasses);
  s.prog.AttVis = p.read_int("AttVis", 0);
  s.prog.AttribColSameAsShape = p.read_int("AttribColSameAsShape", 0);
  s.InputFileType = p.read_int("InputFileType", 0);
  s.cur = s.prog;
  read_schemes_and_styles(s);
  p.select_section("LayerHistory");
  for (int i = 0; i < kLayerHistory; ++i) {
    s.layer_history[static_cast<std::size_t>(i)] =
        p.read_string("L" + std::to_string(i), "", kNameChars);
  }
  p.select_section("Tessaryn");
  read_hatch(p, s);
  s.cur.ACADHatchPattern = s.prog.ACADHatchPattern;
  s.cur.HatchNumber = s.prog.HatchNumber;
  s.cur.HatchScale = s.prog.HatchScale;
  if (!s.recent_layer_keys[0].empty()) s.def.LayersKey = s.recent_layer_keys[0];
  if (!s.recent_colour_keys[0].empty()) s.def.ColoursKey = s.recent_colour_keys[0];
  return p.flush();
}

bool save_program_settings(ConvSettings& s) {
  Profile p;
  p.select_file(s.settings_file);
  p.select_section("Windows");
  const WindowPosition& main_window = s.window_positions[0];
  p.write_string("0", format_printf("%d,%d", main_window.x, main_window.y));

  p.select_section("Tessaryn");
  p.write_string("InDir", s.InDir);
  p.write_string("OutDir", s.OutDir);
  p.write_int("Merge", s.Merge);
  p.write_int("Network", s.Network);
  p.write_int("SortMethod", s.SortMethod);
  if (s.recent_layer_keys.back().empty()) push_recent(s.recent_layer_keys, s.def.LayersKey);
  if (s.recent_colour_keys.back().empty()) push_recent(s.recent_colour_keys, s.def.ColoursKey);
  write_list(p, s.recent_layer_keys, "LastLayerKey");
  write_list(p, s.recent_colour_keys, "LastColoursKey");
  p.write_int("LoadDefaults", s.LoadDefaults);
  p.write_int("SaveFileType", s.SaveFileType);
  p.write_int("InputFileType", s.InputFileType);
  p.write_int("LLMS", s.LLMS);
  p.write_int("DecPlaces", s.DecPlaces);
  p.write_int("verDXF", s.verDXF);
  write_shared_file_keys(p, s, s.prog, kAllClasses, true);
  for (int cls = 0; cls < kShapeClasses; ++cls) {
    write_text_position(p, s.prog.label_position[static_cast<std::size_t>(cls)], class_suffix(cls));
  }
  p.select_section("Attribs");
  for (int cls = 0; cls < kShapeClasses; ++cls) {
    write_text_position(p, s.prog.attrib_position[static_cast<std::size_t>(cls)], class_suffix(cls));
  }
  p.select_section("Tessaryn");
  p.write_int("LSCD", s.LSCD);
  for (std::size_t k = 0; k < s.Runtot.size(); ++k) {
    p.write_uint("Runtot" + std::to_string(k + 1), s.Runtot[k]);
  }
  p.write_string("Lastshape", s.Lastshape);
  p.select_section("LayerHistory");
  write_list(p, s.layer_history, "L");
  return p.flush();
}

bool save_window_position(const ConvSettings& s, int index) {
  if (index < 0 || index >= kWindowPositions) return false;
  const WindowPosition& at = s.window_positions[static_cast<std::size_t>(index)];
  Profile p;
  p.select_file(s.settings_file);
  p.select_section("Windows");
  p.write_string(std::to_string(index), format_printf("%d,%d", at.x, at.y));
  return p.flush();
}

bool save_name_counters(ConvSettings& s) {
  Profile p;
  p.select_file(s.settings_file);
  p.select_section("Tessaryn");
  for (std::size_t k = 0; k < s.Runtot.size(); ++k) {
    p.write_uint("Runtot" + std::to_string(k + 1), s.Runtot[k]);
  }
  return p.flush();
}

}  // namespace tsn
