// Reading and writing the per-file keys of the program settings file and definition files.
#include "settings/file_keys.h"

#include <algorithm>
#include <string>

#include "platform/paths.h"
#include "settings/hatch_pattern_names.h"
#include "settings/settings_hooks.h"
#include "settings/text_styles.h"

namespace tsn {

namespace {

constexpr std::size_t kNameChars = 255;
constexpr std::size_t kKeyFieldChars = 60;

// Each read keeps the value of the key, or `def` when the key is missing.
void read(Profile& p, const char* key, int& v, int def) { v = p.read_int(key, def); }
void read(Profile& p, const char* key, double& v, double def) { v = p.read_real(key, def); }
void read(Profile& p, const char* key, std::string& v, const std::string& def,
          std::size_t max = kNameChars) {
  v = p.read_string(key, def, max);
}

// Single colour numbers outside 1..255 become 1.
void read_colour(Profile& p, const char* key, int& v, int def) {
  v = p.read_int(key, def);
  if (v < 1 || v > 255) v = 1;
}

void read_one_colour_keys(Profile& p, FileSettings& f, const FileSettings& d, int cls,
                          bool arcs_default_from_method) {
  if (cls == 0 || cls == kAllClasses) {
    read(p, "Use1ColourPoints", f.Use1ColourPoints, d.Use1ColourPoints);
    read_colour(p, "SingleColourPoints", f.SingleColourPoints, d.SingleColourPoints);
  }
  if (cls == 1 || cls == kAllClasses) {
    // An old definition file without the switch meant one colour whenever it had no classes.
    if (arcs_default_from_method && !p.has_key("Use1ColourArcs")) {
      f.Use1ColourArcs = f.ColourMethod == 0 ? 1 : 0;
    } else {
      read(p, "Use1ColourArcs", f.Use1ColourArcs, d.Use1ColourArcs);
    }
    read_colour(p, "Pen0", f.Pen0, d.Pen0);
  }
  if (cls == 2 || cls == kAllClasses) {
    read(p, "Use1ColourLines", f.Use1ColourLines, d.Use1ColourLines);
    read_colour(p, "SingleColourLines", f.SingleColourLines, d.SingleColourLines);
    read(p, "Use1ColourFill", f.Use1ColourFill, d.Use1ColourFill);
    read_colour(p, "SingleColourFill", f.SingleColourFill, d.SingleColourFill);
  }
}

void read_field_flags(Profile& p, std::array<int, kMaxFields>& flags, int field_count,
                      int def, int& selected) {
  selected = 0;
  const int n = std::min(field_count, kMaxFields);
  for (int i = 0; i < n; ++i) {
    flags[static_cast<std::size_t>(i)] = p.read_int(std::string(1, 'F') + std::to_string(i), def);
    if (flags[static_cast<std::size_t>(i)] != 0) ++selected;
  }
}

void read_label_fields(Profile& p, ConvSettings& s, int field_count) {
  auto& fields = s.def.label_fields;
  const int n = std::min(field_count, kMaxFields);
  int count = 0;
  for (int i = 0; i < n; ++i) {
    int& v = fields[static_cast<std::size_t>(i)];
    v = p.read_int("A" + std::to_string(i), 0);
    if (v == 0) continue;
    ++count;
    // Files before version 244 stored a flag, not a position: number them in field order.
    if (s.def.settings_version < 244) v = count;
  }
  s.def.num_label_fields = count;
  if (settings_hooks().rebuild_label_order) settings_hooks().rebuild_label_order(s);
}

void read_label_keys(Profile& p, ConvSettings& s, FileSettings& f, int cls) {
  const auto c = static_cast<std::size_t>(cls);
  f.label_position[c] = s.prog.label_position[c];
  read_text_position(p, f.label_position[c], "");
  f.flgSingleRedlineLayer = p.read_int("flgSingleRedlineLayer", s.AnnotLayerDef);
  if (cls == 1) {
    read(p, "AlignText", f.AlignText, s.prog.AlignText);
    f.label_move_close[1] = p.read_int("MoveClose", 1);
  } else if (cls == 2) {
    f.label_move_close[2] = p.read_int("MoveClose", 1);
  }
  read(p, "TextColour", f.TextColour, s.prog.TextColour);
  read(p, "ElimDoubleLabels", f.ElimDoubleLabels, s.prog.ElimDoubleLabels);
  if (f.ElimDoubleLabels == 1) read(p, "OverlapFactor", f.OverlapFactor, s.prog.OverlapFactor);
}

void read_attribute_keys(Profile& p, ConvSettings& s, FileSettings& f, int cls) {
  read(p, "AttribTextColour", f.AttribTextColour, s.prog.AttribTextColour);
  read(p, "TextAttribHeight", f.TextAttribHeight, f.TextAttribHeight);
  const std::string section = p.section();
  p.select_section("Attribs");
  const auto c = static_cast<std::size_t>(cls);
  f.attrib_position[c] = s.prog.attrib_position[c];
  read_text_position(p, f.attrib_position[c], "");
  if (cls == 1) {
    read(p, "AlignAttrib", f.AlignAttrib, s.prog.AlignAttrib);
    f.attrib_move_close[1] = p.read_int("MoveClose", 1);
  } else if (cls == 2) {
    f.attrib_move_close[2] = p.read_int("MoveClose", 1);
  }
  p.select_section(section);
}

void read_elevation_keys(Profile& p, ConvSettings& s, FileSettings& f) {
  f.TIN = p.read_int("TIN", 0);
  if (f.TIN == 1) {
    read(p, "Z1Key", f.Z1Key, s.prog.Z1Key, kKeyFieldChars);
    read(p, "Z2Key", f.Z2Key, s.prog.Z2Key, kKeyFieldChars);
    read(p, "Z3Key", f.Z3Key, s.prog.Z3Key, kKeyFieldChars);
  }
  f.PointsElev = p.read_int("PointsElev", s.prog.PointsElev);
  if (f.PointsElev == 1 || f.TIN == 1) {
    f.ElevKey = p.read_string("ElevKey", s.prog.ElevKey, kKeyFieldChars);
    f.ElevFactor = p.read_real("ElevFactor", s.prog.ElevFactor);
    f.ElevText = p.read_int("ElevText", s.prog.ElevText);
  } else {
    f.ElevKey = s.prog.ElevKey;
    f.ElevFactor = s.prog.ElevFactor;
    f.ElevText = s.prog.ElevText;
  }
  if (f.PointsElev == 0) f.TIN = 0;
}

}  // namespace

std::string current_scheme_name(const ConvSettings& s, const FileSettings& f) {
  std::string name = scheme_name(s, f.DefaultColorSet);
  return name.empty() ? "0" : name;
}

const char* class_suffix(int shape_cls) {
  switch (shape_cls) {
    case 0: return "Pt";
    case 1: return "A";
    default: return "P";
  }
}

void read_text_position(Profile& p, TextPosition& pos, const char* suffix) {
  pos.MinMaxPos = p.read_int(std::string("MinMaxPos") + suffix, pos.MinMaxPos);
  pos.VerticalPos = p.read_int(std::string("VerticalPos") + suffix, pos.VerticalPos);
  pos.AnnotJust = p.read_int(std::string("AnnotJust") + suffix, pos.AnnotJust);
}

void write_text_position(Profile& p, const TextPosition& pos, const char* suffix) {
  p.write_int(std::string("MinMaxPos") + suffix, pos.MinMaxPos);
  p.write_int(std::string("VerticalPos") + suffix, pos.VerticalPos);
  p.write_int(std::string("AnnotJust") + suffix, pos.AnnotJust);
}

int hatch_number_for(const std::string& pattern_name) {
  for (std::size_t i = 0; i < kHatchPatternNames.size(); ++i) {
    if (equal_ignoring_case(kHatchPatternNames[i], pattern_name)) return static_cast<int>(i);
  }
  return 0;
}

void read_shared_file_keys(Profile& p, FileSettings& f, const FileSettings& d, int shape_cls) {
  read(p, "HatchNumber", f.HatchNumber, d.HatchNumber);
  read(p, "Fill", f.Fill, d.Fill);
  read(p, "DrawOutlines", f.DrawOutlines, d.DrawOutlines);
  if (f.Fill == 0 && f.DrawOutlines == 0) f.DrawOutlines = 1;
  read(p, "LayerByFeature", f.LayerByFeature, d.LayerByFeature);
  f.ColourMethod = (p.read_int("ColourMethod", d.ColourMethod) & 2) ? 2 : 0;
  read_one_colour_keys(p, f, d, shape_cls, shape_cls != kAllClasses);
  read(p, "ClassTypeColor", f.ClassTypeColor, d.ClassTypeColor);
  read(p, "NumClassesColor", f.NumClassesColor, d.NumClassesColor);
  const int def_col_set = p.read_int("DefColSet", -1);
  f.DefaultColorSet = def_col_set >= 0 ? def_col_set : p.read_int("DefaultColorSet", d.DefaultColorSet);
  read(p, "Attribs", f.Attribs, d.Attribs);
  read(p, "PointsTranslate", f.PointsTranslate, d.PointsTranslate);
  read(p, "Marker", f.Marker, d.Marker);
  read(p, "MarkerStyle", f.MarkerStyle, d.MarkerStyle);
  read(p, "PointMarker", f.PointMarker, d.PointMarker);
  read(p, "SingleRedlineLayer", f.SingleRedlineLayer, d.SingleRedlineLayer);
  read(p, "TextLabelsStyle", f.TextLabelsStyle, d.TextLabelsStyle);
  read(p, "TextLegendStyle", f.TextLegendStyle, d.TextLegendStyle);
  read(p, "TextAttribStyle", f.TextAttribStyle, d.TextAttribStyle);
  read(p, "LegendLayer", f.LegendLayer, d.LegendLayer);
  read(p, "MaxAttribLen", f.MaxAttribLen, d.MaxAttribLen);
  if (f.MaxAttribLen >= 256) f.MaxAttribLen = 255;
  if (f.MaxAttribLen < 0) f.MaxAttribLen = 0;
  read(p, "MultipointBlock", f.MultipointBlock, d.MultipointBlock);
  read(p, "ClassTypeLayer", f.ClassTypeLayer, d.ClassTypeLayer);
  read(p, "NumClassesLayer", f.NumClassesLayer, d.NumClassesLayer);
}

void read_definition_keys(Profile& p, ConvSettings& s, const InputInfo& input) {
  FileSettings& f = s.cur;
  const int cls = shape_class(input, f);
  if (release_index(s) > 0) {
    read(p, "HatchScale", f.HatchScale, s.prog.HatchScale);
    read(p, "ACADHatchPattern", f.ACADHatchPattern, s.prog.ACADHatchPattern);
    f.HatchNumber = hatch_number_for(f.ACADHatchPattern);
  }
  read(p, "AcadMapping", f.AcadMapping, 0);
  read(p, "DefScheme", f.DefScheme, "0", 259);
  if (f.DefScheme != "0" && f.AcadMapping == 0) {
    const int found = find_scheme(s, f.DefScheme);
    if (found >= 0) f.DefaultColorSet = found;
  }
  const int schemes = static_cast<int>(s.scheme_names.size());
  if (f.AcadMapping == 1) {
    f.DefaultColorSet = schemes;  // the built-in mapping scheme follows the named ones
  } else if (f.DefaultColorSet == schemes) {
    f.DefaultColorSet = 0;
  }
  // Attribute visibility and colour matter only while attributes are written as blocks; the
  // field selection is read further down, so the switch alone decides here.
  if (f.Attribs & 1) {
    read(p, "AttVis", f.AttVis, s.prog.AttVis);
    read(p, "AttribColSameAsShape", f.AttribColSameAsShape, s.prog.AttribColSameAsShape);
  }
  read(p, "MarkerHeight", f.MarkerHeight, f.MarkerHeight);
  read(p, "TextLabelsHeight", f.TextLabelsHeight, f.TextLabelsHeight);
  read(p, "TextLabels", f.TextLabels, 0);
  if (f.TextLabels == 1) read_label_keys(p, s, f, cls);
  read(p, "Legend", f.Legend, s.prog.Legend);
  if (f.Legend == 1) {
    read(p, "LegendTextColour", f.LegendTextColour, s.prog.LegendTextColour);
    read(p, "TextLegendHeight", f.TextLegendHeight, f.TextLegendHeight);
  }
  if ((f.Attribs & 1) && !(f.Attribs & 4)) read_attribute_keys(p, s, f, cls);
  f.IgnoreColRangeEnts = p.read_int("IgnoreColRangeEnts", s.prog.IgnoreColRangeEnts);
  f.IgnoreLayRangeEnts = p.read_int("IgnoreLayRangeEnts", s.prog.IgnoreLayRangeEnts);
  f.PointsArePolys = p.read_int("PointsArePolys", s.prog.PointsArePolys);
  f.CSVHasHeader = p.read_int("CSVHasHeader", s.prog.CSVHasHeader);
  read_elevation_keys(p, s, f);
  if (input.input_file_type != 0) {
    f.XKey = p.read_string("XKey", s.prog.XKey, kKeyFieldChars);
    f.YKey = p.read_string("YKey", s.prog.YKey, kKeyFieldChars);
  }
  if (is_z_shape_type(input.shape_type)) f.flgScaleZ = p.read_int("flgScaleZ", 0);
}

void read_definition_field_lists(Profile& p, ConvSettings& s, const InputInfo& input) {
  if (s.cur.Attribs != 0) {
    p.select_section("Attribs");
    read_field_flags(p, s.def.attrib_fields, input.field_count, 1, s.def.num_attrib_selected);
  }
  if (s.cur.TextLabels == 1) {
    p.select_section("Text");
    read_label_fields(p, s, input.field_count);
  }
}

void write_one_colour_keys(Profile& p, const FileSettings& f, int shape_cls) {
  if (shape_cls == 0 || shape_cls == kAllClasses) {
    p.write_int("Use1ColourPoints", f.Use1ColourPoints);
    p.write_int("SingleColourPoints", f.SingleColourPoints);
  }
  if (shape_cls == 1 || shape_cls == kAllClasses) {
    p.write_int("Use1ColourArcs", f.Use1ColourArcs);
    p.write_int("Pen0", f.Pen0);
  }
  if (shape_cls == 2 || shape_cls == kAllClasses) {
    p.write_int("Use1ColourLines", f.Use1ColourLines);
    p.write_int("SingleColourLines", f.SingleColourLines);
    p.write_int("Use1ColourFill", f.Use1ColourFill);
    p.write_int("SingleColourFill", f.SingleColourFill);
  }
}

void write_shared_file_keys(Profile& p, const ConvSettings& s, const FileSettings& f,
                            int shape_cls, bool program_level) {
  const bool attributes = attribute_output_active(s);
  p.write_int("Version", kSettingsVersion);
  p.write_int("PlaneFlags", f.PlaneFlags);
  p.write_int("DrawOutlines", f.DrawOutlines);
  if (!program_level) p.write_int("Attribs", f.Attribs);
  if (attributes || program_level) {
    p.write_int("AttVis", f.AttVis);
    p.write_int("AttribColSameAsShape", f.AttribColSameAsShape);
  }
  if (attributes) {
    if (!program_level) p.write_real("TextAttribHeight", f.TextAttribHeight);
    p.write_string("TextAttribStyle", f.TextAttribStyle);
  }
  p.write_int("HatchNumber", f.HatchNumber);
  p.write_int("Fill", f.Fill);
  p.write_int("LayerByFeature", f.LayerByFeature);
  p.write_int("ColourMethod", f.ColourMethod);
  write_one_colour_keys(p, f, shape_cls);
  p.write_int("PointsTranslate", f.PointsTranslate);
  p.write_int("Marker", f.Marker);
  p.write_string("MarkerStyle", f.MarkerStyle);
  p.write_int("PointMarker", f.PointMarker);
  p.write_string("TextLabelsStyle", f.TextLabelsStyle);
  if (!program_level) {
    p.write_real("MarkerHeight", f.MarkerHeight);
    p.write_real("TextLabelsHeight", f.TextLabelsHeight);
    p.write_real("TextLegendHeight", f.TextLegendHeight);
  }
  p.write_string("TextLegendStyle", f.TextLegendStyle);
  p.write_int("DefaultColorSet", f.DefaultColorSet);
  if (!program_level) {
    p.write_string("DefScheme", current_scheme_name(s, f));
    p.write_int("flgSingleRedlineLayer", f.flgSingleRedlineLayer);
  }
  p.write_int("ClassTypeColor", f.ClassTypeColor);
  p.write_int("NumClassesColor", f.NumClassesColor);
  p.write_int("ClassTypeLayer", f.ClassTypeLayer);
  p.write_int("NumClassesLayer", f.NumClassesLayer);
  p.write_int("Version", kSettingsVersion);
}

}  // namespace tsn
