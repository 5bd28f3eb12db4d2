// Range sections: default labels, old-format range texts, reading (limits, versions, the colour
// number mark) and the write/read round trip.
#include "settings/value_ranges.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile.h"
#include "settings/conv_settings.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::read_file;
using test::ScratchDir;
using test::write_file;

KeyClass numeric(double lo, double hi, std::string label = "") {
  KeyClass c;
  c.lo = lo;
  c.hi = hi;
  c.label = std::move(label);
  return c;
}

KeyClass alphabetic(std::string lo, std::string hi, std::string label = "") {
  KeyClass c;
  c.lo_text = std::move(lo);
  c.hi_text = std::move(hi);
  c.label = std::move(label);
  return c;
}

// A settings file in a scratch directory, selected in a profile.
struct RangeFile {
  ScratchDir dir;
  Profile p;
  explicit RangeFile(const std::string& text) {
    write_file(dir / "roads.def", text);
    p.select_file(dir / "roads.def");
  }
};

std::vector<std::string> labels_of(const RangeSet& set) {
  std::vector<std::string> labels;
  for (const KeyClass& c : set.classes) labels.push_back(c.label);
  return labels;
}

RangeSet sentinel_ranges() {
  RangeSet set;
  set.type = NumberType::integer;
  set.classes = {numeric(7, 7, "seven")};
  return set;
}

TEST(DefaultRangeLabel, IntegerRealAndCharacterForms) {
  EXPECT_EQ(default_range_label(numeric(1, 1), NumberType::integer), "1");
  EXPECT_EQ(default_range_label(numeric(2, 5), NumberType::integer), "2-5");
  EXPECT_EQ(default_range_label(numeric(-4, -2), NumberType::integer), "-4--2");
  EXPECT_EQ(default_range_label(alphabetic("A", "M"), NumberType::alphabetic), "A-M");
  EXPECT_EQ(default_range_label(alphabetic("ROAD", "ROAD"), NumberType::alphabetic), "ROAD");
}

TEST(DefaultRangeLabel, RealPrecisionFollowsTheLowValue) {
  EXPECT_EQ(default_range_label(numeric(12.5, 20), NumberType::real), "12.50000-20.00000");
  EXPECT_EQ(default_range_label(numeric(3, 3), NumberType::real), "3.000000");
  EXPECT_EQ(default_range_label(numeric(9.5, 150), NumberType::real), "9.500000-150.000000");
  EXPECT_EQ(default_range_label(numeric(100, 250.25), NumberType::real), "100.0000-250.2500");
  EXPECT_EQ(default_range_label(numeric(-20, 5), NumberType::real), "-20.000000-5.000000");
}

TEST(DefaultRangeLabel, ExtremeValuesStayWithinTheLabelLimit) {
  const std::string real = default_range_label(numeric(1e300, 2e300), NumberType::real);
  EXPECT_EQ(real.size(), kMaxLabelText);
  EXPECT_EQ(real.substr(0, 2), "10");
  // Beyond the range of an integer: clamped, not undefined.
  EXPECT_EQ(default_range_label(numeric(1e30, 1e30), NumberType::integer),
            "9200000000000000000");
}

TEST(ParseRangeText, LowAndHighValues) {
  ParsedRange r = parse_range_text("5-10", NumberType::integer);
  EXPECT_TRUE(r.valid);
  EXPECT_TRUE(r.has_hi);
  EXPECT_DOUBLE_EQ(r.lo, 5);
  EXPECT_DOUBLE_EQ(r.hi, 10);
  EXPECT_EQ(r.text, "5-10");

  r = parse_range_text("  5 - 10 ", NumberType::integer);  // spaced form, blanks around
  EXPECT_TRUE(r.has_hi);
  EXPECT_DOUBLE_EQ(r.hi, 10);
  EXPECT_EQ(r.text, "5-10");

  r = parse_range_text("1e-3-2", NumberType::real);  // the exponent's "-" does not split
  EXPECT_TRUE(r.has_hi);
  EXPECT_DOUBLE_EQ(r.lo, 0.001);
  EXPECT_DOUBLE_EQ(r.hi, 2);
  EXPECT_EQ(r.text, "0.001000-2.000000");

  r = parse_range_text("-5--2", NumberType::integer);  // negative ends
  EXPECT_TRUE(r.has_hi);
  EXPECT_DOUBLE_EQ(r.lo, -5);
  EXPECT_DOUBLE_EQ(r.hi, -2);
  EXPECT_EQ(r.text, "-5--2");
}

TEST(ParseRangeText, SingleValues) {
  ParsedRange r = parse_range_text("-3.5", NumberType::real);
  EXPECT_TRUE(r.valid);
  EXPECT_FALSE(r.has_hi);
  EXPECT_DOUBLE_EQ(r.lo, -3.5);
  EXPECT_DOUBLE_EQ(r.hi, -3.5);
  EXPECT_EQ(r.text, "-3.5");  // a real without a high value is kept as written

  r = parse_range_text("+7", NumberType::integer);
  EXPECT_DOUBLE_EQ(r.lo, 7);
  EXPECT_EQ(r.text, "7");
}

TEST(ParseRangeText, CanonicalForms) {
  // Integer values within 5e-7 of a whole number are written as integers.
  EXPECT_EQ(parse_range_text("7.0000001-9", NumberType::integer).text, "7-9");
  // Otherwise the real form of the default label.
  EXPECT_EQ(parse_range_text("2.5-4", NumberType::integer).text, "2.500000-4.000000");
  EXPECT_EQ(parse_range_text("12.5-20", NumberType::real).text, "12.50000-20.00000");
  // A real range whose high value is below its low value keeps its text.
  EXPECT_EQ(parse_range_text("20-10.5", NumberType::real).text, "20-10.5");
}

TEST(ParseRangeText, TextsThatAreNotNumbersAreInvalid) {
  for (const char* text : {"abc", "x5-10", "-", ".", "-abc", "", "   ", "+-5", "inf-5", "1e999"}) {
    const ParsedRange r = parse_range_text(text, NumberType::real);
    EXPECT_FALSE(r.valid) << text;
    EXPECT_DOUBLE_EQ(r.lo, 0) << text;
  }
  EXPECT_EQ(parse_range_text(" abc ", NumberType::real).text, "abc");
  // A high part that is no number leaves a single value.
  const ParsedRange r = parse_range_text("5-abc", NumberType::integer);
  EXPECT_TRUE(r.valid);
  EXPECT_FALSE(r.has_hi);
  EXPECT_EQ(r.text, "5");
}

TEST(ReadLayerRanges, IntegerRangesWithoutLabelsGetDefaultLabels) {
  RangeFile f("[RangesLayer]\nNum=2\nClass=1\nNumType=2\nlo0=1.000000\nhi0=1.000000\n"
              "lo1=2.000000\nhi1=5.000000\n");
  ConvSettings s;
  ASSERT_EQ(read_layer_ranges(f.p, 244, s), 0);
  EXPECT_EQ(s.layer_ranges.type, NumberType::integer);
  EXPECT_EQ(labels_of(s.layer_ranges), (std::vector<std::string>{"1", "2-5"}));
  EXPECT_DOUBLE_EQ(s.layer_ranges.classes[1].hi, 5);
  EXPECT_EQ(s.cur.ClassTypeLayer, 1);
  EXPECT_EQ(s.cur.NumClassesLayer, 2);
  EXPECT_EQ(f.p.section(), "Tessaryn");
}

TEST(ReadLayerRanges, StoredLabelsAndDefaults) {
  RangeFile f("[RangesLayer]\nNum=3\nNumType=1\nlo0=12.5\nhi0=20\nlo1=20\nhi1=30\n"
              "lo2=30\n\n[RangesLayerLabels]\nL1=Middle\n");
  ConvSettings s;
  ASSERT_EQ(read_layer_ranges(f.p, 243, s), 0);
  EXPECT_EQ(s.layer_ranges.type, NumberType::real);
  // A layer range without a high end is a single value.
  EXPECT_EQ(labels_of(s.layer_ranges),
            (std::vector<std::string>{"12.50000-20.00000", "Middle", "30.00000"}));
  EXPECT_EQ(s.cur.ClassTypeLayer, 0);  // Class defaults to 0 for layers
}

TEST(ReadLayerRanges, NoRangesKeepTheCurrentOnes) {
  for (const char* text : {"[RangesLayer]\nNum=0\nlo0=1\nhi0=1\n", "[RangesLayer]\nNum=-3\n",
                           "[Tessaryn]\nVersion=244\n", "[RangesLayer]\nNum=2\nhi0=1\n"}) {
    RangeFile f(text);
    ConvSettings s;
    s.layer_ranges = sentinel_ranges();
    s.cur.ClassTypeLayer = 1;
    s.cur.NumClassesLayer = 9;
    EXPECT_EQ(read_layer_ranges(f.p, 244, s), -1) << text;
    EXPECT_EQ(labels_of(s.layer_ranges), std::vector<std::string>{"seven"}) << text;
    EXPECT_EQ(s.cur.ClassTypeLayer, 1) << text;
    EXPECT_EQ(s.cur.NumClassesLayer, 9) << text;
  }
}

TEST(ReadLayerRanges, FilesOfVersion240AndBelowHaveNoRanges) {
  RangeFile f("[RangesLayer]\nNum=1\nNumType=2\nR0=3-4\nlo0=4\nhi0=4\n");
  ConvSettings s;
  s.layer_ranges = sentinel_ranges();
  EXPECT_EQ(read_layer_ranges(f.p, 240, s), -1);
  EXPECT_EQ(labels_of(s.layer_ranges), std::vector<std::string>{"seven"});
  // 241 and 242 hold the old range texts, 243 on the low and high keys.
  EXPECT_EQ(read_layer_ranges(f.p, 241, s), 0);
  EXPECT_EQ(labels_of(s.layer_ranges), std::vector<std::string>{"3-4"});
  EXPECT_EQ(read_layer_ranges(f.p, 243, s), 0);
  EXPECT_EQ(labels_of(s.layer_ranges), std::vector<std::string>{"4"});
}

TEST(ReadLayerRanges, OldFormatRangeTexts) {
  RangeFile f("[RangesLayer]\nNum=5\nClass=2\nNumType=2\nR0=5-10\nR1=abc\nR2=7.0\nR4=99\n"
              "[RangesLayerLabels]\nL0=ignored\n");
  ConvSettings s;
  s.cur.NumClassesLayer = 5;
  ASSERT_EQ(read_layer_ranges(f.p, 242, s), 0);
  // R3 is missing: the list ends there. Labels come from the texts, not from L keys.
  EXPECT_EQ(labels_of(s.layer_ranges), (std::vector<std::string>{"5-10", "abc", "7"}));
  EXPECT_DOUBLE_EQ(s.layer_ranges.classes[0].hi, 10);
  EXPECT_DOUBLE_EQ(s.layer_ranges.classes[1].lo, 0);  // not a number: no values
  EXPECT_EQ(s.cur.ClassTypeLayer, 2);
  EXPECT_EQ(s.cur.NumClassesLayer, 5);  // Unique Values keeps the requested count
}

TEST(ReadLayerRanges, OldFormatCharacterRanges) {
  RangeFile f("[RangesLayer]\nNum=2\nNumType=0\nR0=A - M\nR1=ROAD\n");
  ConvSettings s;
  ASSERT_EQ(read_layer_ranges(f.p, 242, s), 0);
  ASSERT_EQ(s.layer_ranges.classes.size(), 2u);
  EXPECT_EQ(s.layer_ranges.classes[0].lo_text, "A");
  EXPECT_EQ(s.layer_ranges.classes[0].hi_text, "M");
  EXPECT_EQ(s.layer_ranges.classes[0].label, "A - M");
  EXPECT_EQ(s.layer_ranges.classes[1].hi_text, "ROAD");

  // A dash with nothing on one side does not split: an empty bound could not be stored again.
  RangeFile dashes("[RangesLayer]\nNum=2\nNumType=0\nR0=-1abc\nR1=North-\n");
  ASSERT_EQ(read_layer_ranges(dashes.p, 242, s), 0);
  ASSERT_EQ(s.layer_ranges.classes.size(), 2u);
  EXPECT_EQ(s.layer_ranges.classes[0].lo_text, "-1abc");
  EXPECT_EQ(s.layer_ranges.classes[0].hi_text, "-1abc");
  EXPECT_EQ(s.layer_ranges.classes[1].lo_text, "North-");
}

TEST(ReadLayerRanges, HostileCountsAndLengthsAreBounded) {
  RangeFile f("[RangesLayer]\nNum=2000000000\nNumType=0\nlo0=" + std::string(400, 'x') +
              "\nhi0=B\n[RangesLayerLabels]\nL0=" + std::string(1000, 'y') + "\n");
  ConvSettings s;
  ASSERT_EQ(read_layer_ranges(f.p, 244, s), 0);
  ASSERT_EQ(s.layer_ranges.classes.size(), 1u);
  EXPECT_LE(s.layer_ranges.classes.capacity(), static_cast<std::size_t>(kMaxClasses));
  EXPECT_EQ(s.layer_ranges.classes[0].lo_text, std::string(kMaxClassText, 'x'));
  EXPECT_EQ(s.layer_ranges.classes[0].label, std::string(kMaxLabelText, 'y'));
  EXPECT_EQ(s.cur.NumClassesLayer, 1);

  // More ranges than a key can have: the first 1024 are read.
  std::string text = "[RangesLayer]\nNum=1100\nNumType=2\n";
  for (int i = 0; i < 1100; ++i) {
    text += "lo" + std::to_string(i) + "=" + std::to_string(i) + "\nhi" + std::to_string(i) +
            "=" + std::to_string(i) + "\n";
  }
  RangeFile many(text);
  ASSERT_EQ(read_layer_ranges(many.p, 244, s), 0);
  EXPECT_EQ(s.layer_ranges.classes.size(), static_cast<std::size_t>(kMaxClasses));
  EXPECT_EQ(s.layer_ranges.classes.back().label, "1023");
  EXPECT_EQ(s.cur.NumClassesLayer, kMaxClasses);
}

TEST(ReadColourRanges, EmptyHighEndsTheList) {
  RangeFile f("[RangesColor]\nNum=3\nNumType=1\nlo0=1\nhi0=2\nlo1=2\nhi1=\nlo2=3\nhi2=4\n");
  ConvSettings s;
  ASSERT_EQ(read_colour_ranges(f.p, 244, s), 0);
  EXPECT_EQ(labels_of(s.colour_ranges), std::vector<std::string>{"1.000000-2.000000"});
  EXPECT_EQ(s.cur.ClassTypeColor, 1);  // Class defaults to 1 for colours
  EXPECT_EQ(s.cur.NumClassesColor, 1);
  EXPECT_EQ(f.p.section(), "Tessaryn");
}

TEST(ReadColourRanges, NumZeroIsAcceptedNegativeOrMissingIsNot) {
  ConvSettings s;
  s.colour_ranges = sentinel_ranges();
  RangeFile negative("[RangesColor]\nNum=-1\n");
  EXPECT_EQ(read_colour_ranges(negative.p, 244, s), -1);
  RangeFile missing("[RangesLayer]\nNum=1\nlo0=1\nhi0=1\n");
  EXPECT_EQ(read_colour_ranges(missing.p, 244, s), -1);
  EXPECT_EQ(labels_of(s.colour_ranges), std::vector<std::string>{"seven"});

  RangeFile zero("[RangesColor]\nNum=0\nClass=0\n");
  s.cur.NumClassesColor = 6;
  EXPECT_EQ(read_colour_ranges(zero.p, 244, s), 0);
  EXPECT_TRUE(s.colour_ranges.classes.empty());
  EXPECT_EQ(s.cur.ClassTypeColor, 0);
  EXPECT_EQ(s.cur.NumClassesColor, 6);  // never a requested count of 0
}

TEST(ReadColourRanges, OldFormatFallsBackOnTheCurrentLabels) {
  RangeFile f("[RangesColor]\nNum=3\nNumType=2\nR0=1-4\n");
  ConvSettings s;
  s.colour_ranges.classes = {numeric(0, 0, "old0"), numeric(0, 0, "8")};
  ASSERT_EQ(read_colour_ranges(f.p, 242, s), 0);
  // R1 is missing and takes the current label "8"; R2 has no current label and ends the list.
  EXPECT_EQ(labels_of(s.colour_ranges), (std::vector<std::string>{"1-4", "8"}));
  EXPECT_DOUBLE_EQ(s.colour_ranges.classes[1].lo, 8);
}

struct MarkCase {
  const char* text;
  bool before;
  bool after;
};

TEST(ReadColourRanges, ColourNumberMark) {
  const MarkCase cases[] = {
      // Unique integer values, every range a single value: the field holds colour numbers.
      {"Class=2\nNumType=2\nlo0=1\nhi0=1\nlo1=5\nhi1=5.00000000001\n", false, true},
      // One range with different ends clears it.
      {"Class=2\nNumType=2\nlo0=1\nhi0=1\nlo1=5\nhi1=6\n", true, false},
      // Not Unique Values: cleared.
      {"Class=0\nNumType=2\nlo0=1\nhi0=1\n", true, false},
      // Unique Values of reals or texts: left as it was.
      {"Class=2\nNumType=1\nlo0=1\nhi0=1\n", true, true},
      {"Class=2\nNumType=1\nlo0=1\nhi0=1\n", false, false},
      {"Class=2\nNumType=0\nlo0=A\nhi0=B\n", true, true},
  };
  for (const MarkCase& c : cases) {
    RangeFile f(std::string("[RangesColor]\nNum=2\n") + c.text);
    ConvSettings s;
    s.colour_key_holds_colour_numbers = c.before;
    ASSERT_EQ(read_colour_ranges(f.p, 244, s), 0) << c.text;
    EXPECT_EQ(s.colour_key_holds_colour_numbers, c.after) << c.text;
  }
}

TEST(WriteRanges, SectionLayoutAndReplacement) {
  ScratchDir dir;
  const auto file = dir / "roads.def";
  write_file(file, "[RangesColor]\nNum=9\nlo8=stale\n[RangesColorLabels]\nL8=stale\n");
  ConvSettings s;
  s.cur.ClassTypeColor = 1;
  s.colour_ranges.type = NumberType::real;
  s.colour_ranges.classes = {numeric(12.5, 20, "low"), numeric(20, 1e6, "high")};
  Profile p;
  p.select_file(file);
  write_colour_ranges(p, s);
  ASSERT_TRUE(p.flush());
  EXPECT_EQ(read_file(file),
            "[RangesColor]\nNum=2\nClass=1\nNumType=1\nlo0=12.500000\nhi0=20.000000\n"
            "lo1=20.000000\nhi1=1000000.000000\n\n"
            "[RangesColorLabels]\nL0=low\nL1=high\n");
}

TEST(WriteRanges, RoundTripOfAllThreeTypes) {
  ScratchDir dir;
  ConvSettings out;
  out.cur.ClassTypeLayer = 0;
  out.cur.ClassTypeColor = 2;
  out.layer_ranges.type = NumberType::alphabetic;
  out.layer_ranges.classes = {alphabetic("A", "M", "first half"), alphabetic("N", "Z", "N-Z"),
                              alphabetic("ROAD WORKS", "ROAD WORKS", "")};
  out.colour_ranges.type = NumberType::integer;
  out.colour_ranges.classes = {numeric(1, 1, "red"), numeric(3, 3, "3"), numeric(-5, 40, "")};
  out.colour_ranges.edited = true;  // hand-made: kept as such

  Profile p;
  p.select_file(dir / "roads.def");
  write_colour_ranges(p, out);
  write_layer_ranges(p, out);
  ASSERT_TRUE(p.flush());

  ConvSettings in;
  Profile q;
  q.select_file(dir / "roads.def");
  ASSERT_EQ(read_layer_ranges(q, kSettingsVersion, in), 0);
  ASSERT_EQ(read_colour_ranges(q, kSettingsVersion, in), 0);
  ASSERT_EQ(in.layer_ranges.classes.size(), 3u);
  EXPECT_EQ(in.layer_ranges.type, NumberType::alphabetic);
  EXPECT_EQ(in.layer_ranges.classes[0].lo_text, "A");
  EXPECT_EQ(in.layer_ranges.classes[0].hi_text, "M");
  EXPECT_EQ(in.layer_ranges.classes[2].lo_text, "ROAD WORKS");
  // A stored empty label counts as stored.
  EXPECT_EQ(labels_of(in.layer_ranges), (std::vector<std::string>{"first half", "N-Z", ""}));
  EXPECT_EQ(in.cur.NumClassesLayer, 3);

  ASSERT_EQ(in.colour_ranges.classes.size(), 3u);
  EXPECT_EQ(in.colour_ranges.type, NumberType::integer);
  EXPECT_DOUBLE_EQ(in.colour_ranges.classes[2].lo, -5);
  EXPECT_DOUBLE_EQ(in.colour_ranges.classes[2].hi, 40);
  EXPECT_EQ(labels_of(in.colour_ranges), (std::vector<std::string>{"red", "3", ""}));
  EXPECT_EQ(in.cur.ClassTypeColor, 2);
  EXPECT_EQ(in.cur.NumClassesColor, 5);  // Unique Values: the requested count is not touched
  EXPECT_FALSE(in.colour_key_holds_colour_numbers);  // -5..40 has different ends
  EXPECT_TRUE(in.colour_ranges.edited);
  EXPECT_FALSE(in.layer_ranges.edited);
}

TEST(WriteRanges, RealValuesKeepSixDecimals) {
  ScratchDir dir;
  ConvSettings out;
  out.layer_ranges.type = NumberType::real;
  out.layer_ranges.classes = {numeric(0.1234564, 2.5), numeric(-0.0000004, 0)};
  Profile p;
  p.select_file(dir / "a.def");
  write_layer_ranges(p, out);
  ASSERT_TRUE(p.flush());
  ConvSettings in;
  Profile q;
  q.select_file(dir / "a.def");
  ASSERT_EQ(read_layer_ranges(q, kSettingsVersion, in), 0);
  EXPECT_DOUBLE_EQ(in.layer_ranges.classes[0].lo, 0.123456);
  EXPECT_DOUBLE_EQ(in.layer_ranges.classes[0].hi, 2.5);
  EXPECT_DOUBLE_EQ(in.layer_ranges.classes[1].lo, 0.0);
  EXPECT_EQ(read_file(dir / "a.def").find("-0.000000"), std::string::npos);
}

}  // namespace
}  // namespace tsn
