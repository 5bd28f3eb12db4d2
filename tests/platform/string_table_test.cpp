// Tests of numbered message lookup, the colour spelling and the locale's language code.
#include "platform/string_table.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace tsn {
namespace {

// Sets the spelling index for one test and puts the previous one back.
class ScopedSpelling {
 public:
  explicit ScopedSpelling(int index) : saved_(spelling_index()) { set_spelling_index(index); }
  ~ScopedSpelling() { set_spelling_index(saved_); }
  ScopedSpelling(const ScopedSpelling&) = delete;
  ScopedSpelling& operator=(const ScopedSpelling&) = delete;

 private:
  int saved_;
};

// locale_language() with LC_ALL, LC_MESSAGES and LANG as given (nullptr: unset); the
// variables are put back afterwards.
std::string language_with(const char* lc_all, const char* lc_messages, const char* lang) {
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  const char* values[] = {lc_all, lc_messages, lang};
  const auto set = [](const char* name, const char* value) {
    return value != nullptr ? setenv(name, value, 1) : unsetenv(name);
  };
  std::optional<std::string> saved[3];
  for (int i = 0; i < 3; ++i) {
    if (const char* old = getenv(names[i])) saved[i] = old;
    set(names[i], values[i]);
  }
  std::string language = locale_language();
  for (int i = 0; i < 3; ++i) set(names[i], saved[i] ? saved[i]->c_str() : nullptr);
  return language;
}

TEST(StringTable, FindsEveryNumberedTextAndNothingElse) {
  ScopedSpelling spelling(0);
  // The first, a middle and the last entry: the lookup relies on the ascending order.
  EXPECT_EQ(load_text(7), "Error");
  EXPECT_EQ(load_text(71), "Abort current process ?");
  EXPECT_EQ(load_text(293),
            "Network setting changed.  The new setting will take effect\n"
            "the next time that Tessaryn is started.");
  EXPECT_EQ(load_status_text(70), "\nProcess aborted due to user cancellation.");
  for (int id : {-1, 0, 6, 9, 13, 292, 294, 100000}) {
    EXPECT_FALSE(has_text(id)) << id;
    EXPECT_EQ(load_text(id), "") << id;
  }
  for (int id = 0; id <= 300; ++id) {
    const std::string text = load_text(id);
    EXPECT_EQ(has_text(id), !text.empty()) << id;
    EXPECT_LE(text.size(), 255u) << id;
    EXPECT_EQ(load_status_text(id), "\n" + text) << id;
  }
}

TEST(Spelling, CompletesColourOrColorAndKeepsOtherPrintfFields) {
  {
    ScopedSpelling spelling(0);
    EXPECT_EQ(load_text(60), "Fill colours keyed to %s");
    EXPECT_EQ(load_status_text(63), "\nPoint colours keyed to %s");
    EXPECT_EQ(complete_spelling("Single C%s"), "Single Colour");
  }
  ScopedSpelling spelling(1);
  EXPECT_EQ(load_text(62), "Line colors keyed to %s");
  EXPECT_EQ(load_text(136), "Critical error %d, AD error %d (%s), terminating");
  EXPECT_EQ(complete_spelling("C%s, c%s and %s"), "Color, color and %s");
  EXPECT_EQ(complete_spelling("ends in C%"), "ends in C%");
  EXPECT_EQ(complete_spelling("C%d"), "C%d");
}

TEST(Spelling, IndexIsZeroOnlyForTheEnglishLanguageCode) {
  ScopedSpelling spelling(5);
  EXPECT_EQ(spelling_index(), 1);
  set_spelling_index(0);
  EXPECT_EQ(spelling_index(), 0);
  for (const char* code : {"ENG", "eng", "eNg"}) EXPECT_EQ(spelling_index_for_language(code), 0);
  for (const char* code : {"ENU", "DE", "EN", "ENGL", ""}) {
    EXPECT_EQ(spelling_index_for_language(code), 1) << code;
  }
}

TEST(LocaleLanguage, FromTheFirstNonEmptyLocaleVariable) {
  // LC_ALL, LC_MESSAGES, LANG (nullptr: unset) and the language code.
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {nullptr, nullptr, nullptr, "ENG"}, {nullptr, nullptr, "", "ENG"},
      {nullptr, nullptr, "C", "ENG"},     {nullptr, nullptr, "POSIX", "ENG"},
      {"C.UTF-8", nullptr, "de", "ENG"},  {nullptr, nullptr, "en_GB", "ENG"},
      {nullptr, "en_US.UTF-8", nullptr, "ENU"}, {nullptr, nullptr, "en", "ENU"},
      {"de_DE", "fr_FR", "en_US", "DE"},  {"", "fr_FR", "en_US", "FR"},
      {nullptr, "", "pt_BR@latin", "PT"},
  };
  for (const auto& [lc_all, lc_messages, lang, language] : cases) {
    EXPECT_EQ(language_with(lc_all, lc_messages, lang), language)
        << (lc_all ? lc_all : "-") << " " << (lc_messages ? lc_messages : "-") << " "
        << (lang ? lang : "-");
  }
}

}  // namespace
}  // namespace tsn
