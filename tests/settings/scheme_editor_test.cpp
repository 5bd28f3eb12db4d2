// The scheme editing session: the working copy, OK writing the schemes back without the
// removed ones, Cancel, and the working copy removed at exit unless tracing.
#include "settings/scheme_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/program_settings.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::read_file;
using test::ScratchDir;
using test::write_file;

constexpr const char* kColours =
    "[ColorSchemes]\nNumSchemes=3\n0=Warm\n1=Cold\n2=Grey\n"
    "[Warm]\nGrad=1\n0=10,20,30\n[Cold]\n0=150,170\n[Grey]\n0=250,251\n";

struct Session {
  ScratchDir dir;
  ConvSettings s;
  explicit Session(const std::string& settings = "") {
    write_file(dir / "colors.ini", kColours);
    if (!settings.empty()) write_file(dir / "tsn25.ini", settings);
    EXPECT_TRUE(load_program_settings(s, dir.path().string() + "/"));
  }
  std::filesystem::path ini() const { return dir / "colors.ini"; }
  std::filesystem::path copy() const { return dir / "colors.int"; }
};

TEST(SchemeEditor, WorkingCopyNameAndCleanUp) {
  EXPECT_EQ(scheme_working_copy("/x/colors.ini"), "/x/colors.int");
  EXPECT_EQ(scheme_working_copy(""), "");

  Session t;
  SchemeEditor editor(t.s);
  ASSERT_TRUE(editor.begin());
  ASSERT_TRUE(std::filesystem::exists(t.copy()));
  t.s.trace = 1;
  remove_scheme_working_copy(t.s);
  EXPECT_TRUE(std::filesystem::exists(t.copy()));  // kept for tracing
  t.s.trace = 0;
  remove_scheme_working_copy(t.s);
  EXPECT_FALSE(std::filesystem::exists(t.copy()));
}

TEST(SchemeEditor, EditsStayInTheWorkingCopyUntilOk) {
  Session t("[Tessaryn]\nDefaultColorSet=2\n");
  ASSERT_EQ(t.s.cur.DefaultColorSet, 2);
  SchemeEditor editor(t.s);
  ASSERT_TRUE(editor.begin());
  EXPECT_EQ(editor.colours(0).colours, (std::vector<std::uint8_t>{10, 20, 30}));
  EXPECT_TRUE(editor.colours(0).graded);

  ASSERT_TRUE(editor.store_colours(1, ColourList{{1, 2, 3, 4}, true}));
  ASSERT_TRUE(editor.remove_scheme(0));                   // Warm goes
  ASSERT_TRUE(editor.rename_scheme(0, "Ice"));            // Cold becomes Ice
  ASSERT_TRUE(editor.add_scheme("New", ColourList{{7}, false}));
  EXPECT_EQ(read_file(t.ini()), kColours);                // nothing written yet

  ASSERT_TRUE(editor.ok());
  const ProfileDocument doc = ProfileDocument::load(t.ini());
  EXPECT_EQ(doc.entries("ColorSchemes"),
            (std::vector<std::pair<std::string, std::string>>{
                {"NumSchemes", "3"}, {"0", "Ice"}, {"1", "Grey"}, {"2", "New"}}));
  EXPECT_FALSE(doc.has_section("Warm"));
  EXPECT_FALSE(doc.has_section("Cold"));
  Profile back;
  ASSERT_TRUE(back.select_file(t.ini()));
  EXPECT_EQ(read_colour_list(back, "Ice").colours, (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_TRUE(read_colour_list(back, "Ice").graded);
  EXPECT_EQ(read_colour_list(back, "New").colours, (std::vector<std::uint8_t>{7}));
  // Grey was scheme 2 and is scheme 1 now; its colours stay the ones in use.
  EXPECT_EQ(t.s.cur.DefaultColorSet, 1);
  EXPECT_EQ(t.s.prog.DefaultColorSet, 1);
  EXPECT_EQ(t.s.colour_list.colours, (std::vector<std::uint8_t>{250, 251}));
}

TEST(SchemeEditor, CancelReadsTheNamesAgain) {
  Session t;
  SchemeEditor editor(t.s);
  ASSERT_TRUE(editor.begin());
  ASSERT_TRUE(editor.remove_scheme(1));
  ASSERT_TRUE(editor.add_scheme("Extra", ColourList{{3}, false}));
  editor.cancel();
  EXPECT_EQ(t.s.scheme_names, (std::vector<std::string>{"Warm", "Cold", "Grey"}));
  EXPECT_EQ(read_file(t.ini()), kColours);
}

TEST(SchemeEditor, NamesThatWouldClashAreRefused) {
  Session t;
  SchemeEditor editor(t.s);
  ASSERT_TRUE(editor.begin());
  const std::vector<std::string> bad_names = {"",    "cold", " Pad", "a]b", "ColorSchemes",
                                              "AutoCAD Mapping", std::string(256, 'x')};
  for (const std::string& bad : bad_names) {
    EXPECT_FALSE(editor.add_scheme(bad, ColourList{{1}, false})) << bad;
  }
  EXPECT_TRUE(editor.rename_scheme(1, "COLD"));  // its own name in other case
  EXPECT_FALSE(editor.rename_scheme(1, "warm"));
  EXPECT_EQ(t.s.scheme_names, (std::vector<std::string>{"Warm", "COLD", "Grey"}));
  EXPECT_EQ(editor.colours(1).colours, (std::vector<std::uint8_t>{150, 170}));
}

TEST(SchemeEditor, ARenamedSchemeStaysInUse) {
  Session t("[Tessaryn]\nDefaultColorSet=1\n");
  SchemeEditor editor(t.s);
  ASSERT_TRUE(editor.begin());
  ASSERT_TRUE(editor.rename_scheme(1, "Ice"));
  ASSERT_TRUE(editor.remove_scheme(0));
  ASSERT_TRUE(editor.add_scheme("Cold", ColourList{{9}, false}));  // the old name, a new scheme
  ASSERT_TRUE(editor.ok());
  EXPECT_EQ(t.s.scheme_names, (std::vector<std::string>{"Ice", "Grey", "Cold"}));
  EXPECT_EQ(t.s.cur.DefaultColorSet, 0);
  EXPECT_EQ(t.s.prog.DefaultColorSet, 0);
  EXPECT_EQ(t.s.colour_list.colours, (std::vector<std::uint8_t>{150, 170}));
}

}  // namespace
}  // namespace tsn
