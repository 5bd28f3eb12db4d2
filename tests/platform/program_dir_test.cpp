// Tests of locating, creating and seeding the program directory.
#include "platform/program_dir.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>

#include "platform/default_files.h"
#include "platform/profile.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::read_file;
using test::ScratchDir;
using test::write_file;

// locate_program_directory() with TESSARYN_HOME, XDG_CONFIG_HOME and HOME as given (nullptr:
// unset); the variables are put back afterwards.
std::string locate_with(const char* tessaryn_home, const char* xdg_config_home, const char* home) {
  const char* names[] = {"TESSARYN_HOME", "XDG_CONFIG_HOME", "HOME"};
  const char* values[] = {tessaryn_home, xdg_config_home, home};
  const auto set = [](const char* name, const char* value) {
    return value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
  };
  std::optional<std::string> saved[3];
  for (int i = 0; i < 3; ++i) {
    if (const char* old = std::getenv(names[i])) saved[i] = old;
    set(names[i], values[i]);
  }
  std::string dir = locate_program_directory();
  for (int i = 0; i < 3; ++i) set(names[i], saved[i] ? saved[i]->c_str() : nullptr);
  return dir;
}

TEST(LocateProgramDirectory, TessarynHomeThenXdgConfigHomeThenHome) {
  // TESSARYN_HOME, XDG_CONFIG_HOME, HOME (nullptr: unset) and the directory.
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {"/srv/tsn", "/srv/config", "/srv/home", "/srv/tsn/"},
      {"/srv/tsn/", nullptr, nullptr, "/srv/tsn/"},
      {"relative/dir", nullptr, nullptr, "relative/dir/"},
      {nullptr, "/srv/config", "/srv/home", "/srv/config/tessaryn/"},
      {"", "/srv/config//", "/srv/home", "/srv/config/tessaryn/"},
      {nullptr, nullptr, "/srv/home/", "/srv/home/.config/tessaryn/"},
      {nullptr, "", "/srv/home", "/srv/home/.config/tessaryn/"},
      // A relative XDG_CONFIG_HOME is ignored.
      {nullptr, "config", "/srv/home", "/srv/home/.config/tessaryn/"},
      {nullptr, nullptr, "/", "/.config/tessaryn/"},
      {nullptr, "/", "/srv/home", "/tessaryn/"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& [tessaryn_home, xdg_config_home, home, expected] = cases[i];
    EXPECT_EQ(locate_with(tessaryn_home, xdg_config_home, home), expected) << "case " << i;
  }
  // Without HOME the account's home directory is used.
  const passwd* account = ::getpwuid(::getuid());
  ASSERT_NE(account, nullptr);
  const std::string home = account->pw_dir == std::string("/") ? "" : account->pw_dir;
  EXPECT_EQ(locate_with(nullptr, nullptr, nullptr), home + "/.config/tessaryn/");
}

TEST(CreateProgramDirectory, CreatesEveryMissingLevelAndFailsWhereAFileIsInTheWay) {
  ScratchDir dir;
  const std::string target = (dir / "a" / "b" / "tessaryn").string() + "/";
  const mode_t saved_umask = ::umask(0);  // with no umask, the mode asked for is the mode given
  const bool created = create_program_directory(target);
  ::umask(saved_umask);
  ASSERT_TRUE(created);
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 07777, mode_t{0755});
  write_file(target + "tsn25.ini", "[S]\n");
  EXPECT_TRUE(create_program_directory(target));
  EXPECT_EQ(read_file(target + "tsn25.ini"), "[S]\n");

  write_file(dir / "plain", "x");
  EXPECT_FALSE(create_program_directory((dir / "plain").string()));
  EXPECT_FALSE(create_program_directory((dir / "plain" / "below").string()));
  EXPECT_FALSE(create_program_directory(""));
}

TEST(SeedDefaultFiles, WritesTheBuiltInColourAndStyleFiles) {
  ScratchDir dir;
  ASSERT_TRUE(seed_default_files(dir.path().string() + "/"));
  EXPECT_EQ(dir.listing(), (std::set<std::string>{"colors.ini", "styles.ini"}));
  EXPECT_EQ(read_file(dir / "colors.ini"), ProfileDocument::parse(default_colors_ini()).text());
  EXPECT_EQ(read_file(dir / "styles.ini"), ProfileDocument::parse(default_styles_ini()).text());
}

TEST(SeedDefaultFiles, NeverReplacesAnExistingFileAndFailsWithoutTheDirectory) {
  ScratchDir dir;
  write_file(dir / "colors.ini", "[ColorSchemes]\nNumSchemes=1\n0=Mine\n");
  std::filesystem::create_symlink("elsewhere/styles.ini", dir / "styles.ini");
  ASSERT_TRUE(seed_default_files(dir.path().string()));
  EXPECT_EQ(read_file(dir / "colors.ini"), "[ColorSchemes]\nNumSchemes=1\n0=Mine\n");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "styles.ini"));
  EXPECT_EQ(dir.listing(), (std::set<std::string>{"colors.ini", "styles.ini"}));

  EXPECT_FALSE(seed_default_files((dir / "absent").string()));
  EXPECT_FALSE(std::filesystem::exists(dir / "absent"));
}

}  // namespace
}  // namespace tsn
