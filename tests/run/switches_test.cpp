// Tests of the switch table, the unattended defaults and the settings of one command.
#include "run/switches.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/string_table.h"
#include "support/recording_host.h"

namespace tsn {
namespace {

using test::RecordingHost;
using test::ScopedHost;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Tokens = std::vector<std::string>;

InputInfo shapefile(int shape_type, int fields = 4) {
  InputInfo input;
  input.path = "data/in.shp";
  input.shape_type = shape_type;
  input.field_count = fields;
  input.has_table = fields > 0;
  input.extent_diagonal = 1000.0;
  return input;
}

// Settings, run state and input of one command in a command file, with messages recorded.
struct Command {
  RecordingHost host;
  ScopedHost scoped{host};
  ConvSettings s;
  RunState run;
  InputInfo input;
  SwitchResult result;

  explicit Command(int shape_type = 3) : input(shapefile(shape_type)) {
    run.command_file_mode = true;
    run.unattended = true;
    s.text_styles = {{"STANDARD", "txt"}, {"Roman", "romans.shx"}};
  }
  int apply(const Tokens& tokens, bool defaults_file = false) {
    return apply_switches(tokens, defaults_file, s, run, input, result);
  }
  int prepare(const Tokens& defaults, const Tokens& switches) {
    return prepare_command_settings(s, run, input, capture_baseline(s), defaults, switches,
                                    result);
  }
};

TEST(ParseFieldList, NumbersInOrderMinusOneForAll) {
  struct Case {
    const char* text;
    bool all;
    std::vector<int> fields;
  };
  const Case cases[] = {
      {"1,4,2", false, {1, 4, 2}}, {"-1", true, {}},         {"3,-1", true, {}},
      {"3,x,4", false, {3}},       {"2,2,300,5", false, {2, 5}}, {"", false, {}},
      {" 7, 0", false, {7, 0}},    {"-5,6", false, {6}},
  };
  for (const Case& c : cases) {
    const FieldList list = parse_field_list(c.text);
    EXPECT_EQ(list.all, c.all) << c.text;
    EXPECT_EQ(list.fields, c.fields) << c.text;
  }
}

// Each switch changes exactly what it names.
TEST(ApplySwitches, EachSwitchSetsItsSetting) {
  struct Case {
    Tokens switches;
    int shape_type;
    std::function<void(const Command&)> check;
  };
  const Case cases[] = {
      {{"/TC=3"}, 3, [](const Command& c) {
         EXPECT_EQ(c.s.cur.TextColour, 3);
         EXPECT_EQ(c.s.cur.LegendTextColour, 3);
         EXPECT_EQ(c.s.cur.AttribTextColour, 3);
       }},
      {{"/TC=x"}, 3, [](const Command& c) { EXPECT_EQ(c.s.cur.TextColour, 40); }},
      {{"/L2=7"}, 3, [](const Command& c) {
         EXPECT_EQ(c.s.cur.NumClassesLayer, 7);
         EXPECT_EQ(c.s.cur.NumClassesColor, 5);
       }},
      {{"/C2=9", "/CC=2", "/LC=1"}, 3, [](const Command& c) {
         EXPECT_EQ(c.s.cur.NumClassesColor, 9);
         EXPECT_EQ(c.s.cur.NumClassesLayer, 5);
         EXPECT_EQ(c.s.cur.ClassTypeColor, 2);
         EXPECT_EQ(c.s.cur.ClassTypeLayer, 1);
       }},
      {{"/TOF0.5"}, 3, [](const Command& c) { EXPECT_DOUBLE_EQ(c.s.cur.OverlapFactor, 0.5); }},
      {{"/TOF=0.5"}, 3, [](const Command& c) { EXPECT_DOUBLE_EQ(c.s.cur.OverlapFactor, 1.0); }},
      {{"-tof2"}, 3, [](const Command& c) { EXPECT_DOUBLE_EQ(c.s.cur.OverlapFactor, 2.0); }},
      {{"/TO=1"}, 3, [](const Command& c) {
         EXPECT_EQ(c.s.cur.ElimDoubleLabels, 1);
         EXPECT_DOUBLE_EQ(c.s.cur.OverlapFactor, 1.0);
       }},
      {{"/TH=2.5", "/PH=0.75"}, 3, [](const Command& c) {
         EXPECT_DOUBLE_EQ(c.s.cur.TextLabelsHeight, 2.5);
         EXPECT_DOUBLE_EQ(c.s.cur.MarkerHeight, 0.75);
       }},
      {{"/TL=0", "/TLL=Notes and names"}, 3, [](const Command& c) {
         EXPECT_EQ(c.s.cur.flgSingleRedlineLayer, 0);
         EXPECT_EQ(c.s.cur.SingleRedlineLayer, "Notes and names");
       }},
      {{"/L=Roads"}, 3, [](const Command& c) {
         EXPECT_EQ(c.s.cur.LayerByFeature, 0);
         EXPECT_EQ(c.s.def.SingleLayerName, "Roads");
       }},
      {{"/LF=3", "/CF=2"}, 3, [](const Command& c) {
         EXPECT_EQ(c.s.cur.LayerByFeature, 1);
         EXPECT_EQ(c.result.layer_key_field, 3);
         EXPECT_EQ(c.result.colour_key_field, 2);
       }},
      {{"/CF=2", "/CF=abc", "/LF="}, 3, [](const Command& c) {
         EXPECT_EQ(c.result.colour_key_field, 0);
         EXPECT_EQ(c.result.layer_key_field, 0);
         EXPECT_EQ(c.s.cur.LayerByFeature, 1);
       }},
      {{"/DX=4", "/DY=5", "/E=2", "/ES=0.3048"}, 1, [](const Command& c) {
         EXPECT_EQ(c.result.x_field, 4);
         EXPECT_EQ(c.result.y_field, 5);
         EXPECT_EQ(c.result.elevation_field, 2);
         EXPECT_EQ(c.s.cur.PointsElev, 1);
         EXPECT_DOUBLE_EQ(c.s.cur.ElevFactor, 0.3048);
       }},
      {{"/E=-1", "/ES=1e-11"}, 1, [](const Command& c) {
         EXPECT_EQ(c.result.elevation_field, -1);
         EXPECT_EQ(c.s.cur.PointsElev, 0);
         EXPECT_DOUBLE_EQ(c.s.cur.ElevFactor, 1.0);
       }},
      {{"/CP=70"}, 3, [](const Command& c) { EXPECT_EQ(c.s.cur.DefaultColorSet, 6); }},
      {{"/V=", "/B", "/H", "/N", "/X"}, 3, [](const Command& c) {
         EXPECT_EQ(c.s.cur.Legend, 1);
         EXPECT_TRUE(c.run.run_hidden);
         EXPECT_TRUE(c.run.no_auto_run);
         EXPECT_TRUE(c.run.exit_when_done);
       }},
      {{"/REL=14"}, 3, [](const Command& c) { EXPECT_EQ(c.s.verDXF, 6); }},
      {{"/REL=2000"}, 3, [](const Command& c) { EXPECT_EQ(c.s.verDXF, 7); }},
      {{"/REL=14", "/REL=12"}, 3, [](const Command& c) { EXPECT_EQ(c.s.verDXF, 4); }},
      {{"/REL=13"}, 3, [](const Command& c) { EXPECT_EQ(c.s.verDXF, 4); }},
      // Unknown switches are ignored, ';' tokens skipped, the first file name ends the walk.
      {{"/ZZ=1", ";/TC=9", "/TC=7", "in.shp", "/TC=8"}, 3,
       [](const Command& c) { EXPECT_EQ(c.s.cur.TextColour, 7); }},
      // An '@' token in a command file is not a switch: it ends the walk.
      {{"@x", "/TC=8"}, 3, [](const Command& c) { EXPECT_EQ(c.s.cur.TextColour, 40); }},
  };
  for (const Case& c : cases) {
    Command cmd(c.shape_type);
    ASSERT_EQ(cmd.apply(c.switches), 0) << c.switches.front();
    SCOPED_TRACE(c.switches.front());
    c.check(cmd);
    EXPECT_THAT(cmd.host.boxes, IsEmpty());
  }
}

TEST(ApplySwitches, HatchNumberOnlyInRangeAndForRelease14OrLater) {
  struct Case {
    int verDXF;
    Tokens switches;
    int hatch;
  };
  const Case cases[] = {
      {6, {"/CH=3"}, 3},  {6, {"/CH=32"}, 32}, {6, {"/CH=40"}, 0},    {6, {"/CH=-1"}, 0},
      {4, {"/CH=3"}, 0},  {7, {"/CH=0"}, 0},   {4, {"/REL=14", "/CH=3"}, 3},
      {6, {"/CH=x"}, 0},
  };
  for (const Case& c : cases) {
    Command cmd(5);
    cmd.s.verDXF = c.verDXF;
    cmd.s.cur.HatchNumber = 0;
    ASSERT_EQ(cmd.apply(c.switches), 0);
    EXPECT_EQ(cmd.s.cur.HatchNumber, c.hatch) << c.verDXF << " " << c.switches.back();
  }
}

TEST(ApplySwitches, PositionSwitchesChangeOneClassOfLabelsOrAttributes) {
  struct Case {
    const char* sw;
    bool labels;
    int cls;
    TextPosition expected;
  };
  const Case cases[] = {
      {"/APAB=5", false, 1, {194, -1, 1}}, {"/APAB=0", false, 1, {234, -1, 1}},
      {"/APAB=8", false, 1, {242, -1, 1}}, {"/APAB=9", false, 1, {238, -1, 1}},
      {"/APAJ=2", false, 1, {238, -1, 2}}, {"/TPTV=3", true, 0, {238, 3, 0}},
      {"/TPPB=6", true, 2, {240, 0, 1}},   {"/apPj=4", false, 2, {238, 0, 4}},
  };
  for (const Case& c : cases) {
    Command cmd;
    ASSERT_EQ(cmd.apply({c.sw}), 0);
    for (int labels = 0; labels < 2; ++labels) {
      const auto& positions = labels ? cmd.s.cur.label_position : cmd.s.cur.attrib_position;
      for (int cls = 0; cls < kShapeClasses; ++cls) {
        const TextPosition want = (labels == c.labels && cls == c.cls)
                                      ? c.expected
                                      : kInitialTextPositions[static_cast<std::size_t>(cls)];
        const TextPosition& got = positions[static_cast<std::size_t>(cls)];
        EXPECT_EQ(got.MinMaxPos, want.MinMaxPos) << c.sw << " labels " << labels << " " << cls;
        EXPECT_EQ(got.VerticalPos, want.VerticalPos) << c.sw << " labels " << labels << " " << cls;
        EXPECT_EQ(got.AnnotJust, want.AnnotJust) << c.sw << " labels " << labels << " " << cls;
      }
    }
  }
}

TEST(ApplySwitches, AlignmentAndMoveCloseSwitches) {
  struct Case {
    const char* sw;
    int align_text, align_attrib;
    std::array<int, 3> label_close, attrib_close;
  };
  const Case cases[] = {
      {"/TPAF=2", 1, 0, {1, 0, 1}, {1, 1, 1}}, {"/TPAF=1", 0, 0, {1, 1, 1}, {1, 1, 1}},
      {"/APAF=2", 0, 1, {1, 1, 1}, {1, 0, 1}}, {"/APAF=0", 0, 0, {1, 1, 1}, {1, 0, 1}},
      {"/TPPF=0", 0, 0, {1, 1, 0}, {1, 1, 1}}, {"/APPF=0", 0, 0, {1, 1, 1}, {1, 1, 0}},
  };
  for (const Case& c : cases) {
    Command cmd;
    cmd.s.cur.AlignText = 0;
    cmd.s.cur.AlignAttrib = 0;
    ASSERT_EQ(cmd.apply({c.sw}), 0);
    EXPECT_EQ(cmd.s.cur.AlignText, c.align_text) << c.sw;
    EXPECT_EQ(cmd.s.cur.AlignAttrib, c.align_attrib) << c.sw;
    EXPECT_EQ(cmd.s.cur.label_move_close, c.label_close) << c.sw;
    EXPECT_EQ(cmd.s.cur.attrib_move_close, c.attrib_close) << c.sw;
  }
}

TEST(ApplySwitches, OutlineFillAndMarkerChoices) {
  struct Case {
    const char* sw;
    int outlines, fill, plane_flags;
  };
  const Case fills[] = {
      {"/C=0", 1, 0, 0}, {"/C=1", 0, 1, 2}, {"/C=2", 1, 1, 2}, {"/C=3", 1, 0, 0},
  };
  for (const Case& c : fills) {
    Command cmd(5);
    ASSERT_EQ(cmd.apply({c.sw}), 0);
    EXPECT_EQ(cmd.s.cur.DrawOutlines, c.outlines) << c.sw;
    EXPECT_EQ(cmd.s.cur.Fill, c.fill) << c.sw;
    EXPECT_EQ(cmd.s.cur.PlaneFlags, c.plane_flags) << c.sw;
  }
  struct Marker {
    const char* sw;
    int translate, marker;
  };
  const Marker markers[] = {
      {"/P=0", 0, 1}, {"/P=1", 1, 1}, {"/P=2", 1, 2}, {"/P=3", 1, 5}, {"/P=-1", 1, 4},
      {"/P=4", 0, 1},
  };
  for (const Marker& m : markers) {
    Command cmd(1);
    ASSERT_EQ(cmd.apply({m.sw}), 0);
    EXPECT_EQ(cmd.s.cur.PointsTranslate, m.translate) << m.sw;
    EXPECT_EQ(cmd.s.cur.Marker, m.marker) << m.sw;
  }
}

TEST(ApplySwitches, SingleColoursPerShapeClassAndTheResultingColourMethod) {
  // Lines: /C0 sets the one colour of lines; the method follows.
  Command lines(3);
  ASSERT_EQ(lines.apply({"/C0=12"}), 0);
  EXPECT_EQ(lines.s.cur.Use1ColourArcs, 1);
  EXPECT_EQ(lines.s.cur.Pen0, 12);
  EXPECT_EQ(lines.s.cur.Use1ColourPoints, 0);
  EXPECT_EQ(lines.s.cur.ColourMethod, 0);
  ASSERT_EQ(lines.apply({"/C0=0"}), 0);
  EXPECT_EQ(lines.s.cur.Use1ColourArcs, 0);
  EXPECT_EQ(lines.s.cur.Pen0, 12);
  EXPECT_EQ(lines.s.cur.ColourMethod, 2);

  // Polygons: one outline colour with fill by classes still colours by classes.
  Command polygons(5);
  ASSERT_EQ(polygons.apply({"/C=2", "/C0=3"}), 0);
  EXPECT_EQ(polygons.s.cur.Use1ColourLines, 1);
  EXPECT_EQ(polygons.s.cur.SingleColourLines, 3);
  EXPECT_EQ(polygons.s.cur.ColourMethod, 2);
  ASSERT_EQ(polygons.apply({"/C1=300"}), 0);
  EXPECT_EQ(polygons.s.cur.Use1ColourFill, 1);
  EXPECT_EQ(polygons.s.cur.SingleColourFill, 1);  // outside 1..255
  EXPECT_EQ(polygons.s.cur.ColourMethod, 0);

  Command points(1);
  ASSERT_EQ(points.apply({"/C0=250"}), 0);
  EXPECT_EQ(points.s.cur.Use1ColourPoints, 1);
  EXPECT_EQ(points.s.cur.SingleColourPoints, 250);
  EXPECT_EQ(points.s.cur.Use1ColourArcs, 0);
}

TEST(ApplySwitches, RefusalsShowTheirMessage) {
  struct Case {
    Tokens switches;
    bool defaults_file;
    bool command_file_mode;
    int message;
  };
  const Case cases[] = {
      {{"/TC=3", "/G", "/TC=4"}, true, true, 202},
      {{"-o"}, true, true, 202},
      {{"/TC=3", "@jobs.txt", "/TC=4"}, false, false, 37},
  };
  for (const Case& c : cases) {
    Command cmd;
    cmd.run.command_file_mode = c.command_file_mode;
    EXPECT_EQ(cmd.apply(c.switches, c.defaults_file), -1);
    ASSERT_EQ(cmd.host.boxes.size(), 1u);
    EXPECT_EQ(cmd.host.boxes[0].caption, load_text(10));
    EXPECT_EQ(cmd.host.boxes[0].text, load_text(c.message));
    EXPECT_EQ(cmd.host.boxes[0].icon, Icon::warning);
    EXPECT_NE(cmd.s.cur.TextColour, 4);  // nothing after the refused token
  }
  // Outside the defaults file /G and /O are left to the command file's control lines.
  Command cmd;
  EXPECT_EQ(cmd.apply({"/G", "/O", "/TC=4"}), 0);
  EXPECT_EQ(cmd.s.cur.TextColour, 4);
  EXPECT_THAT(cmd.host.boxes, IsEmpty());
}

TEST(ApplySwitches, ListsAndStyleRequestsAreRecorded) {
  Command cmd;
  ASSERT_EQ(cmd.apply({"/T=2,0", "/AE=-1", "/TS=Roman", "/PF=fonts/simplex.shx",
                       "/VS=Legend text", "/VF=italic.shx"}),
            0);
  EXPECT_EQ(cmd.s.cur.TextLabels, 1);
  EXPECT_EQ(cmd.result.label_fields.fields, (std::vector<int>{2, 0}));
  EXPECT_EQ(cmd.s.cur.Attribs, 5);
  EXPECT_TRUE(cmd.result.attrib_fields.all);
  EXPECT_EQ(cmd.result.style(StyleTarget::labels).name, "Roman");
  EXPECT_EQ(cmd.result.style(StyleTarget::labels).font, "");
  EXPECT_EQ(cmd.result.style(StyleTarget::markers).font, "fonts/simplex.shx");
  EXPECT_EQ(cmd.result.style(StyleTarget::legend).name, "Legend text");
  EXPECT_EQ(cmd.result.style(StyleTarget::legend).font, "italic.shx");
  EXPECT_FALSE(cmd.result.style(StyleTarget::attributes).given());

  Command plain;
  ASSERT_EQ(plain.apply({"/AA=1,3"}), 0);
  EXPECT_EQ(plain.s.cur.Attribs, 1);
  EXPECT_EQ(plain.result.attrib_fields.fields, (std::vector<int>{1, 3}));
}

TEST(ApplySwitches, ClassCountsOutsideTheLimitAreRefusedAndLegendFilesRecorded) {
  Command cmd;
  ASSERT_EQ(cmd.apply({"/C2=7", "/L2=1024", "/LGC=ranges/gdp.lgd"}), 0);
  EXPECT_EQ(cmd.s.cur.NumClassesColor, 7);
  EXPECT_EQ(cmd.s.cur.NumClassesLayer, 1024);
  EXPECT_EQ(cmd.result.colour_legend_file, "ranges/gdp.lgd");
  EXPECT_EQ(cmd.s.cur.LayerByFeature, 0);
  ASSERT_EQ(cmd.apply({"/C2=0", "/L2=1025", "/LGL=zones.lgd"}), 0);
  EXPECT_EQ(cmd.s.cur.NumClassesColor, 7);
  EXPECT_EQ(cmd.s.cur.NumClassesLayer, 1024);
  EXPECT_NE(cmd.host.status_text().find("Number of Classes out of range (1-1024)"),
            std::string::npos);
  // Layer classes from a file put records on layers by feature.
  EXPECT_EQ(cmd.result.layer_legend_file, "zones.lgd");
  EXPECT_EQ(cmd.s.cur.LayerByFeature, 1);
}

TEST(SelectListedFields, MarksTheTableFieldsInListOrder) {
  Command cmd;
  cmd.input.field_count = 3;
  ASSERT_EQ(cmd.prepare({}, {"/T=2,0,7", "/AA=-1"}), 0);
  const auto first4 = [](const std::array<int, kMaxFields>& a) {
    return std::vector<int>(a.begin(), a.begin() + 4);
  };
  EXPECT_THAT(first4(cmd.s.def.label_fields), ElementsAre(2, 0, 1, 0));
  EXPECT_EQ(cmd.s.def.num_label_fields, 2);
  EXPECT_THAT(first4(cmd.s.def.attrib_fields), ElementsAre(1, 1, 1, 0));
  EXPECT_EQ(cmd.s.def.num_attrib_selected, 3);
  EXPECT_TRUE(attribute_output_active(cmd.s));
}

TEST(StyleRequests, AppliedOnlyWhereTheOutputUsesThemAndCompletedFromTheStyleList) {
  Command points(1);
  ASSERT_EQ(points.prepare({}, {"/TS=Roman", "/PS=Marks", "/VF=x.shx", "/P=-1"}), 0);
  EXPECT_FALSE(style_request_applies(StyleTarget::labels, points.s, points.input, points.result));
  EXPECT_TRUE(style_request_applies(StyleTarget::markers, points.s, points.input, points.result));
  EXPECT_FALSE(style_request_applies(StyleTarget::legend, points.s, points.input, points.result));
  ASSERT_EQ(points.prepare({}, {"/TS=Roman", "/T=0", "/VF=x.shx", "/V=", "/PS=Marks", "/P=1"}),
            0);
  EXPECT_TRUE(style_request_applies(StyleTarget::labels, points.s, points.input, points.result));
  EXPECT_FALSE(style_request_applies(StyleTarget::markers, points.s, points.input, points.result));
  EXPECT_TRUE(style_request_applies(StyleTarget::legend, points.s, points.input, points.result));

  struct Case {
    StyleRequest given, completed;
  };
  const Case cases[] = {
      {{"", ""}, {"STANDARD", "txt"}},
      {{"roman", ""}, {"roman", "romans.shx"}},
      {{"Gothic", ""}, {"Gothic", "txt"}},
      {{"", "fonts/simplex.shx"}, {"simplex", "fonts/simplex.shx"}},
      {{"Mine", "my.shx"}, {"Mine", "my.shx"}},
  };
  for (const Case& c : cases) {
    const StyleRequest got = complete_style_request(points.s, c.given);
    EXPECT_EQ(got.name, c.completed.name) << c.given.name << "|" << c.given.font;
    EXPECT_EQ(got.font, c.completed.font) << c.given.name << "|" << c.given.font;
  }
}

TEST(StyleRequests, ResolvedIntoTheDrawingsStyleListFindOrAppend) {
  Command cmd(1);
  // Labels and the legend ask for the same style by name in other cases: one entry; the
  // character markers ask for a new one.
  ASSERT_EQ(cmd.prepare({"/TS=roman"}, {"/T=0", "/V=", "/VS=ROMAN", "/P=-1", "/PS=Marks",
                                        "/PF=marks.shx"}),
            0);
  using Style = std::pair<std::string, std::string>;
  EXPECT_THAT(cmd.s.drawing_styles,
              ElementsAre(Style{"roman", "romans.shx"}, Style{"Marks", "marks.shx"}));
  EXPECT_EQ(cmd.s.label_style, 0);
  EXPECT_EQ(cmd.s.legend_style, 0);
  EXPECT_EQ(cmd.s.marker_style, 1);
  // A request whose use is off adds nothing; the next command starts a new list.
  ASSERT_EQ(cmd.prepare({}, {"/TS=Roman"}), 0);
  EXPECT_THAT(cmd.s.drawing_styles, IsEmpty());
  EXPECT_EQ(cmd.s.marker_style, 0);
}

TEST(PrepareCommandSettings, DefaultsFileFirstThenTheCommandsOwnSwitches) {
  Command cmd;
  ASSERT_EQ(cmd.prepare({"; batch defaults", "/TC=5", "/L2=8"}, {"/TC=6"}), 0);
  EXPECT_EQ(cmd.s.cur.TextColour, 6);
  EXPECT_EQ(cmd.s.cur.NumClassesLayer, 8);

  Command refused;
  EXPECT_EQ(refused.prepare({"/L2=8", "/G"}, {"/TC=6"}), -1);
  EXPECT_EQ(refused.s.cur.TextColour, 40);  // the command's switches are not applied
  ASSERT_EQ(refused.host.boxes.size(), 1u);
  EXPECT_EQ(refused.host.boxes[0].text, load_text(202));
}

// Switches that do not do what they say are listed, in the order given, with the reason; the
// ones that work are not. The table of the command has fields 0 to 3.
TEST(PrepareCommandSettings, WarnsOfUnknownUnreadableAndMissingFieldSwitches) {
  struct Case {
    const char* token;
    const char* problem;  // empty: no warning
  };
  const Case cases[] = {
      {"/A=-1", "no such switch"},     {"/XYZ=1", "no such switch"},
      {"/REL=2004", "12, 14 or 2000"}, {"/REL=14", ""},
      {"/LF=abc", "field 0 is used"},  {"/LF=3", ""},
      {"/LF=4", "no field 4 (it has fields 0 to 3)"},
      {"/T=999", "no field 999"},      {"/T=1,7", "no field 7"},
      {"/T=-1", ""},                   {"/AE=0,2", ""},
      {"/CH=40", "0 to 32"},           {"/P=7", "-1, 0, 1, 2 or 3"},
      {"/TH=nan", "not a finite"},     {"/PH=inf", "not a finite"},
      {"/TH=2.5", ""},                 {"/TOF=2", "as in /TOF1.5"},
      {"/TOF1.5", ""},                 {"/TPAB=9", "0 to 8"},
      {"/C=3", "0, 1 or 2"},           {"/E=-2", "0 or more"},
      {"/DX=9", "no field 9"},         {"/ES=0", "must not be 0"},
  };
  for (const Case& c : cases) {
    Command cmd;
    ASSERT_EQ(cmd.prepare({}, {c.token}), 0) << c.token;
    if (*c.problem == '\0') {
      EXPECT_THAT(cmd.result.warnings, IsEmpty()) << c.token;
      continue;
    }
    ASSERT_EQ(cmd.result.warnings.size(), 1u) << c.token;
    EXPECT_EQ(cmd.result.warnings[0].token, c.token);
    EXPECT_THAT(cmd.result.warnings[0].problem, ::testing::HasSubstr(c.problem)) << c.token;
  }
  Command cmd;
  ASSERT_EQ(cmd.prepare({"/Q=1"}, {"/T=5", "/REL=12"}), 0);
  EXPECT_EQ(switch_warning_lines(cmd.result.warnings),
            "\nWarning: /Q=1: there is no such switch; it was ignored"
            "\nWarning: /T=5: the table has no field 5 (it has fields 0 to 3)");
}

TEST(PrepareCommandSettings, UnattendedDefaultsUndoThePreviousCommand) {
  Command cmd(3);
  const CommandBaseline baseline = capture_baseline(cmd.s);
  // Values a definition file or the program settings might have left.
  cmd.s.cur.IgnoreColRangeEnts = 1;
  cmd.s.LLMS = 0;
  cmd.s.def.Ramp = 1;
  cmd.s.prog.ElevFactor = 2.0;
  cmd.s.label_style = 1;
  ASSERT_EQ(prepare_command_settings(
                cmd.s, cmd.run, cmd.input, baseline, {},
                {"/REL=14", "/LF=2", "/CF=3", "/L2=7", "/C2=9", "/LC=1", "/CC=2", "/C=1", "/CP=4",
                 "/CH=5", "/AA=1", "/T=0", "/TO=1", "/P=1", "/TPAB=5", "/APAJ=2", "/TPAF=2",
                 "/APPF=0", "/E=1", "/ES=3", "/DX=1", "/DY=2", "/TS=Roman"},
                cmd.result),
            0);
  ASSERT_EQ(cmd.s.verDXF, 6);
  ASSERT_EQ(cmd.s.cur.HatchNumber, 5);
  ASSERT_EQ(cmd.s.def.num_label_fields, 1);

  ASSERT_EQ(prepare_command_settings(cmd.s, cmd.run, cmd.input, baseline, {}, {"/TC=2"},
                                     cmd.result),
            0);
  const FileSettings& cur = cmd.s.cur;
  EXPECT_EQ(cmd.s.verDXF, 4);
  EXPECT_EQ(cmd.s.LLMS, 1);
  EXPECT_EQ(cur.LayerByFeature, 0);
  EXPECT_EQ(cur.ClassTypeLayer, 0);
  EXPECT_EQ(cur.NumClassesLayer, 5);
  EXPECT_EQ(cur.ClassTypeColor, 0);
  EXPECT_EQ(cur.NumClassesColor, 5);
  EXPECT_EQ(cur.DrawOutlines, 1);
  EXPECT_EQ(cur.Fill, 0);
  EXPECT_EQ(cur.ColourMethod, 2);
  EXPECT_EQ(cur.DefaultColorSet, 0);
  EXPECT_EQ(cmd.s.def.Ramp, 0);
  EXPECT_EQ(cur.HatchNumber, 0);
  EXPECT_EQ(cur.Attribs, 0);
  EXPECT_EQ(cur.TextLabels, 0);
  EXPECT_EQ(cmd.s.def.num_label_fields, 0);
  EXPECT_EQ(cmd.s.def.num_attrib_selected, 0);
  EXPECT_EQ(cur.ElimDoubleLabels, 0);
  EXPECT_EQ(cur.PointsTranslate, 0);
  EXPECT_EQ(cur.label_position[1].MinMaxPos, 238);
  EXPECT_EQ(cur.attrib_position[1].AnnotJust, 1);
  EXPECT_EQ(cur.attrib_move_close[2], 1);
  EXPECT_EQ(cur.IgnoreColRangeEnts, 0);
  EXPECT_EQ(cur.IgnoreLayRangeEnts, 0);
  EXPECT_EQ(cur.PointsElev, 0);
  EXPECT_DOUBLE_EQ(cur.ElevFactor, 2.0);
  EXPECT_EQ(cmd.s.label_style, 0);
  EXPECT_EQ(cur.TextColour, 2);
  EXPECT_EQ(cmd.result.layer_key_field, 0);
  EXPECT_EQ(cmd.result.colour_key_field, 0);
  EXPECT_EQ(cmd.result.elevation_field, -1);
  EXPECT_EQ(cmd.result.x_field, -1);
  EXPECT_EQ(cmd.result.y_field, -1);
  EXPECT_TRUE(cmd.result.label_fields.empty());
  EXPECT_FALSE(cmd.result.style(StyleTarget::labels).given());
  // Text heights come from their ratios to the input's extent again.
  EXPECT_DOUBLE_EQ(cur.TextLabelsHeight, 0.0025 * 1000.0);
}

// The coordinate fields are read before the table is opened: they must be the ones the whole
// switch walk gives.
TEST(CoordinateFieldSwitches, AgreeWithTheCommandSettings) {
  struct Case {
    Tokens defaults;
    Tokens switches;
    int x;
    int y;
  };
  const std::vector<Case> cases = {
      {{}, {}, -1, -1},
      {{}, {"/DX=4", "/DY=5"}, 4, 5},
      {{"/DX=1"}, {"/DY=2"}, 1, 2},
      {{"/DX=1", "/DY=3"}, {"/DX=7"}, 7, 3},
      {{}, {"/dx=2", "/Dy=+3"}, 2, 3},
      {{}, {"/DX=", "/DY=abc", "/DX"}, -1, -1},
      {{}, {"/DX=2", "stray", "/DY=3"}, 2, -1},
      {{";/DX=5"}, {"; note", "/DY=0"}, -1, 0},
      {{"/DX=9", "/L=A"}, {"/T=1,2"}, 9, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.switches));
    Command cmd;
    cmd.input.path = "data/in.csv";
    cmd.input.input_file_type = 2;
    ASSERT_EQ(cmd.prepare(c.defaults, c.switches), 0);
    int x = -9;
    int y = -9;
    coordinate_field_switches(c.defaults, c.switches, x, y);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(cmd.result.x_field, x);
    EXPECT_EQ(cmd.result.y_field, y);
  }
}

}  // namespace
}  // namespace tsn
