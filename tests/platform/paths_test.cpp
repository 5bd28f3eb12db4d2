// Tests of the path helpers: extensions, base names, directory parts and existence checks.
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

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

}  // namespace
}  // namespace tsn
