// Layers by feature: a polygon file keyed by a text field puts each record's rings on the
// layer of its value (Unique Values) or of its class (Quantile, five classes), and the LAYER
// table lists exactly the class layers besides "0".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::quoted;

const fs::path kStates = fs::path(TSN_TESTDATA_DIR) / "shapelib-eg" / "mexico" / "states.shp";

std::string convert(const test::ScratchDir& d, const std::string& name, const std::string& args) {
  const std::string out = (d / name).string();
  const int status = test::exit_status("TESSARYN_HOME=" + quoted((d / "home").string()) + " " +
                                       TSN_BINARY + " " + quoted(kStates.string()) + " " +
                                       quoted(out) + " " + args + " >/dev/null 2>&1 </dev/null");
  return status == 0 ? out : std::string();
}

TEST(LayerKey, UniqueValuesOfATextFieldGiveOneLayerPerValue) {
  if (!fs::exists(kStates)) GTEST_SKIP() << "test data missing: " << kStates;
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  test::ScratchDir d;
  for (const char* release : {"12", "14"}) {
    const std::string out =
        convert(d, std::string("codes") + release + ".dxf",
                std::string("/REL=") + release + " /LF=1 /LC=2");  // CODE, Unique Values
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(test::capture("/usr/bin/python3 " +
                            quoted(std::string(TSN_SOURCE_DIR) + "/tests/e2e/layer_counts.py") +
                            " " + quoted(kStates.string()) + " CODE " + quoted(out) + " 2>&1"),
              "same\n")
        << release;
  }
}

TEST(LayerKey, QuantileOfATextFieldGivesFiveClassLayers) {
  if (!fs::exists(kStates)) GTEST_SKIP() << "test data missing: " << kStates;
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  test::ScratchDir d;
  const std::string out = convert(d, "names.dxf", "/REL=14 /LF=2 /LC=0 /L2=5");
  ASSERT_FALSE(out.empty());
  const std::string summary = test::capture(
      "/usr/bin/python3 -c \"import ezdxf,sys\n"
      "d=ezdxf.readfile(sys.argv[1]); m=d.modelspace()\n"
      "used=sorted({e.dxf.layer for e in m})\n"
      "table=sorted(l.dxf.name for l in d.layers if l.dxf.name != 'Defpoints')\n"
      "print(len(d.audit().errors), len(used), len(m), table==sorted(used+['0']))\" " +
      quoted(out) + " 2>&1");
  // 32 states with 44 rings in five class layers; the table holds them and "0" only (ezdxf
  // adds its own "Defpoints" when it reads a file).
  EXPECT_EQ(summary, "0 5 44 True\n");
}

}  // namespace
}  // namespace tsn
