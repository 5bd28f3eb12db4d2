// Reading and writing the definition file of an input.
#include "settings/definition_file.h"

#include <string>

#include "platform/paths.h"
#include "settings/file_keys.h"
#include "settings/file_reset.h"
#include "settings/settings_files.h"
#include "settings/class_colours.h"
#include "settings/scheme_colours.h"
#include "settings/text_styles.h"
#include "settings/value_ranges.h"

namespace tsn {

namespace {

constexpr int kLastVersionWithoutRanges = 240;
constexpr int kFirstVersionWithOwnColourSection = 243;

void read_layer_and_keys(Profile& p, ConvSettings& s, const InputInfo& input) {
  FileSettings& f = s.cur;
  const std::string base(base_name(input.path));
  if (f.LayerByFeature == 0 || !input.has_table) {
    const std::string& fallback = s.LLMS == 1 ? base : s.layer_history[0];
    s.def.SingleLayerName = p.read_string("SingleLayerName", fallback, 255);
    if (s.LLMS == 0 &&
        (s.def.SingleLayerName.empty() || equal_ignoring_case(s.def.SingleLayerName, base))) {
      s.LLMS = 1;
    }
  }
  s.def.ColoursKey = p.read_string("ColoursKey", s.def.ColoursKey, 256);
  s.def.LayersKey = p.read_string("LayersKey", s.def.LayersKey, 256);
  s.def.TextEncoding = p.read_string("TextEncoding", "", 63);
  if (is_z_shape_type(input.shape_type)) f.DrawEdges = p.read_int("DrawEdges", s.prog.DrawEdges);
}

void read_colours_and_ranges(Profile& p, ConvSettings& s) {
  p.select_section("Colors");
  s.def.Ramp = p.read_int("Ramp", 0);
  if (s.def.Ramp == 1) {
    s.def.RampStart = p.read_int("RampStart", -1);
    s.def.RampEnd = p.read_int("RampEnd", -1);
  }
  s.def.NumColors = p.read_int("NumColors", 0);
  if (s.def.NumColors != 0) {
    // Older files kept their own colours under the name of the scheme in use.
    std::string section = "Cols";
    if (s.def.settings_version < kFirstVersionWithOwnColourSection) {
      section = current_scheme_name(s, s.cur);
    }
    read_file_colours(s, p, section);
  } else {
    load_scheme_colours(s);  // the file may have chosen another scheme
  }
  compute_class_colours(s);
  if (s.def.settings_version <= kLastVersionWithoutRanges) return;
  if (s.cur.LayerByFeature == 1) read_layer_ranges(p, s.def.settings_version, s);
  if (s.cur.ColourMethod != 0) read_colour_ranges(p, s.def.settings_version, s);
}

void write_label_keys(Profile& p, const FileSettings& f, int cls) {
  p.write_int("TextLabels", f.TextLabels);
  if (f.TextLabels != 1) return;
  write_text_position(p, f.label_position[static_cast<std::size_t>(cls)], "");
  p.write_int("TextColour", f.TextColour);
  p.write_int("ElimDoubleLabels", f.ElimDoubleLabels);
  if (f.ElimDoubleLabels == 1) p.write_real("OverlapFactor", f.OverlapFactor);
  if (cls == 1) {
    p.write_int("MoveClose", f.label_move_close[1]);
    p.write_int("AlignText", f.AlignText);
  } else if (cls == 2) {
    p.write_int("MoveClose", f.label_move_close[2]);
  }
  if (f.flgSingleRedlineLayer == 1) p.write_string("SingleRedlineLayer", f.SingleRedlineLayer);
}

void write_attribute_keys(Profile& p, const FileSettings& f, int cls) {
  p.write_int("AttribTextColour", f.AttribTextColour);
  p.write_int("AttribColSameAsShape", f.AttribColSameAsShape);
  p.write_int("AttVis", f.AttVis);
  p.select_section("Attribs");
  write_text_position(p, f.attrib_position[static_cast<std::size_t>(cls)], "");
  if (cls == 1) {
    p.write_int("MoveClose", f.attrib_move_close[1]);
    p.write_int("AlignAttrib", f.AlignAttrib);
  } else if (cls == 2) {
    p.write_int("MoveClose", f.attrib_move_close[2]);
  }
  p.select_section("Tessaryn");
}

void write_input_keys(Profile& p, const ConvSettings& s, const InputInfo& input) {
  const FileSettings& f = s.cur;
  p.write_int("PointsElev", f.PointsElev);
  if (f.PointsElev == 1) {
    p.write_string("ElevKey", f.ElevKey);
    p.write_real("ElevFactor", f.ElevFactor);
    p.write_int("ElevText", f.ElevText);
  }
  if (input.input_file_type == 0 && input.shape_type == 5) {
    p.write_int("TIN", f.TIN);
    if (f.TIN == 1) {
      p.write_string("Z1Key", f.Z1Key);
      p.write_string("Z2Key", f.Z2Key);
      p.write_string("Z3Key", f.Z3Key);
    }
  }
  if (input.input_file_type != 0) {
    p.write_string("XKey", f.XKey);
    p.write_string("YKey", f.YKey);
  }
  if (is_z_shape_type(input.shape_type)) p.write_int("flgScaleZ", f.flgScaleZ);
  p.write_int("IgnoreLayRangeEnts", f.IgnoreLayRangeEnts);
  p.write_int("IgnoreColRangeEnts", f.IgnoreColRangeEnts);
  p.write_int("PointsArePolys", f.PointsArePolys);
  p.write_int("CSVHasHeader", f.CSVHasHeader);
  if (release_index(s) > 0) {
    p.write_real("HatchScale", f.HatchScale);
    p.write_string("ACADHatchPattern", f.ACADHatchPattern);
  }
  if (f.LayerByFeature == 0) p.write_string("SingleLayerName", s.def.SingleLayerName);
  p.write_string("ColoursKey", s.def.ColoursKey);
  p.write_string("LayersKey", s.def.LayersKey);
  if (!s.def.TextEncoding.empty()) p.write_string("TextEncoding", s.def.TextEncoding);
  if (is_z_shape_type(input.shape_type)) p.write_int("DrawEdges", f.DrawEdges);
}

void write_field_lists(Profile& p, const ConvSettings& s, const InputInfo& input) {
  const int n = std::min(input.field_count, kMaxFields);
  if (s.cur.Attribs != 0) {
    p.select_section("Attribs");
    p.write_int("NumAttribFields", n);
    for (int i = 0; i < n; ++i) {
      p.write_int("F" + std::to_string(i), s.def.attrib_fields[static_cast<std::size_t>(i)]);
    }
  }
  if (s.cur.TextLabels == 1) {
    p.select_section("Text");
    p.write_int("NumTextFields", n);
    for (int i = 0; i < n; ++i) {
      p.write_int("A" + std::to_string(i), s.def.label_fields[static_cast<std::size_t>(i)]);
    }
  }
}

void write_colours(Profile& p, ConvSettings& s) {
  p.select_section("Colors");
  p.write_int("Ramp", s.def.Ramp);
  if (s.def.Ramp == 1) {
    p.write_int("RampStart", s.def.RampStart);
    p.write_int("RampEnd", s.def.RampEnd);
  }
  p.write_int("NumColors", s.def.NumColors);
  write_file_colours(s, p);
}

}  // namespace

int upgrade_settings_version(Profile& p) {
  const int version = p.read_int("Version", 0);
  if (version >= 240) return version;
  p.write_int("Version", kSettingsVersion);
  const int plane_flags = p.read_int("PlaneFlags", 0);
  p.write_int("Fill", (plane_flags & 6) != 0 ? 1 : 0);
  if (p.read_int("ExtendedPlane", 0) != 0) p.write_int("HatchNumber", 0);
  return version;
}

int load_definition_file(ConvSettings& s, const InputInfo& input) {
  reset_file_settings(s, input);
  const DefinitionFile file = find_definition_file(s, input.path);
  if (!file.exists) return -1;

  Profile p;
  p.select_file(file.path);
  p.select_section("Tessaryn");
  s.def.settings_version = upgrade_settings_version(p);
  read_shared_file_keys(p, s.cur, s.prog, shape_class(input, s.cur));
  read_definition_keys(p, s, input);
  resolve_style_indices(s);
  read_layer_and_keys(p, s, input);
  read_definition_field_lists(p, s, input);
  read_colours_and_ranges(p, s);
  // The upgrade may have written to the file; a read-only file is still read correctly.
  (void)p.flush();
  return 0;
}

int save_definition_file(ConvSettings& s, const InputInfo& input) {
  const DefinitionFile file = find_definition_file(s, input.path);
  Profile p;
  p.select_file(file.path);
  p.select_section("Tessaryn");
  if (p.read_int("Overwrite", 0) >= 2) return 0;
  p.write_int("Overwrite", 1);

  const int cls = shape_class(input, s.cur);
  write_shared_file_keys(p, s, s.cur, cls, false);
  copy_one_colour_keys(s.prog, s.cur, cls);  // writing them makes them the program's too
  write_colour_ranges(p, s);
  write_layer_ranges(p, s);
  p.select_section("Tessaryn");
  write_label_keys(p, s.cur, cls);
  p.write_int("AcadMapping", s.cur.AcadMapping);
  p.write_int("Legend", s.cur.Legend);
  if (s.cur.Legend == 1) p.write_int("LegendTextColour", s.cur.LegendTextColour);
  if (attribute_output_active(s)) write_attribute_keys(p, s.cur, cls);
  write_input_keys(p, s, input);
  write_field_lists(p, s, input);
  write_colours(p, s);
  return p.flush() ? 0 : -1;
}

}  // namespace tsn

namespace tsn {

int open_input_settings(ConvSettings& s, const InputInfo& input, bool unattended) {
  if (s.LoadDefaults == 0 || unattended) {
    reset_file_settings(s, input);
    return -1;
  }
  return load_definition_file(s, input);
}

}  // namespace tsn
