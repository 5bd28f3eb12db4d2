// The layer-name rule: upper case and "_" runs for releases 12 and 14, dropped characters for
// release 2000, control characters, the 31-character cut and the name of last resort.
#include "classify/layer_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tsn {
namespace {

std::string r14(std::string_view name) { return make_layer_name(name, 6); }

TEST(LayerName, Release12And14UpperCaseAndKeepLettersDigitsDollarAndDash) {
  EXPECT_EQ(make_layer_name("roads", 4), "ROADS");
  EXPECT_EQ(r14("Main-St$2"), "MAIN-ST$2");
  EXPECT_EQ(r14("0"), "0");
  EXPECT_EQ(make_layer_name("Main St./Lane-2", 4), "MAIN_ST_LANE-2");
}

TEST(LayerName, OtherCharactersBecomeOneUnderscore) {
  EXPECT_EQ(r14("state roads"), "STATE_ROADS");
  EXPECT_EQ(r14("a  b"), "A_B");        // never two in a row
  EXPECT_EQ(r14("a._b"), "A_B");
  EXPECT_EQ(r14("a__b"), "A_B");
  EXPECT_EQ(r14("x\xe9y"), "X_Y");      // a byte outside ASCII is not a letter
  EXPECT_EQ(r14("a- b"), "A-B");        // not right after "-"
  EXPECT_EQ(r14("a.-b"), "A-B");        // and never right before "-"
  EXPECT_EQ(r14("a_-b"), "A-B");
  EXPECT_EQ(r14("a -b"), "A-B");
  EXPECT_EQ(r14("a-.b"), "A-_B");       // a point after "-" still becomes "_"
  EXPECT_EQ(r14("a-_b"), "A-_B");
}

TEST(LayerName, TrailingUnderscoresGoAndLongNamesAreCutTo31) {
  EXPECT_EQ(r14("roads (old)"), "ROADS_OLD");
  EXPECT_EQ(r14("name..."), "NAME");
  EXPECT_EQ(r14(std::string(40, 'q')), std::string(31, 'Q'));
  // The cut leaves "_" at the end: it is removed too.
  EXPECT_EQ(r14(std::string(30, 'a') + " tail"), std::string(30, 'A'));
  EXPECT_EQ(r14(std::string(29, 'a') + " tail"), std::string(29, 'A') + "_T");
}

TEST(LayerName, EmptyResultsAreUnnamed) {
  EXPECT_EQ(r14(""), "UNNAMED");
  EXPECT_EQ(r14("***"), "UNNAMED");
  EXPECT_EQ(make_layer_name("<>", 7), "UNNAMED");
  EXPECT_EQ(make_layer_name("***", 7), "UNNAMED");
}

TEST(LayerName, ControlCharactersNeverReachAName) {
  // Values with line breaks, tabs and other control bytes: no byte below 0x20 is kept.
  const std::string value = std::string("Lake\rBaikal\r\n  0\r\nEOF\t\x01") + '\0' + "x^y";
  EXPECT_EQ(r14(value), "LAKE_BAIKAL_0_EOF_X_Y");
  EXPECT_EQ(make_layer_name(value, 4), "LAKE_BAIKAL_0_EOF_X_Y");
  EXPECT_EQ(make_layer_name(value, 7), "LakeBaikal  0EOFx^y");
  EXPECT_EQ(make_layer_name("\r\n\t", 7), "UNNAMED");
}

TEST(LayerName, SymbolNamesFollowTheSameRuleWithTheirOwnLength) {
  std::string out;
  make_symbol_name("a;b", 6, 249, out);
  EXPECT_EQ(out, "A_B");
  make_symbol_name(std::string(300, 'n'), 4, 249, out);
  EXPECT_EQ(out, std::string(249, 'N'));
  make_symbol_name("a;b", 7, 249, out);
  EXPECT_EQ(out, "ab");
  make_symbol_name(std::string(300, 'n'), 7, 249, out);
  EXPECT_EQ(out.size(), 249u);
}

TEST(LayerName, Release2000DropsOnlyItsForbiddenCharactersAndKeepsCase) {
  EXPECT_EQ(make_layer_name("a<b>c/d\\e:f;g?h,i*j|k=l`m", 7), "abcdefghijklm");
  EXPECT_EQ(make_layer_name("Main St. (old)-2", 7), "Main St. (old)-2");
  EXPECT_EQ(make_layer_name(std::string(300, 'x'), 7).size(), 300u);
}

}  // namespace
}  // namespace tsn
