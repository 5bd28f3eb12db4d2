// Tests of the path helpers: extensions, base names, directory parts and existence checks.
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/scratch_dir.h"

namespace tsn {
namespace {

TEST(PathParts, ExtensionBaseNameFileNameAndDirectory) {
  // The path, its extension, base name, file name and directory.
  const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
      {"a/roads.SHP", "SHP", "roads", "roads.SHP", "a/"},
      {"roads.tar.gz", "gz", "roads.tar", "roads.tar.gz", ""},
      {"a.b/c", "", "c", "c", "a.b/"},
      {"roads.", "", "roads", "roads.", ""},
      {"/roads.shp", "shp", "roads", "roads.shp", "/"},
      {"a/b/", "", "", "", "a/b/"},
      {"", "", "", "", ""},
  };
  for (const auto& [path, extension, base, file, directory] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(path_extension(path), extension);
    EXPECT_EQ(base_name(path), base);
    EXPECT_EQ(file_name(path), file);
    EXPECT_EQ(directory_of(path), directory);
  }
}

TEST(PathParts, ExtensionsCompareIgnoringCaseAndAreReplacedOrAdded) {
  EXPECT_TRUE(has_extension("data/Roads.SHP", "shp"));
  EXPECT_TRUE(has_extension("data/roads.shp", ".SHP"));
  EXPECT_FALSE(has_extension("data/roads.shpx", "shp"));
  EXPECT_FALSE(has_extension("data.shp/roads", "shp"));
  EXPECT_EQ(replace_extension("a/roads.shp", "def"), "a/roads.def");
  EXPECT_EQ(replace_extension("a.b/roads", "def"), "a.b/roads.def");
  EXPECT_EQ(replace_extension("roads.tar.gz", ".dxf"), "roads.tar.dxf");
  EXPECT_EQ(replace_extension("a/roads.shp", ""), "a/roads");
}

TEST(PathParts, TrailingSeparatorAndAsciiCaseBlindComparison) {
  EXPECT_EQ(with_trailing_separator("out"), "out/");
  EXPECT_EQ(with_trailing_separator("out/"), "out/");
  EXPECT_EQ(with_trailing_separator(""), "");
  EXPECT_TRUE(equal_ignoring_case("Roads.SHP", "roads.shp"));
  EXPECT_FALSE(equal_ignoring_case("roads", "road"));
  EXPECT_FALSE(equal_ignoring_case("a[", "A{"));  // '[' and '{' differ by the case bit
  EXPECT_FALSE(equal_ignoring_case("\xc3\x84", "\xc3\xa4"));
}

TEST(PathExistence, DistinguishesFilesDirectoriesAndNothing) {
  test::ScratchDir dir;
  test::write_file(dir / "f.shp", "x");
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_symlink("f.shp", dir / "link.shp");
  std::filesystem::create_symlink("gone.shp", dir / "dangling.shp");
  const auto at = [&](const char* name) { return (dir / name).string(); };

  EXPECT_TRUE(file_exists(at("f.shp")));
  EXPECT_TRUE(file_exists(at("link.shp")));
  EXPECT_FALSE(file_exists(at("sub")));
  EXPECT_FALSE(file_exists(at("missing.shp")));
  EXPECT_FALSE(file_exists(at("dangling.shp")));
  EXPECT_FALSE(file_exists(""));
  EXPECT_TRUE(is_directory(at("sub") + "/"));
  EXPECT_FALSE(is_directory(at("f.shp")));
  EXPECT_FALSE(is_directory(""));
}

TEST(PathExistence, CompanionFilesAreFoundWithTheirExtensionInAnyCase) {
  // Files present, the input, the companion's extension, the name expected.
  struct Case {
    std::vector<const char*> files;
    const char* input;
    const char* ext;
    const char* found;
  };
  const Case cases[] = {
      {{"senate.DBF"}, "senate.shp", "dbf", "senate.DBF"},
      {{"a.dbf", "a.DBF"}, "a.shp", "dbf", "a.dbf"},    // the input's own case first
      {{"a.dbf", "a.DBF"}, "a.SHP", "dbf", "a.DBF"},
      {{"a.dbf"}, "a.SHP", "dbf", "a.dbf"},
      {{"a.Dbf", "a.dBF"}, "a.shp", "dbf", "a.Dbf"},    // a mix: the first by name
      {{"t.Cpg"}, "t.csv", "cpg", "t.Cpg"},
      {{}, "a.shp", "shx", "a.shx"},                    // none: the name looked for
      {{}, "A.SHP", "shx", "A.shx"},
      {{"A.dbf", "a.dbf.bak", "ab.dbf"}, "a.shp", "dbf", "a.dbf"},  // the base name must match
      {{"x.y.Shx"}, "x.y.shp", "shx", "x.y.Shx"},
  };
  for (const Case& c : cases) {
    test::ScratchDir dir;
    for (const char* f : c.files) test::write_file(dir / f, "x");
    SCOPED_TRACE(std::string(c.input) + " " + c.ext);
    EXPECT_EQ(find_companion((dir / c.input).string(), c.ext), (dir / c.found).string());
  }
  // A directory of that name is no companion.
  test::ScratchDir dir;
  std::filesystem::create_directory(dir / "d.DBF");
  EXPECT_EQ(find_companion((dir / "d.shp").string(), "dbf"), (dir / "d.dbf").string());
}

}  // namespace
}  // namespace tsn
