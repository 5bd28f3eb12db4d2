// The TABLES section: table frames and records declared as data, written through the group layer.
#include "dxf/tables_section.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

namespace tsn {
namespace {

// How a frame line is written: fixed text with its own blanks ("  0\nTABLE\n", " 70\n     3\n"),
// or prefixed with sz_pad1/sz_pad2 ("%s0\nTABLE\n", "%s70\n%d\n").
enum class Frame { fixed, prefixed };

// One symbol table: its name, how its head, count and ENDTAB are written, how its records'
// entity line and name group are written, and the record kind of its release 14 marker.
struct TableKind {
  std::string_view name;
  Frame table_frame;
  Frame record_frame;
  std::string_view record_kind;
};

constexpr TableKind kLineTypeTable{"LTYPE", Frame::fixed, Frame::prefixed, "Linetype"};
constexpr TableKind kLayerTable{"LAYER", Frame::prefixed, Frame::prefixed, "Layer"};
constexpr TableKind kAppIdTable{"APPID", Frame::prefixed, Frame::prefixed, "RegApp"};
constexpr TableKind kViewportTable{"VPORT", Frame::fixed, Frame::fixed, "Viewport"};
constexpr TableKind kStyleTable{"STYLE", Frame::prefixed, Frame::prefixed, "TextStyle"};
// Tables written with no records at all.
constexpr std::array<TableKind, 3> kEmptyTables{{
    {"VIEW", Frame::fixed, Frame::fixed, ""},
    {"DIMSTYLE", Frame::fixed, Frame::fixed, ""},
    {"UCS", Frame::fixed, Frame::fixed, ""},
}};

// A group of a record body, always prefixed.
struct Group {
  int code;
  std::string_view value;
};

struct LineType {
  std::string_view name;
  std::string_view description;
};
constexpr std::array<LineType, 3> kLineTypes{{
    {"BYBLOCK", ""},
    {"BYLAYER", ""},
    {"CONTINUOUS", "Solid line"},
}};

constexpr std::array<std::string_view, 2> kAppIds{{"ACAD", kAppId}};

// The *ACTIVE viewport around its computed groups (centre 12/22, height 40, aspect 41, 43/44).
constexpr std::string_view kViewportName = "*ACTIVE";
constexpr std::string_view kViewportHead =
    " 70\n     0\n"
    " 10\n0.0\n 20\n0.0\n"
    " 11\n1.0\n 21\n1.0\n";
constexpr std::string_view kViewportMiddle =
    " 13\n0.0\n 23\n0.0\n"
    " 14\n1.0\n 24\n1.0\n"
    " 15\n0.0\n 25\n0.0\n"
    " 16\n0.0\n 26\n0.0\n 36\n1.0\n"
    " 17\n0.0\n 27\n0.0\n 37\n0.0\n";
constexpr std::string_view kViewportLens = " 42\n50.0\n";
constexpr std::string_view kViewportTail =
    " 50\n0.0\n 51\n0.0\n"
    " 71\n     0\n 72\n   100\n"
    " 73\n     1\n 74\n     1\n"
    " 75\n     0\n 76\n     0\n"
    " 77\n     0\n 78\n     0\n";

char lower_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// "%6d": fixed frames right-align their integers in six columns.
std::string right6(long value) {
  char digits[24];
  const auto r = std::to_chars(digits, digits + sizeof digits, value);
  std::string out(digits, r.ptr);
  if (out.size() < 6) out.insert(0, 6 - out.size(), ' ');
  return out;
}

// "%s<code>\n" or "  <code>\n" for the one-digit codes 0 and 2 of frames.
void frame_group(DxfWriter& w, Frame frame, int code, std::string_view value) {
  if (frame == Frame::prefixed) {
    dxf_prefixed_group(w, code, value);
  } else {
    dxf_group(w, code, value);
  }
}

// Table head, the release 14 table handle, and the record count in group 70.
void begin_table(DxfWriter& w, const TableKind& t, long count) {
  frame_group(w, t.table_frame, 0, "TABLE");
  frame_group(w, t.table_frame, 2, t.name);
  dxf_table_handle(w);
  if (t.table_frame == Frame::prefixed) {
    dxf_prefixed_int(w, 70, count);
  } else {
    dxf_write(w, " 70\n" + right6(count) + "\n");
  }
}

void end_table(DxfWriter& w, const TableKind& t) { frame_group(w, t.table_frame, 0, "ENDTAB"); }

// Record entity line, the release 14 record handle and markers, the name group, the body.
void write_record(DxfWriter& w, const TableKind& t, std::string_view name,
                  std::span<const Group> body) {
  frame_group(w, t.record_frame, 0, t.name);
  dxf_table_record_handle(w, t.record_kind);
  frame_group(w, t.record_frame, 2, name);
  for (const Group& g : body) dxf_prefixed_group(w, g.code, g.value);
}

void write_line_types(DxfWriter& w) {
  begin_table(w, kLineTypeTable, static_cast<long>(kLineTypes.size()));
  for (const LineType& lt : kLineTypes) {
    const std::array<Group, 5> body{{
        {70, "0"}, {3, lt.description}, {72, "65"}, {73, "0"}, {40, "0.0"}}};
    write_record(w, kLineTypeTable, lt.name, body);
  }
  end_table(w, kLineTypeTable);
}

void write_layer_records(DxfWriter& w, std::span<const LayerDef> layers) {
  for (const LayerDef& layer : layers) {
    const std::string colour = std::to_string(layer.colour);
    const std::array<Group, 3> body{{{70, "0"}, {62, colour}, {6, "CONTINUOUS"}}};
    write_record(w, kLayerTable, layer.name, body);
  }
}

void write_layers(DxfWriter& w, const TablesInput& in) {
  begin_table(w, kLayerTable, static_cast<long>(in.layers.size() + in.class_layers.size()));
  write_layer_records(w, in.layers);
  write_layer_records(w, in.class_layers);
  end_table(w, kLayerTable);
}

void write_app_ids(DxfWriter& w) {
  begin_table(w, kAppIdTable, static_cast<long>(kAppIds.size()));
  for (const std::string_view name : kAppIds) {
    const std::array<Group, 1> body{{{70, "0"}}};
    write_record(w, kAppIdTable, name, body);
  }
  end_table(w, kAppIdTable);
}

void write_viewport(DxfWriter& w, const DrawingExtents& e) {
  const ActiveView view = active_view(e);
  begin_table(w, kViewportTable, 1);
  write_record(w, kViewportTable, kViewportName, {});
  dxf_write(w, kViewportHead);
  dxf_point2(w, 12, view.centre_x, view.centre_y);
  dxf_write(w, kViewportMiddle);
  dxf_real(w, 40, view.height);
  dxf_real(w, 41, kViewAspect);
  dxf_write(w, kViewportLens);
  dxf_real(w, 43, 0.0);
  dxf_real(w, 44, 0.0);
  dxf_write(w, kViewportTail);
  end_table(w, kViewportTable);
}

void write_style_record(DxfWriter& w, std::string_view name, std::string_view font) {
  const std::array<Group, 8> body{{{70, "0"},
                                   {40, "0.0"},
                                   {41, "1.0"},
                                   {50, "0.0"},
                                   {71, "0"},
                                   {42, "0.2"},
                                   {3, font},
                                   {4, ""}}};
  write_record(w, kStyleTable, name, body);
}

void write_styles(DxfWriter& w, std::span<const TextStyleDef> styles) {
  const bool has_standard = std::any_of(styles.begin(), styles.end(), [](const auto& s) {
    return same_table_name(s.name, kStandardStyle);
  });
  begin_table(w, kStyleTable, static_cast<long>(styles.size()) + (has_standard ? 0 : 1));
  for (const TextStyleDef& s : styles) write_style_record(w, s.name, s.font);
  if (!has_standard) write_style_record(w, kStandardStyle, kStandardFont);
  end_table(w, kStyleTable);
}

}  // namespace

ActiveView active_view(const DrawingExtents& e) {
  const double height = e.ymax - e.ymin;
  const double fitted_width = (e.xmax - e.xmin) / kViewAspect;
  return {(e.xmin + e.xmax) / 2.0, (e.ymin + e.ymax) / 2.0,
          fitted_width > height ? fitted_width : height};
}

bool same_table_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return lower_ascii(x) == lower_ascii(y); });
}

bool add_fixed_layer(std::vector<LayerDef>& layers, std::string_view name, int colour,
                     std::span<const LayerDef> class_layers) {
  const auto named = [name](const LayerDef& l) { return same_table_name(l.name, name); };
  if (std::any_of(layers.begin(), layers.end(), named) ||
      std::any_of(class_layers.begin(), class_layers.end(), named)) {
    return false;
  }
  layers.push_back({std::string(name), colour});
  return true;
}

std::size_t add_text_style(std::vector<TextStyleDef>& styles, std::string_view name,
                           std::string_view font) {
  for (std::size_t i = 0; i < styles.size(); ++i) {
    if (same_table_name(styles[i].name, name)) return i;
  }
  styles.push_back({std::string(name), std::string(font)});
  return styles.size() - 1;
}

int write_dxf_tables(DxfWriter& main, const TablesInput& in) {
  if (!main.state.text_path) return -1;
  dxf_prefixed_group(main, 0, "SECTION");
  dxf_prefixed_group(main, 2, "TABLES");
  write_line_types(main);
  write_layers(main, in);
  write_app_ids(main);
  for (const TableKind& t : kEmptyTables) {
    begin_table(main, t, 0);
    end_table(main, t);
  }
  write_viewport(main, in.extents);
  write_styles(main, in.styles);
  return 0;
}

int default_layer_colour(const FileSettings& f, int shape_class) {
  switch (shape_class) {
    case 0:
      return f.SingleColourPoints;
    case 2:
      return f.Use1ColourLines != 0 ? f.SingleColourLines : f.SingleColourFill;
    default:
      return f.Pen0;
  }
}

long expected_block_records(long input_records, bool legend) {
  constexpr long kLayoutBlocks = 2;  // *MODEL_SPACE and *PAPER_SPACE
  return input_records + (legend ? 1 : 0) + kLayoutBlocks;
}

void open_block_record_table(DxfWriter& main, long expected_records) {
  if (!main.state.r14_text) return;
  dxf_write(main, "  0\nTABLE\n  2\nBLOCK_RECORD\n");
  dxf_table_handle(main);
  dxf_write(main, " 70\n" + std::to_string(expected_records) + "\n");
}

}  // namespace tsn
