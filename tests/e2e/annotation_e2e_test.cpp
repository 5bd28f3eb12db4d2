// Labels and feature attributes on real point, line and polygon layers, in releases 12 and 14:
// block attributes after one INSERT per record and the table's _INFO block, extended entity
// data under TESSARYN, TEXT labels in list order on their layers near their shapes, and the
// elimination of equal labels that overlap. Every expectation comes from the input's table
// and shapes read by annotation_check.py, never from the converter's own reading.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "input/dbf_builder.h"
#include "input/shapefile_builder.h"
#include "support/scratch_dir.h"
#include "support/shape_type.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(TSN_TESTDATA_DIR);
const fs::path kCities = kData / "geopandas-ne" / "naturalearth_cities.shp";     // 243 points, name
const fs::path kCountries = kData / "geopandas-ne" / "naturalearth_lowres.shp";  // 177 polygons
const fs::path kStates = kData / "shapelib-eg" / "mexico" / "states.shp";   // AREA CODE NAME
const fs::path kRivers = kData / "shapelib-eg" / "mexico" / "rivers.shp";   // NAME SYSTEM
const fs::path kRoads = kData / "shapelib-eg" / "mexico" / "roads.shp";     // 105 lines
const fs::path kHighways = kData / "shapelib-eg" / "csah.shp";  // 124 lines, 24 of them null
const std::string kChecker = std::string(TSN_SOURCE_DIR) + "/tests/e2e/annotation_check.py";

struct Conversion {
  int status = -1;
  std::string output;  // what the converter printed
  std::string dxf;
};

class Annotation : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const fs::path& p : {kCities, kCountries, kStates, kRivers, kRoads, kHighways}) {
      if (!fs::exists(p)) GTEST_SKIP() << "test data missing: " << p;
    }
    if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  }

  // Converts `input` into a drawing of the scratch directory; `home` is the settings folder.
  Conversion convert(const std::string& input, const std::string& name, const std::string& args,
                     const std::string& home = "home") const {
    Conversion r;
    r.dxf = (d / name).string();
    const std::string command = "TESSARYN_HOME=" + test::quoted((d / home).string()) + " " +
                                TSN_BINARY + " " + test::quoted(input) + " " +
                                test::quoted(r.dxf) + " " + args + " 2>&1 </dev/null";
    r.output = test::capture(command + "; echo \"status $?\"");
    const std::size_t at = r.output.rfind("status ");
    if (at != std::string::npos) {
      r.status = std::stoi(r.output.substr(at + 7));
      r.output.erase(at);
    }
    return r;
  }

  // The checker's report on a drawing made from `input`.
  static std::string check(const std::string& mode, const std::string& input,
                           const Conversion& r, const std::string& rest) {
    return test::capture("cd " + test::quoted(std::string(TSN_SOURCE_DIR) + "/tests/e2e") +
                         " && /usr/bin/python3 " + test::quoted(kChecker) + " " + mode + " " +
                         test::quoted(input) + " " + test::quoted(r.dxf) + " " + rest + " 2>&1");
  }

  static std::string count_texts(const Conversion& r) {
    return test::capture(
        "/usr/bin/python3 -c " +
        test::quoted("import ezdxf,sys\n"
                     "print(len(ezdxf.readfile(sys.argv[1]).modelspace().query('TEXT')))") +
        " " + test::quoted(r.dxf) + " 2>&1");
  }

  test::ScratchDir d;
};

const char* const kReleases[] = {"12", "14"};

// "Eliminated N overlapping labels" from the converter's report, or -1.
long eliminated(const std::string& output) {
  const std::string key = "Eliminated ";
  const std::size_t at = output.find(key);
  if (at == std::string::npos) return -1;
  const std::size_t end = output.find(" overlapping labels", at);
  if (end == std::string::npos) return -1;
  return std::stol(output.substr(at + key.size(), end - at - key.size()));
}

// ---------------------------------------------------------------------------------------------
// Block attributes

TEST_F(Annotation, EveryFieldBecomesAnInvisibleAttributeOfTheRecordsInsert) {
  const std::string all = "inserts same\nlayers same flags same\ninfo same\naudit 0\n";
  for (const char* release : kReleases) {
    // Null records (csah) get no INSERT and leave the others' rows in place.
    for (const fs::path& input : {kCities, kRivers, kStates, kHighways}) {
      const Conversion r = convert(input.string(), input.stem().string() + release + ".dxf",
                                   std::string("/REL=") + release + " /AB=-1");
      ASSERT_EQ(r.status, 0) << r.output;
      EXPECT_EQ(check("attribs", input.string(), r, "-1"), all) << input << " R" << release;
    }
  }
}

TEST_F(Annotation, AFieldSubsetGivesAttributesAndDefinitionsInFieldOrder) {
  // The list order does not matter: the selected fields come in table order.
  for (const char* release : kReleases) {
    const Conversion states = convert(kStates.string(), std::string("states") + release + ".dxf",
                                      std::string("/REL=") + release + " /AB=2,0");
    ASSERT_EQ(states.status, 0) << states.output;
    EXPECT_EQ(check("attribs", kStates.string(), states, "0,2"),
              "inserts same\nlayers same flags same\ninfo same\naudit 0\n")
        << release;
  }
  // Latin-1 values (Côte d'Ivoire) on 177 multi-ring countries.
  const Conversion countries = convert(kCountries.string(), "countries.dxf", "/REL=14 /AB=4,2");
  ASSERT_EQ(countries.status, 0) << countries.output;
  EXPECT_EQ(check("attribs", kCountries.string(), countries, "2,4"),
            "inserts same\nlayers same flags same\ninfo same\naudit 0\n");
}

TEST_F(Annotation, AttributesAreVisibleWhenAttVisIsOn) {
  fs::create_directories(d / "visible");
  test::write_file(d / "visible" / "tsn25.ini", "[Tessaryn]\nAttVis=1\n");
  const Conversion r = convert(kRivers.string(), "visible.dxf", "/REL=14 /AB=-1", "visible");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(check("attribs", kRivers.string(), r, "-1 visible"),
            "inserts same\nlayers same flags same\ninfo same\naudit 0\n");
}

TEST_F(Annotation, InfoBlockHoldsAPointAtTheOriginBeforeItsDefinitions) {
  for (const char* release : kReleases) {
    const Conversion r = convert(kStates.string(), std::string("info") + release + ".dxf",
                                 std::string("/REL=") + release + " /AB=-1");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(check("info-point", kStates.string(), r, ""), "point yes\n") << release;
  }
}

// ---------------------------------------------------------------------------------------------
// Extended entity data

TEST_F(Annotation, ExtendedDataCarriesTheFieldPairsOfTheRecordOnEveryShapeEntity) {
  const std::string same = "xdata same\nappid yes\naudit 0\n";
  for (const char* release : kReleases) {
    // Points, lines with blank values, multi-ring polygons: one entity per part.
    for (const fs::path& input : {kCities, kRivers, kCountries}) {
      const Conversion r = convert(input.string(), input.stem().string() + release + ".dxf",
                                   std::string("/REL=") + release + " /AE=-1");
      ASSERT_EQ(r.status, 0) << r.output;
      EXPECT_EQ(check("xdata", input.string(), r, "-1"), same) << input << " R" << release;
    }
  }
  const Conversion subset = convert(kStates.string(), "subset.dxf", "/REL=12 /AE=2,0");
  ASSERT_EQ(subset.status, 0) << subset.output;
  EXPECT_EQ(check("xdata", kStates.string(), subset, "0,2"), same);
}

// ---------------------------------------------------------------------------------------------
// Text labels

TEST_F(Annotation, LabelsFollowTheListOrderOnTheirLayerNearTheirShape) {
  struct Case {
    fs::path input;
    std::string switches;  // besides the release
    std::string list;
    std::string layer;  // expected label layer, "@field" or "@record"
    int texts;
  };
  const std::vector<Case> cases = {
      {kCities, "/T=0", "0", "TEXT", 243},                      // default layer TEXT
      {kRivers, "/T=1,0 /TL=2", "1,0", "@field", 48},           // SYSTEM (often blank), NAME
      {kRivers, "/T=1 /TL=0 /LF=1 /LC=2", "1", "@record", 18},  // on the record's class layer
      {kStates, "/T=2,1", "2,1", "TEXT", 64},
      {kCountries, "/T=2,3 /TL=1 /TLL=Names", "2,3", "NAMES", 354},
      {kRoads, "/T=6 /TL=0", "6", "@record", 105},
      {kHighways, "/T=2", "2", "TEXT", 95},  // none for the 24 null records and 5 blank NAMEs
  };
  for (const char* release : kReleases) {
    for (const Case& c : cases) {
      const Conversion r = convert(c.input.string(), "labels.dxf",
                                   std::string("/REL=") + release + " " + c.switches);
      ASSERT_EQ(r.status, 0) << r.output;
      EXPECT_EQ(check("labels", c.input.string(), r, c.list + " " + test::quoted(c.layer)),
                "texts " + std::to_string(c.texts) + " same\nlayers same\nnear same\naudit 0\n")
          << c.input << " " << c.switches << " R" << release;
    }
  }
}

// Writes blanks.shp/.shx/.dbf: points with two label fields, some blank, some all blank.
std::string write_blank_fields_input(const test::ScratchDir& d) {
  test::DbfBuilder table;
  table.field("NAME", 'C', 12).field("NOTE", 'C', 10);
  std::vector<std::string> contents;
  const std::vector<std::vector<std::string>> rows = {
      {"Alpha", "north"}, {"", ""}, {"Beta", ""}, {"   ", "  "}, {"", "west"}, {" Gamma ", "x"}};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    table.record(rows[i]);
    contents.push_back(test::point_content(1, 10.0 * static_cast<double>(i), 5.0));
  }
  test::write_file(d / "blanks.dbf", table.bytes());
  return test::write_shapefile(d, test::build_shapefile(1, contents), true, "blanks");
}

TEST_F(Annotation, RecordsWithBlankLabelFieldsGetNoText) {
  // 12 of the 30 rivers have no SYSTEM.
  for (const char* release : kReleases) {
    const Conversion r = convert(kRivers.string(), "system.dxf",
                                 std::string("/REL=") + release + " /T=1");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(check("labels", kRivers.string(), r, "1 TEXT"),
              "texts 18 same\nlayers same\nnear same\naudit 0\n")
        << release;
  }
  // Two label fields: records 1 and 3 (blanks only) get none, 2 and 4 one, 0 and 5 two.
  const std::string blanks = write_blank_fields_input(d);
  const Conversion r = convert(blanks, "blanks.dxf", "/REL=14 /T=1,0 /TL=2 /TH=1");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(check("labels", blanks, r, "1,0 @field"),
            "texts 6 same\nlayers same\nnear same\naudit 0\n");
}

// ---------------------------------------------------------------------------------------------
// Overlap elimination

TEST_F(Annotation, EliminationCountIsTheRecordsLessTheLabelsWritten) {
  // Road types and route names repeat along neighbouring segments; 105 records, one line each.
  for (const char* release : kReleases) {
    for (const char* list : {"1", "6"}) {
      const Conversion r = convert(kRoads.string(), "roads.dxf",
                                   std::string("/REL=") + release + " /T=" + list + " /TO=1");
      ASSERT_EQ(r.status, 0) << r.output;
      const long dropped = eliminated(r.output);
      EXPECT_GT(dropped, 0) << r.output;
      EXPECT_EQ(count_texts(r), std::to_string(105 - dropped) + "\n") << list << " R" << release;
    }
  }
  // Without /TO nothing is dropped and no count is reported.
  const Conversion all = convert(kRoads.string(), "all.dxf", "/REL=14 /T=1");
  ASSERT_EQ(all.status, 0) << all.output;
  EXPECT_EQ(eliminated(all.output), -1) << all.output;
  EXPECT_EQ(count_texts(all), "105\n");
}

// Writes repeats.shp/.shx/.dbf: points with few, repeated names (one only differing in case)
// scattered so that equal labels often overlap; no distance is near a rectangle's edge.
std::string write_repeated_names_input(const test::ScratchDir& d) {
  const std::vector<std::string> names = {"Springfield", "Salem", "SALEM", "Fairview",
                                          "Riverside"};
  test::DbfBuilder table;
  table.field("NAME", 'C', 16);
  std::vector<std::string> contents;
  auto add = [&](const std::string& name, double x, double y) {
    table.record({name});
    contents.push_back(test::point_content(1, x, y));
  };
  for (int i = 0; i < 60; ++i) {
    // x steps of 0.7 and y steps of 0.3 never equal a label's width (5, 8, 9 or 11 with a
    // height of 1) or its height (1), and stay at least 0.1 away from them.
    add(names[static_cast<std::size_t>(i) % names.size()], 0.7 * ((i * 17) % 23),
        0.3 * ((i * 7) % 11));
  }
  add("Springfield", 0.0, 0.0);    // on record 0 exactly: dropped
  add("Springfield", 300.0, 0.0);  // far away: kept
  add("salem", 0.7 * 17, 0.3 * 7); // record 1's place, other case: dropped
  test::write_file(d / "repeats.dbf", table.bytes());
  return test::write_shapefile(d, test::build_shapefile(1, contents), true, "repeats");
}

TEST_F(Annotation, EqualLabelsAreDroppedExactlyWhereTheyOverlap) {
  const std::string repeats = write_repeated_names_input(d);
  for (const char* release : kReleases) {
    const Conversion r = convert(repeats, std::string("repeats") + release + ".dxf",
                                 std::string("/REL=") + release + " /T=0 /TH=1 /TO=1");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string report = check("overlap", repeats, r, "0");
    // The count worked out here, and the same labels at the same places.
    ASSERT_EQ(report.rfind("eliminated ", 0), 0u) << report;
    const long expected = std::stol(report.substr(11));
    EXPECT_GT(expected, 10);  // the input does what it is meant to
    EXPECT_EQ(eliminated(r.output), expected) << r.output;
    EXPECT_EQ(report.substr(report.find('\n') + 1), "kept same\naudit 0\n") << release;
  }
  // Different names never drop each other, however close: the 243 cities (no two names
  // alike) with labels tall enough to overlap many others.
  const Conversion cities = convert(kCities.string(), "cities.dxf", "/REL=14 /T=0 /TH=20 /TO=1");
  ASSERT_EQ(cities.status, 0) << cities.output;
  EXPECT_EQ(eliminated(cities.output), 0) << cities.output;
  EXPECT_EQ(check("overlap", kCities.string(), cities, "0"),
            "eliminated 0\nkept same\naudit 0\n");
}

// ---------------------------------------------------------------------------------------------
// Control characters and carets in values, field names and the input's name

// Values that would end a DXF line early or bring groups of their own, each in every field of
// some record: CR, LF, CR LF with a whole "0 EOF" group, TAB, NUL (a dBase value ends there),
// other control bytes, carets alone and before a letter, blanks around a line break.
const std::vector<std::string> kControlValues = {
    "Lake\rBaikal",          "two\nlines",
    "A\r\n  0\r\nEOF",        "tab\tstop",
    std::string("nul\0hidden", 10), "\x01\x02\x1b\x1f\x7f",
    "caret ^ and ^M",        " padded\r\n ",
    "plain",
};

// Field names with the same bytes (a NUL ends a name); none begins with CR or LF, which would
// end the field descriptors.
const std::vector<std::string> kControlFieldNames = {
    "CR\rLF\nX", "CRLF\r\nY", "TAB\tZ", std::string("NUL\0CUT", 7), "CTL\x01\x1b\x1f",
    "CARET^ ^M", "PLAIN"};

// The input's base name: a line break, a tab, a caret and every character a block name cannot
// hold.
const std::string kControlBaseName = "ctl;a\rb\nc\t^=*?\"\\:<>`";

// Writes <kControlBaseName>.shp/.shx/.dbf of points (shape type 1) or squares (5).
std::string write_control_character_input(const test::ScratchDir& d, int type) {
  test::DbfBuilder table;
  for (const std::string& name : kControlFieldNames) table.field(name, 'C', 24);
  std::vector<std::string> contents;
  for (std::size_t r = 0; r < kControlValues.size(); ++r) {
    std::vector<std::string> row;
    for (std::size_t f = 0; f < kControlFieldNames.size(); ++f) {
      row.push_back(kControlValues[(r + f) % kControlValues.size()]);
    }
    table.record(row);
    const double x = 100.0 * static_cast<double>(r);
    if (type == 1) {
      contents.push_back(test::point_content(1, x, 50.0));
    } else {
      contents.push_back(test::multipart_content(
          5, {{{x, 0, 0}, {x, 40, 0}, {x + 40, 40, 0}, {x + 40, 0, 0}, {x, 0, 0}}}));
    }
  }
  const fs::path dir = d / (type == 1 ? "points" : "squares");
  fs::create_directories(dir);
  const test::ShapefileBytes files = test::build_shapefile(type, contents);
  test::write_file(dir / (kControlBaseName + ".shp"), files.shp);
  test::write_file(dir / (kControlBaseName + ".shx"), files.shx);
  test::write_file(dir / (kControlBaseName + ".dbf"), table.bytes());
  return (dir / (kControlBaseName + ".shp")).string();
}

TEST_F(Annotation, ControlCharactersAndCaretsInValuesNamesAndTheInputsNameRoundTrip) {
  const std::string attribs = "inserts same\nlayers same flags same\ninfo same\naudit 0\n";
  const std::string xdata = "xdata same\nappid yes\naudit 0\n";
  const std::string labels =
      "texts " + std::to_string(kControlValues.size() * kControlFieldNames.size()) +
      " same\nlayers same\nnear same\naudit 0\n";
  for (const int type : {1, 5}) {
    const std::string input = write_control_character_input(d, type);
    for (const char* release : kReleases) {
      const std::string rel = std::string("/REL=") + release;
      const std::string what = std::string(type == 1 ? "points" : "squares") + " R" + release;
      const Conversion ab = convert(input, "ab.dxf", rel + " /AB=-1");
      ASSERT_EQ(ab.status, 0) << ab.output;
      EXPECT_EQ(check("attribs", input, ab, "-1"), attribs) << what;
      const Conversion ae = convert(input, "ae.dxf", rel + " /AE=-1");
      ASSERT_EQ(ae.status, 0) << ae.output;
      EXPECT_EQ(check("xdata", input, ae, "-1"), xdata) << what;
      const Conversion t = convert(input, "t.dxf", rel + " /T=-1");
      ASSERT_EQ(t.status, 0) << t.output;
      EXPECT_EQ(check("labels", input, t, "-1 TEXT"), labels) << what;
      // One label layer per field, named after it.
      const Conversion tl = convert(input, "tl.dxf", rel + " /T=-1 /TL=2");
      ASSERT_EQ(tl.status, 0) << tl.output;
      EXPECT_EQ(check("labels", input, tl, "-1 @field"), labels) << what;
      // The legend: the file name, the key field's name and its values.
      const Conversion v = convert(input, "v.dxf", rel + " /V= /CF=0 /CC=2");
      ASSERT_EQ(v.status, 0) << v.output;
      EXPECT_EQ(check("legend", input, v, "0"), "title same\nlabels same\naudit 0\n") << what;
    }
  }
}

TEST_F(Annotation, ControlCharactersAndCaretsOfACommaDelimitedTableRoundTrip) {
  // A comma-delimited table keeps a NUL and a lone CR inside its values, and its header gives
  // the field names; the file's own name carries a CR and a caret.
  std::string table = "X,Y,NA\x01ME,CR\rNAME,CA^RET\n";
  table += "1.5,2.5,Lake\rBaikal,tab\there, ^ and ^M \n";
  using namespace std::string_literals;  // a NUL inside
  table += "10,20,nul\0inside,\x01\x02\x1b\x1f,plain\n"s;
  table += "30,40,,A\r  0\rEOF,caret^\n";
  const std::string input = (d / "c;t^\r.csv").string();
  test::write_file(input, table);
  for (const char* release : kReleases) {
    const std::string rel = std::string("/REL=") + release;
    const Conversion ab = convert(input, "ab.dxf", rel + " /AB=-1");
    const Conversion ae = convert(input, "ae.dxf", rel + " /AE=-1");
    const Conversion t = convert(input, "t.dxf", rel + " /T=-1");
    for (const Conversion* c : {&ab, &ae, &t}) ASSERT_EQ(c->status, 0) << c->output;
    EXPECT_EQ(check("csv", input, ab, test::quoted(ae.dxf) + " " + test::quoted(t.dxf)),
              "inserts same\nxdata same\ntexts same\naudit 0 0 0\n")
        << release;
  }
}

TEST_F(Annotation, ALakeNamedWithALineBreakKeepsItInEveryForm) {
  // Record 0 of the lakes is named "Lake" CR "Baikal" (field 3).
  const fs::path lakes = kData / "ne-2.0-wagner7" / "110m_physical" / "ne_110m_lakes.shp";
  if (!fs::exists(lakes)) GTEST_SKIP() << "test data missing: " << lakes;
  for (const char* release : kReleases) {
    const std::string rel = std::string("/REL=") + release;
    const Conversion ae = convert(lakes.string(), "ae.dxf", rel + " /AE=-1");
    ASSERT_EQ(ae.status, 0) << ae.output;
    EXPECT_EQ(check("xdata", lakes.string(), ae, "-1"), "xdata same\nappid yes\naudit 0\n")
        << release;
    const Conversion t = convert(lakes.string(), "t.dxf", rel + " /T=3");
    ASSERT_EQ(t.status, 0) << t.output;
    EXPECT_EQ(check("labels", lakes.string(), t, "3 TEXT"),
              "texts 25 same\nlayers same\nnear same\naudit 0\n")
        << release;
    const Conversion ab = convert(lakes.string(), "ab.dxf", rel + " /AB=-1");
    ASSERT_EQ(ab.status, 0) << ab.output;
    EXPECT_EQ(check("attribs", lakes.string(), ab, "-1"),
              "inserts same\nlayers same flags same\ninfo same\naudit 0\n")
        << release;
  }
}

// Main file and table together above this size are left out of the sweep below, to keep its
// run time under a minute on two cores.
constexpr std::uintmax_t kMaxSweepBytes = 300 * 1024;

bool point_or_polygon_type(int type) {
  for (const int t : {1, 8, 11, 18, 21, 28, 5, 15, 25, 31}) {
    if (type == t) return true;
  }
  return false;
}

struct SweepResult {
  fs::path input;
  int type = 0;
  std::string report;         // the checker's, when every conversion ran
  std::string failure;        // a conversion that failed although the input converts
  bool not_converted = false; // the input does not convert even without annotations
};

TEST_F(Annotation, EveryRealPointAndPolygonLayerRoundTripsItsValuesInBothReleases) {
  // Every point and polygon shapefile of the test data with a ".dbf" beside it.
  std::vector<fs::path> inputs;
  std::vector<std::string> too_large;
  for (const auto& entry : fs::recursive_directory_iterator(kData)) {
    const fs::path& p = entry.path();
    if (!entry.is_regular_file() || p.extension() != ".shp") continue;
    fs::path dbf = p;
    dbf.replace_extension(".dbf");
    if (!fs::exists(dbf)) dbf.replace_extension(".DBF");  // as files copied from other systems
    if (!fs::exists(dbf) || !point_or_polygon_type(test::shape_type_of(p))) continue;
    if (fs::file_size(p) + fs::file_size(dbf) > kMaxSweepBytes) {
      too_large.push_back(fs::relative(p, kData).string());
      continue;
    }
    inputs.push_back(p);
  }
  std::sort(inputs.begin(), inputs.end());
  ASSERT_GT(inputs.size(), 90u);

  // Two at a time, each with its own settings folder: /AB=-1, /AE=-1 and /T=0 in release 12
  // and 14, then one checker run over the six drawings.
  const char* const modes[] = {"/AB=-1", "/AE=-1", "/T=0"};
  std::vector<SweepResult> results(inputs.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&](int worker) {
    const std::string home = "home" + std::to_string(worker);
    for (std::size_t i = next++; i < inputs.size(); i = next++) {
      SweepResult& r = results[i];
      r.input = inputs[i];
      r.type = test::shape_type_of(r.input);
      std::string drawings;
      std::string failed;
      for (const char* release : kReleases) {
        for (const char* mode : modes) {
          const std::string name = "sweep" + std::to_string(i) + "-" + std::string(mode + 1, 2) +
                                   release + ".dxf";
          const Conversion c = convert(r.input.string(), name,
                                       std::string("/REL=") + release + " " + mode, home);
          if (c.status != 0 && failed.empty()) {
            failed = std::string(mode) + " R" + release + ": " + c.output;
          }
          drawings += " " + test::quoted(c.dxf);
        }
      }
      if (!failed.empty()) {
        const Conversion plain = convert(r.input.string(), "sweep" + std::to_string(i) + ".dxf",
                                         "/REL=12", home);
        if (plain.status != 0) {
          r.not_converted = true;
        } else {
          r.failure = failed;
        }
        continue;
      }
      r.report = test::capture("cd " + test::quoted(std::string(TSN_SOURCE_DIR) + "/tests/e2e") +
                               " && /usr/bin/python3 " + test::quoted(kChecker) + " roundtrip " +
                               test::quoted(r.input.string()) + " 0" + drawings + " 2>&1");
    }
  };
  std::thread second(work, 1);
  work(0);
  second.join();

  const std::string same = "attribs same, info same, xdata same, labels same, audit 0 0 0";
  // Triangle strips and fans of a multipatch carry no extended data: there only the lists
  // present are checked (rows of the drawn records, in order).
  const std::regex multipatch_xdata("xdata on [0-9]+ of [0-9]+");
  long drawn = 0;
  long rows = 0;
  std::vector<std::string> not_converted;
  for (const SweepResult& r : results) {
    const std::string name = fs::relative(r.input, kData).string();
    if (r.not_converted) {
      not_converted.push_back(name);
      continue;
    }
    EXPECT_EQ(r.failure, "") << name;
    if (!r.failure.empty()) continue;
    std::string report = r.report;
    if (r.type == 31) report = std::regex_replace(report, multipatch_xdata, "xdata same");
    const std::size_t end = report.find("\ndrawn ");
    EXPECT_EQ(report.substr(0, end + 1), "R12 " + same + "\nR14 " + same + "\n") << name;
    long d12 = -1, d14 = -1, n = -1;
    if (end != std::string::npos &&
        std::sscanf(report.c_str() + end, "\ndrawn %ld %ld of %ld", &d12, &d14, &n) == 3) {
      EXPECT_EQ(d12, d14) << name;  // the same records in both releases
      drawn += d12;
      rows += n;
    } else {
      ADD_FAILURE() << name << ": " << r.report;
    }
  }
  // The matching above accepts records left out; nearly every record of the corpus is drawn.
  EXPECT_GT(drawn, rows * 95 / 100) << drawn << " of " << rows;
  std::string skipped = "not converted even without annotations:";
  for (const std::string& n : not_converted) skipped += " " + n;
  skipped += "; above " + std::to_string(kMaxSweepBytes / 1024) + " KB:";
  for (const std::string& n : too_large) skipped += " " + n;
  RecordProperty("skipped", skipped);
  std::printf("%zu layers, %ld of %ld records drawn; %s\n", inputs.size(), drawn, rows,
              skipped.c_str());
  EXPECT_LT(not_converted.size(), 10u) << skipped;
}

}  // namespace
}  // namespace tsn
