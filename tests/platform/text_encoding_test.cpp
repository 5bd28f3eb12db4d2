// Encoding names from .cpg files, language bytes and code pages, and table text converted into
// a drawing code page.
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace tsn {
namespace {

TEST(EncodingNames, CpgSpellingsLanguageBytesAndCodePages) {
  const std::pair<const char*, const char*> cpg[] = {
      {"UTF-8", "UTF-8"},          {" utf8\r\n", "UTF-8"},     {"65001", "UTF-8"},
      {"ISO-8859-1", "ISO-8859-1"}, {"88591", "ISO-8859-1"},   {"ISO 88591", "ISO-8859-1"},
      {"8859-5", "ISO-8859-5"},    {"1252", "CP1252"},         {"ANSI 1252", "CP1252"},
      {"ANSI 1250", "CP1250"},     {"CP1251", "CP1251"},       {"936", "CP936"},
      {"GBK", "CP936"},            {"windows-1253", "CP1253"}, {"1234", ""},
      {"<html><body>", ""},        {"", ""},                   {"ISO-8859-99", ""}};
  for (const auto& [text, name] : cpg) EXPECT_EQ(encoding_of_cpg(text), name) << text;

  EXPECT_EQ(encoding_of_language_byte(0x57), "CP1252");
  EXPECT_EQ(encoding_of_language_byte(0x4D), "CP936");
  EXPECT_EQ(encoding_of_language_byte(0xC9), "CP1251");
  EXPECT_EQ(encoding_of_language_byte(0x00), "");
  // Mazovia has a name, but this system's iconv lacks it.
  EXPECT_FALSE(encoding_available(encoding_of_language_byte(0x69)));
  for (const int b : {0x01, 0x03, 0x4E, 0x4F, 0x64, 0x65, 0xC8, 0xCA, 0xCB, 0x7B}) {
    EXPECT_TRUE(encoding_available(encoding_of_language_byte(static_cast<unsigned char>(b))))
        << b;
  }
  EXPECT_EQ(encoding_of_drawing_code_page("ANSI_1252"), "CP1252");
  EXPECT_EQ(encoding_of_drawing_code_page("ansi_936"), "CP936");
  EXPECT_EQ(encoding_of_drawing_code_page("undefined"), "");
  EXPECT_EQ(encoding_of_user_name("latin1"), "ISO-8859-1");
  EXPECT_EQ(encoding_of_user_name("EUC-JP"), "EUC-JP");  // iconv's own name
  EXPECT_EQ(encoding_of_user_name("no-such-encoding"), "");
}

TEST(EncodingNames, ValidUtf8) {
  EXPECT_TRUE(is_valid_utf8("plain"));
  EXPECT_TRUE(is_valid_utf8("C\xC3\xB4te \xE2\x98\x83 \xF0\x9F\x98\x80"));
  for (const char* bad : {"\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\x80", "a\xE2\x98"}) {
    EXPECT_FALSE(is_valid_utf8(bad)) << bad;
  }
}

TEST(EncodingNames, AnEscapedCharacterIsOneCharacterLong) {
  EXPECT_EQ(displayed_length("a\\U+4E2Db"), 3u);
  EXPECT_EQ(displayed_length("\\U+D83D\\U+DE00"), 2u);  // two surrogates, as written
  EXPECT_EQ(displayed_length("\\U+12"), 5u);              // not an escape: five characters
  EXPECT_EQ(displayed_length("\\U+12G4"), 7u);
  EXPECT_EQ(displayed_length(""), 0u);
}

TEST(EncodingNames, EscapesAreNeitherCutNorSortedAsBytes) {
  const std::string greek = "ab\\U+0391\\U+03B8";  // 16 bytes, 4 characters
  EXPECT_EQ(escape_safe_length(greek, 16), 16u);
  EXPECT_EQ(escape_safe_length(greek, 12), 9u);  // not "ab\U+0391\U+"
  EXPECT_EQ(escape_safe_length(greek, 9), 9u);
  EXPECT_EQ(escape_safe_length("plain text", 5), 5u);
  EXPECT_EQ(characters_prefix(greek, 3), 9u);  // "ab" and one escape
  EXPECT_EQ(characters_prefix(greek, 9), 16u);
  const auto same = [](char c) { return c; };
  // Alpha before theta, both after every byte; a shorter text first.
  EXPECT_EQ(compare_escaped("\\U+0391", "\\U+03B8", same), -1);
  EXPECT_EQ(compare_escaped("\\U+0391", "z\xFF", same), 1);
  EXPECT_EQ(compare_escaped("A\\U+0391", "A\\U+0391", same), 0);
  EXPECT_EQ(compare_escaped("A\\U+0391", "A\\U+0391b", same), -1);
  EXPECT_EQ(compare_escaped("\\x", "\\y", same), -1);  // a backslash that escapes nothing
}

TEST(TextTranscoder, CodePageBytesEscapesForTheRestAndReplacementsCounted) {
  struct Case {
    const char* from;
    std::string in;
    std::string out;
    long invalid;
  };
  const Case cases[] = {
      {"UTF-8", "C\xC3\xB4te d'Ivoire", "C\xF4te d'Ivoire", 0},
      {"UTF-8", "\xCE\x91\xCE\xB8", "\\U+0391\\U+03B8", 0},            // Greek
      {"UTF-8", "\xF0\x9F\x98\x80", "\\U+D83D\\U+DE00", 0},            // beyond U+FFFF
      {"UTF-8", "ab\xC3", "ab\\U+FFFD", 1},                            // cut by the end
      {"UTF-8", "\xFF" "x\xFE", "\\U+FFFDx\\U+FFFD", 2},
      {"UTF-8", "\xE2\x98" "A", "\\U+FFFDA", 1},                   // the cut start, once
      {"UTF-8", "\xED\xA0\x80", "\\U+FFFD\\U+FFFD\\U+FFFD", 3},   // a surrogate
      {"UTF-8", "\xC0\xAF", "\\U+FFFD\\U+FFFD", 2},                // an overlong form
      {"CP936", "\xD6\xD0\xCE\xC4", "\\U+4E2D\\U+6587", 0},            // GBK "Chinese"
      {"CP1251", "\xCC\xEE\xF1\xEA\xE2\xE0", "\\U+041C\\U+043E\\U+0441\\U+043A\\U+0432\\U+0430",
       0},
      {"ISO-8859-1", "Z\xFCrich", "Z\xFCrich", 0},
      {"CP1250", "\xA3\xF3" "d\x9F", "\\U+0141\xF3" "d\\U+017A", 0},  // Polish
      {"UTF-8", "plain ASCII", "plain ASCII", 0},
  };
  for (const Case& c : cases) {
    TextTranscoder t;
    ASSERT_TRUE(t.open(c.from, "CP1252")) << c.from;
    std::string out = "<";
    EXPECT_EQ(t.append(c.in, out), c.invalid) << c.from << " " << c.in;
    EXPECT_EQ(out, "<" + c.out) << c.from << " " << c.in;
  }
  TextTranscoder gbk;
  ASSERT_TRUE(gbk.open("UTF-8", "CP936"));
  std::string out;
  gbk.append("\xE4\xB8\xAD \xC3\xA9", out);  // a code page of two-byte characters
  EXPECT_EQ(out, "\xD6\xD0 \xA8\xA6");
  TextTranscoder missing;
  EXPECT_FALSE(missing.open("CP620", "CP1252"));
}

}  // namespace
}  // namespace tsn
