// Layers and colours by attribute on a real polygon layer: one layer per class with the class
// colours for a text field (Unique Values) and a numeric one (Quantile, five classes), checked
// against the input read independently; classes loaded from legend range files, with the
// records outside them reported; and the legend beside the map.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;


const fs::path kCountries =
    fs::path(TSN_TESTDATA_DIR) / "geopandas-ne" / "naturalearth_lowres.shp";
const std::string kScripts = std::string(TSN_SOURCE_DIR) + "/tests/e2e/";

struct Conversion {
  int status = -1;
  std::string output;  // what the converter printed
  std::string dxf;
};

Conversion convert(const test::ScratchDir& d, const std::string& name, const std::string& args) {
  Conversion r;
  r.dxf = (d / name).string();
  const std::string command = "TESSARYN_HOME=" + test::quoted((d / "home").string()) + " " +
                              TSN_BINARY + " " + test::quoted(kCountries.string()) + " " +
                              test::quoted(r.dxf) + " " + args + " 2>&1 </dev/null";
  r.output = test::capture(command);
  r.status = test::exit_status(command + " >/dev/null");
  return r;
}

std::string python(const std::string& script_and_args) {
  return test::capture("cd " + test::quoted(kScripts) + " && /usr/bin/python3 " + script_and_args +
                       " 2>&1");
}

class ClassColours : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kCountries)) GTEST_SKIP() << "test data missing: " << kCountries;
    if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  }
  test::ScratchDir d;
  std::string colours_file() const { return (d / "home" / "colors.ini").string(); }
};

TEST_F(ClassColours, TextFieldByUniqueValuesGivesColouredLayerPerValue) {
  for (const char* release : {"12", "14"}) {
    // continent (field 1) keys both layers and colours.
    const Conversion r = convert(d, std::string("continents") + release + ".dxf",
                          std::string("/REL=") + release + " /LF=1 /LC=2 /CF=1 /CC=2");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(python("class_check.py " + test::quoted(kCountries.string()) + " continent " +
                     test::quoted(r.dxf) + " " + test::quoted(colours_file())),
              "layers 8\nentities same\ncolours same\naudit 0\n")
        << release;
  }
}

TEST_F(ClassColours, NumericFieldByQuantileGivesFiveColouredClassLayers) {
  // gdp_md_est (field 4, integers): five classes of about 35 countries each.
  const Conversion r = convert(d, "gdp.dxf", "/REL=14 /LF=4 /LC=0 /L2=5 /CF=4 /CC=0 /C2=5");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(python("class_check.py " + test::quoted(kCountries.string()) + " gdp_md_est " +
                   test::quoted(r.dxf) + " " + test::quoted(colours_file()) + " numeric"),
            "layers 5\nentities same\ncolours same\naudit 0\n");
  // Shares of the records: no class is empty and none takes more than twice its share.
  const std::string shares = python(
      "-c " + test::quoted("import struct,sys\n"
                     "from layer_counts import field_values\n"
                     "import ezdxf\n"
                     "d=ezdxf.readfile(sys.argv[1])\n"
                     "names=[l.dxf.name for l in d.layers if l.dxf.name not in ('0','Defpoints')]\n"
                     "hi=[float(n.split('-')[-1]) for n in names]\n"
                     "v=[float(x) for x in field_values(sys.argv[2],'gdp_md_est')]\n"
                     "c=[sum(1 for x in v if (i==0 or x>hi[i-1]) and x<=hi[i]) for i in range(5)]\n"
                     "print(sum(c), min(c)>0, max(c)<=2*len(v)/5)") +
      " " + test::quoted(r.dxf) + " " + test::quoted(fs::path(kCountries).replace_extension(".dbf").string()));
  EXPECT_EQ(shares, "177 True True\n");
}

// Records per value outside the ranges below, counted from the table here.
std::string outside_counts() {
  return python(
      "-c " + test::quoted("import sys\n"
                     "from layer_counts import field_values\n"
                     "c=field_values(sys.argv[1],'continent')\n"
                     "g=[int(x) for x in field_values(sys.argv[1],'gdp_md_est')]\n"
                     "print(sum(1 for x in c if not ('Africa'<=x<='Asia' or x=='Europe')),\n"
                     "      sum(1 for x in g if x>300000))") +
      " " + test::quoted(fs::path(kCountries).replace_extension(".dbf").string()));
}

TEST_F(ClassColours, LegendRangeFilesReplaceTheClassesAndOutsideRecordsAreReported) {
  // Layers for Africa..Asia and Europe only; colours for GDP up to 100000 and 200000-300000.
  test::write_file(d / "continents.lgd",
                   "[Tessaryn]\nVersion=244\nLayersKey=continent\n"
                   "[RangesLayer]\nNum=2\nClass=2\nNumType=0\nlo0=Africa\nhi0=Asia\n"
                   "lo1=Europe\nhi1=Europe\n[RangesLayerLabels]\nL0=Old World\nL1=Europe\n");
  test::write_file(d / "gdp.lgd",
                   "[Tessaryn]\nVersion=244\nColoursKey=gdp_md_est\n"
                   "[RangesColor]\nNum=2\nClass=1\nNumType=2\nlo0=0\nhi0=100000\n"
                   "lo1=200000\nhi1=300000\n[RangesColorLabels]\nL0=small\nL1=large\n");
  const Conversion r = convert(d, "ranges.dxf",
                        "/REL=14 /LF=1 /LGL=" + (d / "continents.lgd").string() + " /CF=4 /LGC=" +
                            (d / "gdp.lgd").string());
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string counts = outside_counts();  // "layer-outside colour-outside"
  const std::string layer_out = counts.substr(0, counts.find(' '));
  const std::string colour_out = counts.substr(counts.find(' ') + 1, counts.size() - counts.find(' ') - 2);
  ASSERT_NE(layer_out, "0");
  ASSERT_NE(colour_out, "0");
  EXPECT_NE(r.output.find("Skipped " + layer_out +
                          " records due to field values being outside\nranges specified in the "
                          "Layers dialog"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("Skipped " + colour_out +
                          " records due to field values being outside\nranges specified in the "
                          "Colors dialog"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("Records skipped because not in specified ranges, or empty, or "
                          "invalid = "),
            std::string::npos);
  // Only the two loaded layers exist and hold entities.
  EXPECT_EQ(python("-c " + test::quoted("import ezdxf,sys\n"
                                  "d=ezdxf.readfile(sys.argv[1])\n"
                                  "print(sorted({e.dxf.layer for e in d.modelspace()}),\n"
                                  "      sorted(l.dxf.name for l in d.layers))") +
                   " " + test::quoted(r.dxf)),
            "['EUROPE', 'OLD_WORLD'] ['0', 'Defpoints', 'EUROPE', 'OLD_WORLD']\n");

  // A numeric legend for a text key is refused with a message; nothing is written.
  const Conversion wrong = convert(d, "wrong.dxf", "/REL=14 /LF=1 /LGL=" + (d / "gdp.lgd").string());
  EXPECT_NE(wrong.status, 0);
  EXPECT_NE(wrong.output.find("key field holds text"), std::string::npos) << wrong.output;
  EXPECT_FALSE(fs::exists(d / "wrong.dxf"));
  const Conversion missing = convert(d, "missing.dxf", "/LF=1 /LGL=" + (d / "none.lgd").string());
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.output.find("none.lgd"), std::string::npos) << missing.output;
}

TEST_F(ClassColours, LegendListsEveryColourClassBesideTheMap) {
  const Conversion r = convert(d, "legend.dxf", "/REL=12 /LF=1 /LC=2 /CF=1 /CC=2 /V=");
  ASSERT_EQ(r.status, 0) << r.output;
  // Title, key name, then per class a swatch in its colour and its label, left of the map.
  EXPECT_EQ(python("-c " + test::quoted("import ezdxf,sys\n"
                                  "d=ezdxf.readfile(sys.argv[1])\n"
                                  "leg=d.modelspace().query('*[layer==\"LEGEND\"]')\n"
                                  "t=[e.dxf.text for e in leg if e.dxftype()=='TEXT']\n"
                                  "i=[e for e in leg if e.dxftype()=='INSERT']\n"
                                  "colour={l.dxf.name:l.dxf.color for l in d.layers}\n"
                                  "print(t[:3], len(t), len(i), all(e.dxf.insert.x < -180 for e in leg),\n"
                                  "      [e.dxf.color for e in i]==[colour[n] for n in\n"
                                  "      ['AFRICA','ANTARCTICA','ASIA','EUROPE','NORTH_AMERICA','OCEANIA',\n"
                                  "       'SEVEN_SEAS_OPEN_OCEAN','SOUTH_AMERICA']])") +
                   " " + test::quoted(r.dxf)),
            "['naturalearth_lowres.shp', 'continent', 'Africa'] 10 8 True True\n");
}

}  // namespace
}  // namespace tsn
