// The switch table of unattended commands and the settings each command starts from.
#include "run/switches.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <optional>

#include "platform/format.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "platform/text_encoding.h"
#include "run/command_line.h"
#include "settings/file_reset.h"
#include "settings/scheme_colours.h"
#include "settings/text_styles.h"

namespace tsn {
namespace {

constexpr int kMsgAtFileWithSwitches = 37;
constexpr int kMsgGroupInDefaultsFile = 202;
constexpr int kCaptionProgram = 10;
constexpr std::size_t kMaxNameLength = 255;  // layer, style and font names
constexpr int kMaxHatchSwitch = 32;
constexpr int kSchemeMask = 0x3f;  // /CP keeps the low 6 bits
constexpr double kMinElevFactor = 1e-10;

std::string_view skip_blanks(std::string_view v) {
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  return v;
}

// A decimal integer at the start of the text (after blanks, with an optional sign); what
// follows it is ignored. Empty when there is no number or it does not fit.
std::optional<int> read_int(std::string_view v) {
  v = skip_blanks(v);
  if (!v.empty() && v.front() == '+') v.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
  if (ec != std::errc() || end == v.data()) return std::nullopt;
  return value;
}

// A finite decimal real at the start of the text, read like read_int.
std::optional<double> read_real(std::string_view v) {
  v = skip_blanks(v);
  if (!v.empty() && v.front() == '+') v.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
  if (ec != std::errc() || end == v.data() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A requested class count; one outside 1..1024 is refused and the count kept.
void set_class_count(int& count, int requested) {
  if (requested >= 1 && requested <= kMaxClasses) {
    count = requested;
    return;
  }
  status_error("\n" + format_printf("Number of Classes out of range (1-%d)", kMaxClasses));
}

std::string name_value(std::string_view v) { return std::string(v.substr(0, kMaxNameLength)); }

// A single-colour number outside 1..255 becomes 1, as when the settings are read.
int single_colour(int n) { return n >= 1 && n <= 255 ? n : 1; }

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

struct Context {
  ConvSettings& s;
  RunState& run;
  const InputInfo& input;
  SwitchResult& result;
  bool defaults_file;
  std::string_view token;
  std::string problem;  // set by a switch whose value it could not use
};

constexpr const char* kNotWhole = "the value is not a whole number";
constexpr const char* kNotFinite = "the value is not a finite number";
constexpr const char* kZeroToTwo = "the value must be 0, 1 or 2";

// The value read, or empty with the switch's problem noted.
template <class T>
std::optional<T> noted(std::optional<T> value, Context& c, const char* problem) {
  if (!value) c.problem = problem;
  return value;
}

// A field number the table must have; checked once the switches are all read.
void note_field(Context& c, std::optional<int> field) {
  if (field) c.result.field_numbers.emplace_back(std::string(c.token), *field);
}

// Shape class named by the third letter of /TP?x and /AP?x: T points, A lines, P polygons.
int class_of_letter(char c) {
  switch (c) {
    case 'T': return 0;
    case 'A': return 1;
    default: return 2;
  }
}

void set_min_max_pos(Context& c, std::array<TextPosition, kShapeClasses>& positions, int cls,
                     std::string_view v) {
  const auto n = noted(read_int(v), c, kNotWhole);
  if (!n) return;
  if (*n < 0 || *n >= static_cast<int>(kMinMaxPosCodes.size())) {
    c.problem = "the value must be 0 to 8";
    return;
  }
  const int code = kMinMaxPosCodes[static_cast<std::size_t>(*n)];
  positions[static_cast<std::size_t>(cls)].MinMaxPos = code;
}

// The text-position switches /TP?x=n and /AP?x=n (x: B MinMaxPos, V VerticalPos, J AnnotJust,
// F alignment and moving close); the value starts at the seventh character.
bool apply_position_switch(Context& c, const std::string& name, std::string_view v) {
  if (name.size() != 4 || (name[0] != 'T' && name[0] != 'A') || name[1] != 'P') return false;
  const char cls_letter = name[2];
  if (cls_letter != 'T' && cls_letter != 'A' && cls_letter != 'P') return false;
  const int cls = class_of_letter(cls_letter);
  const bool labels = name[0] == 'T';
  FileSettings& cur = c.s.cur;
  auto& positions = labels ? cur.label_position : cur.attrib_position;
  auto& move_close = labels ? cur.label_move_close : cur.attrib_move_close;
  TextPosition& pos = positions[static_cast<std::size_t>(cls)];
  if (name[3] == 'B') {
    set_min_max_pos(c, positions, cls, v);
    return true;
  }
  if (cls == 0 && name[3] == 'F') return false;  // there is no /TPTF or /APTF
  const auto n = noted(read_int(v), c, kNotWhole);
  switch (name[3]) {
    case 'V': if (n) pos.VerticalPos = *n; return true;
    case 'J': if (n) pos.AnnotJust = *n; return true;
    case 'F':
      if (!n) return true;
      if (cls == 1) {
        (labels ? cur.AlignText : cur.AlignAttrib) = *n == 2 ? 1 : 0;
        move_close[1] = *n == 1 ? 1 : 0;
      } else {
        move_close[2] = *n;
      }
      return true;
    default: return false;
  }
}

// /C0=n: one colour for the current shape class, or colour by classes.
void apply_one_colour(Context& c, int n) {
  FileSettings& cur = c.s.cur;
  const bool one = n != 0;
  switch (shape_class(c.input, cur)) {
    case 0:
      cur.Use1ColourPoints = one;
      if (one) cur.SingleColourPoints = single_colour(n);
      break;
    case 1:
      cur.Use1ColourArcs = one;
      if (one) cur.Pen0 = single_colour(n);
      break;
    default:
      cur.Use1ColourLines = one;
      if (one) cur.SingleColourLines = single_colour(n);
      break;
  }
  cur.ColourMethod = one ? 0 : 2;
}

// False when n is not one of the marker choices.
bool apply_marker_switch(FileSettings& cur, int n) {
  switch (n) {
    case 0: cur.PointsTranslate = 0; return true;
    case 1: cur.PointsTranslate = 1; cur.Marker = 1; return true;
    case 2: cur.PointsTranslate = 1; cur.Marker = 2; return true;
    case 3: cur.PointsTranslate = 1; cur.Marker = 5; return true;
    case -1: cur.PointsTranslate = 1; cur.Marker = 4; return true;
    default: return false;
  }
}

void apply_release_switch(Context& c, std::string_view v) {
  const auto n = noted(read_int(v), c, kNotWhole);
  if (!n) return;
  switch (*n) {
    case 12: c.s.verDXF = 4; return;
    case 14: c.s.verDXF = 6; return;
    case 2000: c.s.verDXF = 7; return;
    default: c.problem = "the release must be 12, 14 or 2000"; return;
  }
}

// Switches of labels, attributes, text and run options; false when the name is not one.
bool apply_text_switch(Context& c, const std::string& name, std::string_view v) {
  FileSettings& cur = c.s.cur;
  SwitchResult& r = c.result;
  const auto n = [&] { return noted(read_int(v), c, kNotWhole); };
  const auto real = [&] { return noted(read_real(v), c, kNotFinite); };

  if (name == "B") { c.run.unattended = true; return true; }
  if (name == "H") { c.run.run_hidden = true; return true; }
  if (name == "N") { c.run.no_auto_run = true; return true; }
  if (name == "X") { c.run.exit_when_done = true; return true; }
  if (name == "V") { cur.Legend = 1; return true; }
  if (name == "T") {
    cur.TextLabels = 1;
    r.label_fields = parse_field_list(v);
    r.label_list_token = c.token;
    return true;
  }
  if (name.size() == 2 && name[0] == 'A') {
    cur.Attribs = name[1] == 'E' ? 5 : 1;
    r.attrib_fields = parse_field_list(v);
    r.attrib_list_token = c.token;
    return true;
  }
  if (name == "TC") {
    if (const auto k = n()) cur.TextColour = cur.LegendTextColour = cur.AttribTextColour = *k;
    return true;
  }
  if (name == "TF") { r.style(StyleTarget::labels).font = name_value(v); return true; }
  if (name == "TS") { r.style(StyleTarget::labels).name = name_value(v); return true; }
  if (name == "PF") { r.style(StyleTarget::markers).font = name_value(v); return true; }
  if (name == "PS") { r.style(StyleTarget::markers).name = name_value(v); return true; }
  if (name == "VF") { r.style(StyleTarget::legend).font = name_value(v); return true; }
  if (name == "VS") { r.style(StyleTarget::legend).name = name_value(v); return true; }
  if (name == "TH") { if (const auto x = real()) cur.TextLabelsHeight = *x; return true; }
  if (name == "PH") { if (const auto x = real()) cur.MarkerHeight = *x; return true; }
  if (name == "TL") { if (const auto k = n()) cur.flgSingleRedlineLayer = *k; return true; }
  if (name == "TLL") { cur.SingleRedlineLayer = name_value(v); return true; }
  if (name == "TO") { if (const auto k = n()) cur.ElimDoubleLabels = *k; return true; }
  return apply_position_switch(c, name, v);
}

// Switches of layers, colours, fill, points and release; false when the name is not one.
bool apply_drawing_switch(Context& c, const std::string& name, std::string_view v) {
  ConvSettings& s = c.s;
  FileSettings& cur = s.cur;
  SwitchResult& r = c.result;
  const auto n = [&] { return noted(read_int(v), c, kNotWhole); };
  const auto real = [&] { return noted(read_real(v), c, kNotFinite); };

  if (name == "C0") { if (const auto k = n()) apply_one_colour(c, *k); return true; }
  if (name == "C1") {
    if (const auto k = n()) {
      cur.Use1ColourFill = *k != 0;
      if (*k != 0) cur.SingleColourFill = single_colour(*k);
    }
    return true;
  }
  if (name == "C2") { if (const auto k = n()) set_class_count(cur.NumClassesColor, *k); return true; }
  if (name == "C") {
    const auto k = n();
    if (k && *k >= 0 && *k <= 2) {
      cur.DrawOutlines = *k != 1;
      cur.Fill = *k != 0;
      cur.PlaneFlags = cur.Fill ? 2 : 0;
    } else if (k) {
      c.problem = kZeroToTwo;
    }
    return true;
  }
  if (name == "CC") {
    if (const auto k = n()) {
      cur.ClassTypeColor = *k;
      if (*k < 0 || *k > 2) c.problem = kZeroToTwo;
    }
    return true;
  }
  if (name == "CF") {
    const auto k = n();
    note_field(c, k);
    if (!k) c.problem = "the value is not a whole number; field 0 is used";
    r.colour_key_field = k.value_or(0);
    return true;
  }
  if (name == "CH") {
    const auto k = n();
    if (k && (*k < 0 || *k > kMaxHatchSwitch)) c.problem = "hatch patterns are numbered 0 to 32";
    if (k && *k >= 0 && *k <= kMaxHatchSwitch && release_index(s) > 0) cur.HatchNumber = *k;
    return true;
  }
  if (name == "CP") {
    if (const auto k = n()) {
      if (s.scheme_names.empty()) load_scheme_names(s);
      cur.DefaultColorSet = *k & kSchemeMask;
      // The classes take the colours of the scheme named, not of the one loaded before.
      load_scheme_colours(s);
    }
    return true;
  }
  if (name == "DX" || name == "DY") {
    const auto k = n();
    note_field(c, k);
    if (k) (name == "DX" ? r.x_field : r.y_field) = *k;
    return true;
  }
  if (name == "E") {
    const auto k = n();
    if (k && *k >= 0) {
      cur.PointsElev = 1;
      r.elevation_field = *k;
      note_field(c, k);
    } else if (k) {
      c.problem = "the field number must be 0 or more";
    }
    return true;
  }
  if (name == "ES") {
    const auto x = real();
    if (x && std::fabs(*x) > kMinElevFactor) cur.ElevFactor = *x;
    if (x && std::fabs(*x) <= kMinElevFactor) c.problem = "the factor must not be 0";
    return true;
  }
  if (name == "L") {
    cur.LayerByFeature = 0;
    s.def.SingleLayerName = name_value(v);
    return true;
  }
  if (name == "L2") { if (const auto k = n()) set_class_count(cur.NumClassesLayer, *k); return true; }
  if (name == "LC") {
    if (const auto k = n()) {
      cur.ClassTypeLayer = *k;
      if (*k < 0 || *k > 2) c.problem = kZeroToTwo;
    }
    return true;
  }
  if (name == "LGL") {
    cur.LayerByFeature = 1;
    r.layer_legend_file = name_value(v);
    return true;
  }
  if (name == "LGC") { r.colour_legend_file = name_value(v); return true; }
  if (name == "ENC") {
    r.encoding = name_value(v);
    s.def.TextEncoding = r.encoding;  // kept in the input's definition file
    return true;
  }
  if (name == "LF") {
    cur.LayerByFeature = 1;
    const auto k = n();
    note_field(c, k);
    if (!k) c.problem = "the value is not a whole number; field 0 is used";
    r.layer_key_field = k.value_or(0);
    return true;
  }
  if (name == "P") {
    const auto k = n();
    if (k && !apply_marker_switch(cur, *k)) c.problem = "the value must be -1, 0, 1, 2 or 3";
    return true;
  }
  if (name == "REL") { apply_release_switch(c, v); return true; }
  return false;
}

// One switch token; -1 after a message, else 0 (also for a switch not in the table, which is
// noted with the switches whose values could not be used).
int apply_switch(Context& c, std::string_view token) {
  c.token = token;
  c.problem.clear();
  const std::string_view body = token.substr(1);
  const std::size_t eq = body.find('=');
  const std::string name = upper(body.substr(0, eq));
  if (name == "G" || name == "O") {
    // Merge groups belong to the command file's own control lines.
    if (!c.defaults_file) return 0;
    show_message(kCaptionProgram, load_text(kMsgGroupInDefaultsFile), Icon::warning);
    return -1;
  }
  // "/TOFr": the real follows the four characters directly, so "/TOF=r" reads nothing.
  if (name.rfind("TOF", 0) == 0) {
    const char* problem =
        name == "TOF" ? "the factor follows /TOF directly, as in /TOF1.5" : kNotFinite;
    if (const auto x = noted(read_real(token.substr(4)), c, problem)) c.s.cur.OverlapFactor = *x;
  } else {
    const std::string_view value =
        eq == std::string_view::npos ? std::string_view() : body.substr(eq + 1);
    if (!apply_text_switch(c, name, value) && !apply_drawing_switch(c, name, value)) {
      c.problem = "there is no such switch; it was ignored";
    }
    // Text read in the wrong encoding would be garbage in every label: such a command stops.
    if (name == "ENC" && encoding_of_user_name(value).empty()) {
      show_message(7,
                   "Error: " + std::string(token) + ": the encoding " + std::string(value) +
                       " is not known on this system; nothing was converted",
                   Icon::warning);
      return -1;
    }
  }
  if (!c.problem.empty()) c.result.warnings.push_back({std::string(token), c.problem});
  return 0;
}

// Field numbers of the switches that the input's table does not have.
void check_field_numbers(SwitchResult& r, int field_count) {
  const auto missing = [&](const std::string& token, int field) {
    std::string problem = "the input has no attribute table";
    if (field_count > 0) {
      problem = format_printf("the table has no field %d (it has fields 0 to %d)", field,
                              field_count - 1);
    }
    r.warnings.push_back({token, problem});
  };
  for (const auto& [token, field] : r.field_numbers) {
    if (field < -1 || field >= field_count) missing(token, field);
  }
  const std::pair<const FieldList*, const std::string*> lists[] = {
      {&r.label_fields, &r.label_list_token}, {&r.attrib_fields, &r.attrib_list_token}};
  for (const auto& [list, token] : lists) {
    if (token->empty()) continue;
    for (const int f : list->dropped) missing(*token, f);
    if (list->all) continue;
    for (const int f : list->fields) {
      if (f >= field_count) missing(*token, f);
    }
  }
}

}  // namespace

CommandBaseline capture_baseline(const ConvSettings& s) {
  CommandBaseline b;
  b.verDXF = s.verDXF;
  return b;
}

FieldList parse_field_list(std::string_view text) {
  FieldList list;
  while (true) {
    const std::size_t comma = text.find(',');
    const auto n = read_int(text.substr(0, comma));
    if (!n) break;
    if (*n == -1) {
      list.all = true;
    } else if (*n >= 0 && *n < kMaxFields) {
      bool seen = false;
      for (const int f : list.fields) seen = seen || f == *n;
      if (!seen) list.fields.push_back(*n);
    } else {
      list.dropped.push_back(*n);
    }
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (list.all) list.fields.clear();
  return list;
}

void apply_unattended_defaults(ConvSettings& s, const InputInfo& input,
                               const CommandBaseline& baseline, SwitchResult& result) {
  result = SwitchResult{};
  FileSettings& cur = s.cur;
  const FileSettings& prog = s.prog;
  s.verDXF = baseline.verDXF;
  s.LLMS = 1;
  cur.LayerByFeature = 0;
  cur.ClassTypeLayer = 0;
  cur.NumClassesLayer = 5;
  cur.DrawOutlines = 1;
  cur.Fill = 0;
  cur.ColourMethod = 2;
  cur.ClassTypeColor = 0;
  cur.NumClassesColor = 5;
  cur.DefaultColorSet = 0;
  load_scheme_colours(s);  // not the scheme an earlier command named
  s.def.Ramp = 0;
  cur.HatchNumber = 0;
  cur.Attribs = 0;
  cur.TextLabels = 0;
  cur.ElimDoubleLabels = 0;
  cur.PointsTranslate = 0;
  cur.label_position = kInitialTextPositions;
  cur.attrib_position = kInitialTextPositions;
  cur.label_move_close[1] = cur.label_move_close[2] = 1;
  cur.attrib_move_close[1] = cur.attrib_move_close[2] = 1;
  cur.AlignText = 0;
  cur.AlignAttrib = 0;
  cur.IgnoreLayRangeEnts = 0;
  cur.IgnoreColRangeEnts = 0;
  cur.PointsArePolys = prog.PointsArePolys;
  cur.CSVHasHeader = prog.CSVHasHeader;
  cur.PointsElev = 0;
  cur.ElevFactor = prog.ElevFactor;
  cur.TIN = 0;
  s.label_style = s.marker_style = s.legend_style = s.attrib_style = 0;
  s.drawing_styles.clear();
  s.def.TextEncoding.clear();
  // The reset also clears the field selections and recomputes the text heights.
  reset_file_settings(s, input);
}

namespace {

// Find-or-append on the drawing's style list; the index of the style of that name.
int drawing_style_index(ConvSettings& s, const StyleRequest& style) {
  auto& list = s.drawing_styles;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (equal_ignoring_case(list[i].first, style.name)) return static_cast<int>(i);
  }
  list.emplace_back(style.name, style.font);
  return static_cast<int>(list.size() - 1);
}

// Every style request that applies becomes the current style of its use.
void resolve_style_requests(ConvSettings& s, const InputInfo& input, const SwitchResult& result) {
  const std::pair<StyleTarget, int ConvSettings::*> uses[] = {
      {StyleTarget::labels, &ConvSettings::label_style},
      {StyleTarget::markers, &ConvSettings::marker_style},
      {StyleTarget::legend, &ConvSettings::legend_style},
      {StyleTarget::attributes, &ConvSettings::attrib_style}};
  for (const auto& [target, index] : uses) {
    if (!style_request_applies(target, s, input, result)) continue;
    s.*index = drawing_style_index(s, complete_style_request(s, result.style(target)));
  }
}

}  // namespace

int apply_switches(const std::vector<std::string>& tokens, bool defaults_file, ConvSettings& s,
                   RunState& run, const InputInfo& input, SwitchResult& result) {
  Context c{s, run, input, result, defaults_file, {}, {}};
  for (const std::string& token : tokens) {
    if (!token.empty() && token.front() == ';') continue;
    if (!token.empty() && token.front() == '@' && !run.command_file_mode) {
      show_message(kCaptionProgram, load_text(kMsgAtFileWithSwitches), Icon::warning);
      return -1;
    }
    if (!is_switch(token)) break;
    if (apply_switch(c, token) != 0) return -1;
  }
  s.cur.ColourMethod = effective_colour_method(s.cur, input);
  resolve_style_requests(s, input, result);
  return 0;
}

int prepare_command_settings(ConvSettings& s, RunState& run, const InputInfo& input,
                             const CommandBaseline& baseline,
                             const std::vector<std::string>& defaults_file_lines,
                             const std::vector<std::string>& command_switches,
                             SwitchResult& result) {
  apply_unattended_defaults(s, input, baseline, result);
  if (apply_switches(defaults_file_lines, true, s, run, input, result) != 0) return -1;
  if (apply_switches(command_switches, false, s, run, input, result) != 0) return -1;
  check_field_numbers(result, input.field_count);
  select_listed_fields(s, input, result);
  return 0;
}

std::string switch_warning_lines(const std::vector<SwitchWarning>& warnings) {
  std::string out;
  for (const SwitchWarning& w : warnings) {
    out += "\nWarning: " + w.token + ": " + w.problem;
  }
  return out;
}

void coordinate_field_switches(const std::vector<std::string>& defaults_file_lines,
                               const std::vector<std::string>& command_switches, int& x_field,
                               int& y_field) {
  x_field = y_field = -1;
  for (const auto* tokens : {&defaults_file_lines, &command_switches}) {
    for (const std::string& token : *tokens) {
      if (!token.empty() && token.front() == ';') continue;
      if (!is_switch(token)) break;
      const std::string_view body = std::string_view(token).substr(1);
      const std::size_t eq = body.find('=');
      if (eq == std::string_view::npos) continue;
      const std::string name = upper(body.substr(0, eq));
      const auto k = read_int(body.substr(eq + 1));
      if (k && name == "DX") x_field = *k;
      if (k && name == "DY") y_field = *k;
    }
  }
}

void select_listed_fields(ConvSettings& s, const InputInfo& input, const SwitchResult& result) {
  DefinitionState& d = s.def;
  d.attrib_fields.fill(0);
  d.label_fields.fill(0);
  d.num_attrib_selected = 0;
  d.num_label_fields = 0;
  const int count = std::min(input.field_count, kMaxFields);
  const auto listed = [count](const FieldList& list) {
    std::vector<int> fields;
    if (list.all) {
      for (int i = 0; i < count; ++i) fields.push_back(i);
    } else {
      for (const int f : list.fields) {
        if (f < count) fields.push_back(f);
      }
    }
    return fields;
  };
  if (s.cur.Attribs != 0) {
    for (const int f : listed(result.attrib_fields)) {
      d.attrib_fields[static_cast<std::size_t>(f)] = 1;
      ++d.num_attrib_selected;
    }
  }
  if (s.cur.TextLabels == 1) {
    for (const int f : listed(result.label_fields)) {
      d.label_fields[static_cast<std::size_t>(f)] = ++d.num_label_fields;
    }
  }
}

bool style_request_applies(StyleTarget target, const ConvSettings& s, const InputInfo& input,
                           const SwitchResult& result) {
  if (!result.style(target).given()) return false;
  const FileSettings& cur = s.cur;
  switch (target) {
    case StyleTarget::labels: return cur.TextLabels == 1;
    case StyleTarget::markers:
      return shape_class(input, cur) == 0 && cur.PointsTranslate == 1 && cur.Marker == 4;
    case StyleTarget::legend: return cur.Legend == 1;
    case StyleTarget::attributes: return attribute_output_active(s);
  }
  return false;
}

StyleRequest complete_style_request(const ConvSettings& s, const StyleRequest& request) {
  StyleRequest out = request;
  if (out.name.empty() && out.font.empty()) return {"STANDARD", "txt"};
  if (out.name.empty()) {
    out.name = std::string(base_name(out.font));
    return out;
  }
  if (out.font.empty()) out.font = style_font(s, out.name);
  return out;
}

}  // namespace tsn
