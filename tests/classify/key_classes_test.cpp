// Distinct key values and the classes built from them: normalising, gathering beyond the first
// hundred values, number types, the choice of method, Unique Values, Quantile, Equal Intervals
// and the lookup of values.
#include "classify/key_classes.h"

#include <gtest/gtest.h>

#include "classify/rows_table.h"

#include <string>
#include <vector>

namespace tsn {
namespace {

const dbf_field kText{'C', 0, "NAME", 20};
const dbf_field kNumber{'N', 0, "POP", 10};

KeyValues gather(const std::vector<std::string>& texts, const dbf_field& field,
                 int sort_method = 0) {
  KeyValues v;
  for (const std::string& t : texts) v.add(t, field, sort_method);
  v.finish(sort_method);
  return v;
}

// texts[i] repeated counts[i] times.
KeyValues counted(const std::vector<std::string>& texts, const std::vector<int>& counts,
                  const dbf_field& field) {
  std::vector<std::string> all;
  for (std::size_t i = 0; i < texts.size(); ++i) all.insert(all.end(), counts[i], texts[i]);
  return gather(all, field);
}

std::vector<std::string> labels(const ClassTable& t) {
  std::vector<std::string> out;
  for (const KeyClass& c : t.classes) out.push_back(c.label);
  return out;
}

TEST(KeyValues, NormalisedSortedMergedAndTyped) {
  bool blank = false;
  EXPECT_EQ(normalise_key_text("  Main  ", kText, blank), "Main");
  EXPECT_EQ(normalise_key_text("   ", kText, blank), "UNNAMED");
  EXPECT_FALSE(blank);
  EXPECT_EQ(normalise_key_text("", kNumber, blank), "0");
  EXPECT_TRUE(blank);
  EXPECT_EQ(normalise_key_text("abcdefghij", dbf_field{'C', 0, "S", 4}, blank), "abcd");

  // More than a hundred distinct values, repeated: merged with their counts, in order.
  std::vector<std::string> texts;
  for (int round = 0; round < 3; ++round) {
    for (int i = 250; i > 0; --i) texts.push_back(std::to_string(i));
  }
  texts.push_back("");
  const KeyValues v = gather(texts, kNumber);
  ASSERT_EQ(v.values.size(), 251u);  // "0" from the blank, then 1..250
  EXPECT_EQ(v.text(0), "0");
  EXPECT_EQ(v.values[1].number, 1.0);
  EXPECT_EQ(v.values[1].count, 3);
  EXPECT_EQ(v.values.back().count, 3);
  EXPECT_EQ(v.blank_count, 1);
  EXPECT_EQ(v.type, NumberType::integer);
  EXPECT_EQ(gather({"1.5", "2"}, kNumber).type, NumberType::real);
  EXPECT_EQ(gather({"b", "B", "a"}, kText, 0).text(0), "B");  // byte order
  EXPECT_EQ(gather({"b", "B", "a"}, kText, 1).values.size(), 2u);         // ignoring case
}

TEST(KeyValues, LoadedFromEveryRecordOfTheTable) {
  RowsTable table({"Oak", "Elm", "Oak", "  ", "Ash", "Oak"});
  KeyValues v;
  ASSERT_EQ(load_key_values(table, 0, 0, v), 4);
  ASSERT_EQ(v.values.size(), 4u);
  EXPECT_EQ(v.text(0), "Ash");
  EXPECT_EQ(v.text(2), "Oak");
  EXPECT_EQ(v.values[2].count, 3);
  EXPECT_EQ(v.text(3), "UNNAMED");
  EXPECT_EQ(v.records, 6);
  EXPECT_EQ(load_key_values(table, 3, 0, v), -1);  // no such field
}

TEST(ChooseMethod, UniqueWhenFewValuesQuantileForTextIntervals) {
  EXPECT_EQ(choose_method(3, 5, ClassMethod::quantile, true), ClassMethod::unique_values);
  EXPECT_EQ(choose_method(900, 5, ClassMethod::unique_values, true), ClassMethod::unique_values);
  EXPECT_EQ(choose_method(2000, 5, ClassMethod::unique_values, true), ClassMethod::quantile);
  EXPECT_EQ(choose_method(50, 5, ClassMethod::equal_intervals, false), ClassMethod::quantile);
  EXPECT_EQ(choose_method(50, 5, ClassMethod::equal_intervals, true),
            ClassMethod::equal_intervals);
}

TEST(CreateClasses, AllEqualValuesGiveOneClassForEveryMethod) {
  for (const ClassMethod m :
       {ClassMethod::quantile, ClassMethod::equal_intervals, ClassMethod::unique_values}) {
    ClassMethod method = m;
    ClassTable t;
    EXPECT_EQ(create_classes(gather({"7", "7", "7"}, kNumber), method, 5, false, 4, t), 1);
    EXPECT_EQ(labels(t), std::vector<std::string>{"7"});
  }
}

TEST(CreateClasses, UniqueValuesLabelLayersByTheLayerRule) {
  ClassMethod method = ClassMethod::unique_values;
  ClassTable t;
  ASSERT_EQ(create_classes(gather({"Main St.", "Elm", "Main St."}, kText), method, 5, true, 4, t),
            2);
  EXPECT_EQ(labels(t), (std::vector<std::string>{"ELM", "MAIN_ST"}));
  EXPECT_EQ(t.classes[1].lo_text, "Main St.");
}

TEST(CreateClasses, QuantileKeepsValuesWholeAndLeavesNoClassEmpty) {
  ClassMethod method = ClassMethod::quantile;
  ClassTable t;
  ASSERT_EQ(create_classes(counted({"10", "20", "30", "40"}, {10, 1, 1, 10}, kNumber), method,
                           2, false, 4, t),
            2);
  EXPECT_EQ(labels(t), (std::vector<std::string>{"10-20", "21-40"}));
  EXPECT_EQ(t.value_class, (std::vector<std::uint16_t>{0, 0, 1, 1}));
  EXPECT_EQ(t.classes[1].lo, 21.0);
  EXPECT_EQ(t.classes[1].hi, 40.0);

  // Counts 10, 1, 1, 10, 3: the target is 13, so the first class stops short of the second 10.
  ClassTable five;
  method = ClassMethod::quantile;
  ASSERT_EQ(create_classes(counted({"10", "20", "30", "40", "50"}, {10, 1, 1, 10, 3}, kNumber),
                           method, 2, false, 4, five),
            2);
  EXPECT_EQ(labels(five), (std::vector<std::string>{"10-30", "31-50"}));
}

TEST(CreateClasses, QuantileCountsBlanksAsOneZero) {
  ClassMethod method = ClassMethod::quantile;
  ClassTable t;
  // Ten blanks are one "0"; then 1, 2, 3 once each: 4 records into 2 classes of 2.
  const KeyValues v = gather({"", "", "", "", "", "", "", "", "", "", "1", "2", "3"}, kNumber);
  ASSERT_EQ(v.blank_count, 10);
  ASSERT_EQ(create_classes(v, method, 2, false, 4, t), 2);
  EXPECT_EQ(t.value_class, (std::vector<std::uint16_t>{0, 0, 1, 1}));
  EXPECT_EQ(labels(t), (std::vector<std::string>{"0-1", "2-3"}));
}

TEST(CreateClasses, QuantileOfTextAndRealKeys) {
  ClassMethod method = ClassMethod::quantile;
  ClassTable t;
  ASSERT_EQ(create_classes(gather({"A", "B", "M", "N", "Z", "Q"}, kText), method, 2, false, 4, t),
            2);
  EXPECT_EQ(labels(t), (std::vector<std::string>{"A-M", "N-Z"}));
  EXPECT_EQ(class_of_value(t, "C", 0, false, 0), 0);
  EXPECT_EQ(class_of_value(t, "P", 0, false, 0), 1);
  EXPECT_EQ(class_of_value(t, "a", 0, false, 0), -1);  // after "Z" in byte order

  ClassTable r;
  ASSERT_EQ(create_classes(gather({"1.5", "2.5", "12.5", "20.0"}, kNumber), method, 2, false, 4, r),
            2);
  EXPECT_EQ(labels(r), (std::vector<std::string>{"1.5-2.5", "2.500100-20.0"}));
}

TEST(CreateClasses, EqualIntervalsOfIntegersAndReals) {
  ClassMethod method = ClassMethod::equal_intervals;
  ClassTable t;
  std::vector<std::string> ints;
  for (int i = 1; i <= 20; ++i) ints.push_back(std::to_string(i));
  ASSERT_EQ(create_classes(gather(ints, kNumber), method, 4, false, 4, t), 4);
  EXPECT_EQ(labels(t), (std::vector<std::string>{"1-5", "6-10", "11-15", "16-20"}));
  EXPECT_EQ(t.value_class[4], 0);
  EXPECT_EQ(t.value_class[5], 1);
  // Release 2000 labels: " - " between the bounds.
  ClassTable ones;
  ASSERT_EQ(create_classes(gather({"1", "3", "5", "7", "8", "9", "10"}, kNumber), method, 6,
                           false, 7, ones),
            6);
  EXPECT_EQ(labels(ones)[0], "1 - 2");

  ClassTable reals;
  method = ClassMethod::equal_intervals;
  ASSERT_EQ(create_classes(gather({"0.5", "1.0", "2.5", "4.5", "10.5", "12.5", "20.0"}, kNumber),
                           method, 2, false, 4, reals),
            2);
  EXPECT_EQ(labels(reals)[0], "0.500000 - 10.25000");
  EXPECT_EQ(labels(reals)[1], "10.25010 - 20.00000");
  EXPECT_EQ(reals.value_class, (std::vector<std::uint16_t>{0, 0, 0, 0, 1, 1, 1}));
}

TEST(ClassOfValue, GapsGoUpUnlessOutsideValuesAreRefused) {
  ClassTable t;
  t.type = NumberType::integer;
  t.classes = {{"1-5", 1, 5, "", ""}, {"10-20", 10, 20, "", ""}};
  EXPECT_EQ(class_of_value(t, "3", 3, false, 0), 0);
  EXPECT_EQ(class_of_value(t, "7", 7, false, 0), 1);  // in the gap: the class above
  EXPECT_EQ(class_of_value(t, "7", 7, true, 0), -1);
  EXPECT_EQ(class_of_value(t, "0", 0, true, 0), -1);
  EXPECT_EQ(class_of_value(t, "0", 0, false, 0), 0);
  EXPECT_EQ(class_of_value(t, "25", 25, false, 0), -1);  // above every class
}

TEST(ClassOfValue, SearchByHalvesFindsWhatTheWalkFinds) {
  // Built classes of every method, numeric and text, looked up both ways for values inside,
  // between and beyond them; hand-made ranges out of order are not taken as ordered.
  std::vector<std::string> numbers, words;
  for (int i = 0; i < 300; ++i) {
    numbers.push_back(std::to_string((i * 37) % 211 - 50));
    words.push_back(std::string(1, static_cast<char>('a' + i % 26)) + std::to_string(i % 7));
  }
  for (const bool text : {false, true}) {
    for (const auto method :
         {ClassMethod::quantile, ClassMethod::equal_intervals, ClassMethod::unique_values}) {
      for (const int requested : {1, 3, 7, 40}) {
        ClassMethod m = method;
        ClassTable t;
        create_classes(gather(text ? words : numbers, text ? kText : kNumber), m, requested,
                       false, 4, t);
        ASSERT_TRUE(ranges_ordered(t, 0));
        for (int probe = -60; probe < 170; ++probe) {
          const std::string value =
              text ? std::string(1, static_cast<char>('a' + (probe + 60) % 28)) +
                         std::to_string(probe % 9)
                   : std::to_string(probe);
          for (const bool outside : {false, true}) {
            EXPECT_EQ(class_of_value(t, value, probe, outside, 0, true),
                      class_of_value(t, value, probe, outside, 0, false))
                << value << " method " << static_cast<int>(method) << " of " << requested;
          }
        }
      }
    }
  }
  ClassTable unsorted;
  unsorted.type = NumberType::integer;
  unsorted.classes = {{"10-20", 10, 20, "", ""}, {"1-5", 1, 5, "", ""}};
  EXPECT_FALSE(ranges_ordered(unsorted, 0));
  ClassTable overlapping;
  overlapping.classes = {{"A-K", 0, 0, "A", "K"}, {"F-Z", 0, 0, "F", "Z"}};
  EXPECT_FALSE(ranges_ordered(overlapping, 0));
}

}  // namespace
}  // namespace tsn
