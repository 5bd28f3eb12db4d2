// Tests of initialisation-file reading, in-place editing, atomic saving and the profile state.
#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <climits>
#include <csignal>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::read_file;
using test::ScratchDir;
using test::write_file;
using Entries = std::vector<std::pair<std::string, std::string>>;
using Names = std::set<std::string>;

mode_t mode_of(const std::filesystem::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// A profile on a fresh file with the given contents, its section already chosen.
Profile profile_on(const std::filesystem::path& file, const std::string& contents,
                   std::string_view section) {
  write_file(file, contents);
  Profile profile;
  profile.select_file(file);
  profile.select_section(section);
  return profile;
}

TEST(ProfileDocumentRead, NamesMatchIgnoringCaseAndTheFirstOfANameWins) {
  const auto doc = ProfileDocument::parse(
      "[Tessaryn]\nDecPlaces=3\nDECPLACES=4\n[B]\nk=other\n[tessaryn]\nk=later\n");
  EXPECT_EQ(doc.get("TESSARYN", "decplaces"), "3");
  EXPECT_EQ(doc.get(" tessaryn ", " DecPlaces "), "3");
  EXPECT_EQ(doc.get("B", "K"), "other");
  // A key found only in a later section of the same name is not seen.
  EXPECT_EQ(doc.get("Tessaryn", "k"), std::nullopt);
  EXPECT_EQ(doc.get("C", "k"), std::nullopt);
  EXPECT_TRUE(doc.has_section("b"));
  EXPECT_FALSE(doc.has_section("Tessary"));
  EXPECT_EQ(doc.entries("TESSARYN"), (Entries{{"DecPlaces", "3"}, {"DECPLACES", "4"}}));
}

TEST(ProfileDocumentRead, ValuesLoseBlanksAndOnePairOfMatchingQuotes) {
  const std::pair<const char*, const char*> cases[] = {
      {" \tk \t=\t value with  inner blanks \t", "value with  inner blanks"},
      {"k=\"quoted\"", "quoted"},
      {"k='quoted'", "quoted"},
      {"k=\"quoted'", "\"quoted'"},
      {"k=\"\"inner\"\"", "\"inner\""},
      {"k=\"  kept  \"", "  kept  "},
      {"k=\"", "\""},
      {"k=''", ""},
      {"k=a=b", "a=b"},
  };
  for (const auto& [line, value] : cases) {
    SCOPED_TRACE(line);
    EXPECT_EQ(ProfileDocument::parse(std::string("  [ S \t]\n") + line).get("s", "K"), value);
  }
}

TEST(ProfileDocumentRead, CrlfCommentsAndMalformedLines) {
  const auto doc = ProfileDocument::parse(
      "[S] ; a note\r\n"
      "; hidden=1\r\n"
      "no equals sign\r\n"
      "[not a header=2\r\n"
      "quoted=\"v\"\r\n"
      "real=3");
  EXPECT_EQ(doc.get("S", "hidden"), std::nullopt);
  // The unclosed bracket neither opens a section nor ends the one before it.
  EXPECT_FALSE(doc.has_section("not a header=2"));
  EXPECT_EQ(doc.entries("S"), (Entries{{"quoted", "v"}, {"real", "3"}}));
  EXPECT_EQ(doc.text(),
            "[S] ; a note\n; hidden=1\nno equals sign\n[not a header=2\nquoted=\"v\"\nreal=3\n");
}

TEST(ProfileDocumentRead, AStrayCarriageReturnEndsAValueAsWritingWould) {
  // What is read must be what set() would write back: values are one line.
  auto doc = ProfileDocument::parse("[S]\nk=\r\r0\r.5\nm=a\rb\n");
  EXPECT_EQ(doc.get("S", "k"), "");
  EXPECT_EQ(doc.get("S", "m"), "a");
  doc.set("S", "m", *doc.get("S", "m"));
  EXPECT_EQ(ProfileDocument::parse(doc.text()).get("S", "m"), "a");
}

TEST(ProfileDocumentEdit, SetReplacesInPlaceAddsAfterTheLastNonBlankLineOrAppendsASection) {
  auto doc = ProfileDocument::parse("[S]\n Key = old ; not a comment\nkey=2\n; note\n\n[T]\nx=1");
  doc.set("s", "KEY", "new");
  doc.set("S", "added", "1");
  doc.set("T", "y", "2");
  doc.set("New", "k", "v");
  EXPECT_EQ(doc.text(), "[S]\nKEY=new\nkey=2\n; note\nadded=1\n\n[T]\nx=1\ny=2\n\n[New]\nk=v\n");
  auto blank_end = ProfileDocument::parse("[A]\n\n");
  blank_end.set("New", "k", "v");
  EXPECT_EQ(blank_end.text(), "[A]\n\n[New]\nk=v\n");
  auto empty = ProfileDocument::parse("");
  empty.set("New", "k", "v");
  EXPECT_EQ(empty.text(), "[New]\nk=v\n");
}

TEST(ProfileDocumentEdit, EditsKeepEveryOtherLineVerbatim) {
  auto doc = ProfileDocument::parse(
      "# exported\r\n; comment with = sign\r\n\r\n[Tessaryn]\r\n"
      "\tUnknownKey =  \"spaced\"  \r\nDecPlaces=2\r\nfree text line\r\nOld=1\r\n; old=note\r\n"
      "OLD=2\r\n[Network]\r\nPath=/data\r\n\r\n[Tail]\r\nz=9\r\n[network]\r\nx=1\r\n");
  doc.set("tessaryn", "decplaces", "4");
  doc.set("Tessaryn", "NewKey", "x");
  doc.erase_key("TESSARYN", "old");
  doc.erase_section("NETWORK");
  doc.erase_section("absent");
  EXPECT_EQ(doc.text(),
            "# exported\n; comment with = sign\n\n[Tessaryn]\n\tUnknownKey =  \"spaced\"  \n"
            "decplaces=4\nfree text line\n; old=note\nNewKey=x\n[Tail]\nz=9\n");
}

TEST(ProfileDocumentEdit, WrittenNamesAndValuesEndAtTheFirstLineBreak) {
  auto doc = ProfileDocument::parse("[S]\n");
  doc.set("S", "k", "safe\n[Evil]\nx=1");
  doc.set("S", "cr", "a\rb");
  doc.set("T\nU", "k\nj", "v");
  EXPECT_EQ(doc.text(), "[S]\nk=safe\ncr=a\n\n[T]\nk=v\n");
}

TEST(ProfileDocumentFile, SaveWritesTheTextKeepingPermissionsAndSymbolicLinks) {
  ScratchDir dir;
  EXPECT_EQ(ProfileDocument::load(dir / "absent.ini").text(), "");
  EXPECT_EQ(ProfileDocument::load(dir.path()).text(), "");
  write_file(dir / "private.ini", "[S]\n");
  ::chmod((dir / "private.ini").c_str(), 0600);
  auto doc = ProfileDocument::parse("; c\r\n[S]\r\nk=v\r\n");
  doc.set("S", "n", "1");
  ASSERT_TRUE(doc.save(dir / "private.ini"));
  EXPECT_EQ(read_file(dir / "private.ini"), "; c\n[S]\nk=v\nn=1\n");
  EXPECT_EQ(ProfileDocument::load(dir / "private.ini").get("s", "N"), "1");
  EXPECT_EQ(mode_of(dir / "private.ini"), mode_t{0600});
  EXPECT_EQ(dir.listing(), Names{"private.ini"});

  const mode_t saved_umask = ::umask(022);
  const bool created = ProfileDocument::parse("[S]\n").save(dir / "new.ini");
  ::umask(saved_umask);
  ASSERT_TRUE(created);
  EXPECT_EQ(mode_of(dir / "new.ini"), mode_t{0644});

  std::filesystem::create_directory(dir / "dotfiles");
  write_file(dir / "dotfiles" / "real.ini", "[S]\nk=old\n");
  std::filesystem::create_symlink("dotfiles/real.ini", dir / "link.ini");
  ASSERT_TRUE(ProfileDocument::parse("[S]\nk=new\n").save(dir / "link.ini"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
  EXPECT_EQ(read_file(dir / "dotfiles" / "real.ini"), "[S]\nk=new\n");
}

TEST(ProfileRead, IntegersTakeTheLeadingDecimalNumberWrappedTo32Bits) {
  const std::pair<const char*, int> cases[] = {
      {"-1", -1}, {"12abc", 12}, {"abc", 0}, {"", 9}, {"\"  +7\"", 7}, {"0x10", 0}, {"- 5", 0},
      {"4294967295", -1}, {"4294967296", 0}, {"2147483648", INT_MIN},
      // strtol saturates at the 64-bit limits; their low 32 bits are what remains.
      {"99999999999999999999", -1}, {"-99999999999999999999", 0},
  };
  ScratchDir dir;
  for (const auto& [value, expected] : cases) {
    SCOPED_TRACE(value);
    const auto profile = profile_on(dir / "p.ini", std::string("[N]\nk=") + value + "\n", "n");
    EXPECT_EQ(profile.read_int("K", 9), expected);
    EXPECT_EQ(profile.read_uint("k", 9), static_cast<std::uint32_t>(expected));
  }
  const auto profile = profile_on(dir / "p.ini", "[N]\n", "N");
  EXPECT_EQ(profile.read_int("missing", 9), 9);
  EXPECT_EQ(profile.read_uint("missing", 3000000000u), 3000000000u);
}

TEST(ProfileRead, RealsParseLikeScanfOrGiveTheDefault) {
  const std::pair<const char*, double> cases[] = {
      {"1e-10", 1e-10}, {"  -2.5", -2.5}, {"+3.25", 3.25}, {".5", 0.5},  {"12.5abc", 12.5},
      {"7", 7.0},       {"abc", 4.0},     {"", 4.0},       {"+-1", 4.0}, {"1e999", 4.0},
  };
  ScratchDir dir;
  for (const auto& [value, expected] : cases) {
    SCOPED_TRACE(value);
    const auto profile = profile_on(dir / "r.ini", std::string("[R]\nk=") + value + "\n", "R");
    EXPECT_DOUBLE_EQ(profile.read_real("k", 4.0), expected);
  }
  EXPECT_DOUBLE_EQ(profile_on(dir / "r.ini", "", "R").read_real("k", 4.0), 4.0);
}

TEST(ProfileRead, RealsAreWrittenWithSixDecimalsAndNeverANegativeZero) {
  const std::pair<double, const char*> cases[] = {
      {0.0, "0.000000"},    {-0.0, "0.000000"},      {-1e-9, "0.000000"}, {-1e-6, "-0.000001"},
      {-2.25, "-2.250000"}, {2.0 / 3.0, "0.666667"}, {1e20, "100000000000000000000.000000"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(format_profile_real(value), text) << value;
}

TEST(ProfileRead, StringsAreCutToTheMaximumAndSectionReadsUseTheCurrentSection) {
  ScratchDir dir;
  auto profile = profile_on(dir / "s.ini", "[A]\nx=1\n[Styles]\nname=abcdef\nempty=\n", "styles");
  EXPECT_EQ(profile.read_string("name", "def", 6), "abcdef");
  EXPECT_EQ(profile.read_string("name", "def", 5), "abcde");
  EXPECT_EQ(profile.read_string("name", "def", 0), "");
  // An empty value is a value: the default is only for a missing key.
  EXPECT_EQ(profile.read_string("empty", "def", 80), "");
  EXPECT_EQ(profile.read_string("missing", "default", 4), "defa");
  EXPECT_EQ(profile.read_section(), (Entries{{"name", "abcdef"}, {"empty", ""}}));
  EXPECT_TRUE(profile.has_key("NAME"));
  EXPECT_FALSE(profile.has_key("x"));
  profile.select_section("a");
  EXPECT_TRUE(profile.has_key("X"));
}

TEST(ProfileWrite, WritesStayInMemoryUntilFlushed) {
  ScratchDir dir;
  const auto file = dir / "tsn25.ini";
  auto profile = profile_on(file, "; schemes\n[Reds]\nGrad=1\n\n[Tessaryn]\nold=1\n", "Tessaryn");
  EXPECT_FALSE(profile.dirty());
  profile.erase_section();
  EXPECT_TRUE(profile.dirty());
  EXPECT_FALSE(profile.has_key("old"));
  profile.write_int("DecPlaces", -3);
  profile.write_uint("Colour", 4294967295u);
  profile.write_real("Scale", -0.0);
  profile.write_string("Name", "roads");
  EXPECT_EQ(read_file(file), "; schemes\n[Reds]\nGrad=1\n\n[Tessaryn]\nold=1\n");
  EXPECT_EQ(profile.read_int("colour", 0), -1);

  ASSERT_TRUE(profile.flush());
  EXPECT_FALSE(profile.dirty());
  EXPECT_EQ(read_file(file),
            "; schemes\n[Reds]\nGrad=1\n\n[Tessaryn]\nDecPlaces=-3\nColour=4294967295\n"
            "Scale=0.000000\nName=roads\n");
}

TEST(ProfileWrite, SelectingAnotherFileFlushesTheSameFileKeepsPendingWrites) {
  ScratchDir dir;
  write_file(dir / "b.ini", "[S]\nk=b\n");
  auto profile = profile_on(dir / "a.ini", "[S]\nk=disk\n", "S");
  profile.write_string("k", "memory");
  EXPECT_TRUE(profile.select_file(dir / "a.ini"));
  EXPECT_TRUE(profile.dirty());
  EXPECT_EQ(profile.read_string("k", "", 80), "memory");

  EXPECT_TRUE(profile.select_file(dir / "b.ini"));
  EXPECT_FALSE(profile.dirty());
  EXPECT_EQ(read_file(dir / "a.ini"), "[S]\nk=memory\n");
  EXPECT_EQ(profile.read_string("k", "", 80), "b");

  // With nothing pending, selecting a file again picks up a change made by someone else.
  write_file(dir / "b.ini", "[S]\nk=edited\n");
  profile.select_file(dir / "b.ini");
  EXPECT_EQ(profile.read_string("k", "", 80), "edited");
}

TEST(ProfileWrite, AFailedFlushKeepsTheChangesPendingAndTheOldFileIntact) {
  ScratchDir dir;
  Profile nowhere;
  nowhere.select_section("S");
  nowhere.write_int("k", 1);
  EXPECT_FALSE(nowhere.flush());


  const std::string old_text = "; keep me\n[S]\nk=old\n";
  auto profile = profile_on(dir / "tsn25.ini", old_text, "S");
  profile.write_string("k", std::string(4096, 'n'));
  // A cap on the size of files this process writes makes the save fail part-way (EFBIG), even
  // for root, who ignores permissions.
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit capped = saved;
  capped.rlim_cur = 32;
  const auto saved_handler = std::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &capped);
  const bool flushed = profile.flush();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, saved_handler);
  EXPECT_FALSE(flushed);
  EXPECT_TRUE(profile.dirty());
  EXPECT_EQ(read_file(dir / "tsn25.ini"), old_text);
  EXPECT_EQ(dir.listing(), Names{"tsn25.ini"});
}

}  // namespace
}  // namespace tsn
