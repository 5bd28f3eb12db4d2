// Text of tables in other encodings arrives in the drawing as it was typed: real tables with a
// .cpg or a language byte, the same names in two encodings, invalid bytes, and the /ENC switch.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::capture;
using test::quoted;

const fs::path kData = TSN_TESTDATA_DIR;
const std::string kTexts = std::string(TSN_SOURCE_DIR) + "/tests/e2e/drawing_texts.py";

struct Outcome {
  std::string out;
  int status = -1;
  std::set<std::string> texts;  // every text of the drawing, as ezdxf shows it
};

Outcome convert(const test::ScratchDir& d, const std::string& args, const fs::path& dxf) {
  Outcome r;
  r.out = capture("TESSARYN_HOME=" + quoted((d / "home").string()) + " " + TSN_BINARY + " " +
                  args + " " + quoted(dxf.string()) + " 2>&1; echo \"status=$?\"");
  const std::size_t at = r.out.rfind("status=");
  if (at != std::string::npos) r.status = std::stoi(r.out.substr(at + 7));
  if (r.status != 0) return r;
  std::istringstream lines(capture("/usr/bin/python3 " + kTexts + " " + quoted(dxf.string())));
  for (std::string line; std::getline(lines, line);) r.texts.insert(line);
  return r;
}

TEST(TextEncodingE2e, RealTablesInTheirEncodingsReadBackAsTyped) {
  if (!test::have_ezdxf()) GTEST_SKIP() << "ezdxf is not installed";
  struct Case {
    const char* input;
    const char* switches;
    const char* text;  // a value the drawing must show
  };
  const Case cases[] = {
      {"ne-4.1-geographic/ne_110m_admin_0_countries.shp", "/T=17", "Côte d'Ivoire"},  // .cpg UTF-8
      {"geopandas-ne/naturalearth_lowres.shp", "/T=2", "Côte d'Ivoire"},  // .cpg ISO-8859-1
      {"fiona/gre.shp", "/AB=-1", "Гренада"},                          // UTF-8, not in 1252
      {"nts-shapefile/chinese_encoding.shp", "/AE=-1", "天长市"},       // language byte GBK
      {"shapefile-rs/file_cp936.shp", "/AB=-1", "测试中文"},            // .cpg "936"
      {"nts-shapefile/arcmap/fields_utf8.shp", "/AB=-1 /REL=14", "ĄąĆćĄąĆćĄą"},  // .CPG
      {"shapefile-js/codepage.shp", "/T=-1", "Hněvošický háj"},        // .cpg "ANSI 1250"
      {"ne-2.0-wagner7/110m_cultural/ne_110m_populated_places.shp", "/T=5", "København"},  // language byte 1252: as before
  };
  test::ScratchDir d;
  for (const Case& c : cases) {
    const Outcome r = convert(d, std::string(c.switches) + " " + quoted((kData / c.input).string()),
                              d / "out.dxf");
    ASSERT_EQ(r.status, 0) << c.input << "\n" << r.out;
    EXPECT_EQ(r.texts.count(c.text), 1u) << c.input << " lacks " << c.text;
    EXPECT_EQ(r.out.find("U+FFFD"), std::string::npos) << r.out;
  }
  // The same countries written in two encodings carry the same names.
  const Outcome utf8 = convert(
      d, "/T=17 " + quoted((kData / cases[0].input).string()), d / "utf8.dxf");
  const Outcome latin1 = convert(
      d, "/T=2 " + quoted((kData / cases[1].input).string()), d / "latin1.dxf");
  std::set<std::string> only;
  for (const std::string& t : utf8.texts) {
    if (latin1.texts.count(t) == 0) only.insert(t);
  }
  for (const std::string& t : latin1.texts) {
    if (utf8.texts.count(t) == 0) only.insert(t);
  }
  // The two releases of the data differ by one renamed country, not by any encoding.
  EXPECT_EQ(only, (std::set<std::string>{"Macedonia", "North Macedonia"}));
}

TEST(TextEncodingE2e, InvalidBytesUnknownCodePagesAndTheEncodingSwitch) {
  if (!test::have_ezdxf()) GTEST_SKIP() << "ezdxf is not installed";
  test::ScratchDir d;
  // UTF-8 with a byte-order mark, one value cut inside a character and one stray byte.
  test::write_file(d / "towns.csv",
                   "\xEF\xBB\xBFname,lon,lat\nZ\xC3\xBCrich,1,2\nKrak\xC3,3,4\n\xFF" "Oslo,5,6\n");
  const Outcome cut = convert(d, "/T=0 " + quoted((d / "towns.csv").string()), d / "t.dxf");
  ASSERT_EQ(cut.status, 0) << cut.out;
  EXPECT_EQ(cut.texts, (std::set<std::string>{"Zürich", "Krak\uFFFD", "\uFFFDOslo"}));
  EXPECT_NE(cut.out.find("2 values of " + (d / "towns.csv").string() +
                         " held bytes that are not valid text"),
            std::string::npos)
      << cut.out;

  // Layers by a key of names the code page lacks: one per name, the value not cut at its
  // field's width (release 12 names are cut at 31 characters, so these differ early).
  test::write_file(d / "cities.csv",
                   "name,lon,lat\n\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1,1,1\n"
                   "\xCE\x91\xCE\xAF\xCE\xB3\xCE\xB9\xCE\xBD\xCE\xB1,2,2\n"
                   "\xD0\x91\xD0\xB5\xD1\x80\xD0\xBB\xD0\xB8\xD0\xBD,3,3\n");
  const Outcome keyed =
      convert(d, "/LF=0 /LC=2 /T=0 " + quoted((d / "cities.csv").string()), d / "k.dxf");
  ASSERT_EQ(keyed.status, 0) << keyed.out;
  EXPECT_EQ(keyed.texts, (std::set<std::string>{"Αθήνα", "Αίγινα", "Берлин"}));
  std::set<std::string> layers;
  std::istringstream dxf(test::read_file(d / "k.dxf"));
  for (std::string line, prev; std::getline(dxf, line); prev = line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (prev.find_first_not_of(' ') != std::string::npos &&
        prev.substr(prev.find_first_not_of(' ')) == "8" && line != "0") {
      layers.insert(line);
    }
  }
  EXPECT_EQ(layers.size(), 4u) << keyed.out;  // the three names and the labels' layer
  EXPECT_EQ(layers.count("TEXT"), 1u);

  // A .cpg holding an HTML page is said and ignored; the bytes are taken as they are.
  const Outcome html = convert(
      d, "/T=-1 " + quoted((kData / "shapefile-js/htmlcpg.shp").string()), d / "h.dxf");
  EXPECT_EQ(html.status, 0) << html.out;
  EXPECT_NE(html.out.find("htmlcpg.cpg names no encoding known here"), std::string::npos)
      << html.out;
  // /ENC overrides what the files say; a name no converter knows stops the command.
  const Outcome forced = convert(
      d, "/ENC=UTF-8 /T=-1 " + quoted((kData / "shapefile-js/htmlcpg.shp").string()),
      d / "f.dxf");
  EXPECT_EQ(forced.texts.count("Hněvošický háj"), 1u) << forced.out;
  const Outcome unknown = convert(
      d, "/ENC=klingon " + quoted((kData / "shapefile-js/codepage.shp").string()), d / "u.dxf");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.out.find("the encoding klingon is not known"), std::string::npos)
      << unknown.out;
}

}  // namespace
}  // namespace tsn
