// Writing the text styles back: a list that could not be read back as written is refused with
// the file untouched; a good one replaces section Styles alone and is in use at once.
#include "settings/text_styles.h"

#include <gtest/gtest.h>

#include "platform/profile.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using Styles = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kFile = "[Styles]\nSTANDARD=txt\nOLD=old\n[Other]\nkeep=1\n";

TEST(TextStyles, ListsThatCannotBeReadBackAreRefused) {
  Styles too_many;
  for (int i = 0; i <= kMaxTextStyles; ++i) too_many.emplace_back("S" + std::to_string(i), "txt");
  const std::vector<Styles> refused = {
      {},
      too_many,
      {{"a=b", "txt"}},
      {{"[x", "txt"}},
      {{";x", "txt"}},
      {{" x", "txt"}},
      {{"x\ny", "txt"}},
      {{"Same", "txt"}, {"SAME", "romans"}},
      {{"x", ""}},
      {{"x", "a\nb"}},
      {{"x", " txt"}},
  };
  for (const Styles& styles : refused) {
    test::ScratchDir d;
    test::write_file(d / "styles.ini", kFile);
    ConvSettings s;
    s.styles_file = (d / "styles.ini").string();
    load_text_styles(s);
    EXPECT_FALSE(save_text_styles(s, styles)) << styles.size();
    EXPECT_EQ(test::read_file(d / "styles.ini"), kFile);
    EXPECT_EQ(s.text_styles.size(), 2u);
  }
}

TEST(TextStyles, SavedListReplacesTheSectionAndIsInUse) {
  test::ScratchDir d;
  test::write_file(d / "styles.ini", kFile);
  ConvSettings s;
  s.styles_file = (d / "styles.ini").string();
  load_text_styles(s);
  s.cur.TextLabelsStyle = "OLD";
  s.cur.MarkerStyle = "arial";
  const Styles styles = {{"ROMANS", "romans"}, {"Arial", "arial.ttf"}, {"STANDARD", "txt"}};
  ASSERT_TRUE(save_text_styles(s, styles));
  const ProfileDocument doc = ProfileDocument::load(d / "styles.ini");
  EXPECT_EQ(doc.entries("Styles"), styles);
  EXPECT_EQ(doc.get("Other", "keep"), std::optional<std::string>("1"));
  EXPECT_EQ(s.text_styles, styles);
  EXPECT_EQ(s.cur.TextLabelsStyle, "ROMANS");  // gone: the first style
  EXPECT_EQ(s.label_style, 0);
  EXPECT_EQ(s.marker_style, 1);

  // A file that cannot be written leaves the styles in use as they were.
  s.styles_file = (d / "missing" / "styles.ini").string();
  EXPECT_FALSE(save_text_styles(s, {{"ONLY", "txt"}}));
  EXPECT_EQ(s.text_styles, styles);
}

}  // namespace
}  // namespace tsn
