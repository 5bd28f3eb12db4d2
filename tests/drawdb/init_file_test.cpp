// The initialisation file: hostile and malformed files refused with their error number, a
// user's adjusted defaults reaching a new drawing.
#include <gtest/gtest.h>

#include "dxf_reading.h"
#include "sample_drawing.h"

namespace tsn::test {
namespace {

TEST(InitFile, MissingOrMalformedFilesMakeInitialisationFail) {
  const std::string dashes13 = "[linetypes]\nD=d|1,1,1,1,1,1,1,1,1,1,1,1,1\n";
  std::string many_linetypes = "[linetypes]\n";
  for (int i = 0; i < 65; ++i) many_linetypes += "L" + std::to_string(i) + "=x\n";
  struct Case {
    const char* what;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"too large", "[header]\n" + std::string(kInitMaxBytes, ';')},
      {"NUL byte", std::string("[header]\n$LTSCALE=1\0", 20)},
      {"line too long", "[header]\n;" + std::string(300, 'x') + "\n"},
      {"unknown section", "[colours]\n"},
      {"unclosed section", "[header\n"},
      {"outside a section", "$LTSCALE=1\n"},
      {"unknown variable", "[header]\n$NOSUCH=1\n"},
      {"written by the save", "[header]\n$HANDSEED=FFFF\n"},
      {"not a number", "[header]\n$LTSCALE=abc\n"},
      {"not finite", "[header]\n$LTSCALE=1e999\n"},
      {"trailing text", "[header]\n$PDMODE=3x\n"},
      {"point too short", "[header]\n$EXTMIN=1,2\n"},
      {"point too long", "[header]\n$LIMMIN=1,2,3\n"},
      {"no equals sign", "[header]\n$LTSCALE\n"},
      {"too many dashes", dashes13},
      {"bad dash", "[linetypes]\nD=d|1,,2\n"},
      {"too many linetypes", many_linetypes},
      {"linetype twice", "[linetypes]\nA=x\na=y\n"},
      {"empty style name", "[style]\nname=\n"},
      {"zero width", "[style]\nwidth=0\n"},
      {"negative height", "[style]\nheight=-1\n"},
      {"unknown style key", "[style]\ncolour=1\n"},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    const auto path = dir / "adinit2k.dat";
    write_file(path, c.text);
    int error = 0;
    EXPECT_EQ(db_init(path.string(), 0, &error), 0) << c.what;
    EXPECT_EQ(error, 3) << c.what;
    EXPECT_EQ(db_last_error(), 3) << c.what;
    EXPECT_EQ(db_new_drawing(7), nullptr) << c.what;  // nothing was initialised
  }
  int error = 0;
  EXPECT_EQ(db_init((dir / "absent.dat").string(), 0, &error), 0);
  EXPECT_EQ(error, 2);
  std::filesystem::create_directory(dir / "folder.dat");
  EXPECT_EQ(db_init((dir / "folder.dat").string(), 0, &error), 0);
  EXPECT_EQ(error, 2);
  EXPECT_EQ(db_error_text(2), "Initialisation file cannot be read");
}

TEST(InitFile, AdjustedDefaultsReachTheDrawing) {
  ScratchDir dir;
  std::string text(default_init_text());
  text += "[header]\r\n$LTSCALE=2.5\r\n$LIMMAX=100,50\r\n[linetypes]\nHIDDEN=Hidden|0.25,-0.125\n";
  write_file(dir / "adinit2k.dat", text);
  int error = -1;
  ASSERT_NE(db_init((dir / "adinit2k.dat").string(), 0, &error), 0);
  Drawing* d = db_new_drawing(7);
  ASSERT_NE(d, nullptr);
  DbHeader h;
  ASSERT_NE(db_get_header(d, h), 0);
  EXPECT_EQ(h.ltscale, 2.5);
  EXPECT_EQ(h.limmax[0], 100.0);
  EXPECT_EQ(h.limmax[1], 50.0);
  ASSERT_NE(adSaveFile(d, (dir / "d.dxf").string(), 1, 7, 4, 0), 0);
  const auto groups = dxf_groups(read_file(dir / "d.dxf"));
  std::string linetypes;
  for (std::size_t i = 1; i < groups.size(); ++i) {
    if (groups[i].code == 2 && groups[i - 1].value == "AcDbLinetypeTableRecord") {
      linetypes += groups[i].value + " ";
    }
  }
  EXPECT_EQ(linetypes, "BYBLOCK BYLAYER CONTINUOUS DASHED HIDDEN ");
  db_shutdown();
}

}  // namespace
}  // namespace tsn::test
