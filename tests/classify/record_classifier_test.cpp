// Records sorted into layer and colour classes: class labels as layers, class colours, records
// outside the classes (not drawn, or drawn in stand-by colours), and the default key fields.
#include "classify/record_classifier.h"

#include <gtest/gtest.h>

#include <array>

#include "classify/key_choice.h"
#include "classify/rows_table.h"

namespace tsn {
namespace {

KeyOptions unique_values(int field, bool layer_key) {
  KeyOptions options;
  options.field = field;
  options.method = ClassMethod::unique_values;
  options.requested = 5;
  options.layer_key = layer_key;
  return options;
}

TEST(FieldKey, BuiltFromItsFieldAndLookedUpPerRecord) {
  RowsTable table({"Oak", "Elm", "Oak", "Ash"});
  FieldKey key;
  KeyOptions options = unique_values(0, true);
  prepare_field_key(key, table, options);
  ASSERT_TRUE(key.active);
  ASSERT_EQ(key.classes.classes.size(), 3u);
  EXPECT_EQ(key.classes.classes[2].label, "OAK");  // a layer name

  std::string_view text;
  table.begin(0);
  EXPECT_EQ(key.class_of_record(table, text), 2);
  EXPECT_EQ(text, "Oak");

  // A field that does not exist, or a table without rows: nothing to classify.
  options.field = 3;
  prepare_field_key(key, table, options);
  EXPECT_FALSE(key.active);
  RowsTable empty(std::vector<std::string>{});
  options.field = 0;
  prepare_field_key(key, empty, options);
  EXPECT_FALSE(key.active);

  // A method the values cannot have is written back: Equal Intervals on text is Quantile.
  RowsTable many({"a", "b", "c", "d", "e", "f", "g"});
  options.method = ClassMethod::equal_intervals;
  options.requested = 2;
  prepare_field_key(key, many, options);
  EXPECT_EQ(options.method, ClassMethod::quantile);
  EXPECT_EQ(key.classes.classes.size(), 2u);
}

struct Keyed {
  RowsTable table{{{'C', 0, "NAME", 20}, {'N', 0, "RANK", 4}},
                  {{"Oak", "1"}, {"Elm", "2"}, {"Yew", "9"}, {"Oak", "1"}, {"Fir", "7"},
                   {"Fir", "8"}, {"Ash", "7"}}};
  std::array<std::uint8_t, 1024> colours{};
  RecordClassifier c;

  Keyed() {
    for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<std::uint8_t>(10 + i % 200);
    c.class_colours = &colours;
  }
  RecordClass at(std::size_t row, const std::string*& layer, int& colour) {
    table.begin(row);
    return c.classify(table, layer, colour);
  }
};

TEST(RecordClassifier, LayerOutsideIsNotDrawnColourOutsideTakesStandByColours) {
  Keyed k;
  KeyOptions layer = unique_values(0, true);
  prepare_field_key(k.c.layer, k.table, layer);
  KeyOptions colour = unique_values(1, false);
  prepare_field_key(k.c.colour, k.table, colour);
  // Hand-made ranges: layers A..G only; colours 1-2 and 3-5.
  k.c.layer.classes.classes = {{"A_TO_G", 0, 0, "A", "G"}};
  k.c.colour.outside_flag = true;
  k.c.colour.classes.classes = {{"1-2", 1, 2, "", ""}, {"3-5", 3, 5, "", ""}};
  k.c.start_file();

  const std::string* name = nullptr;
  int colour_number = -1;
  EXPECT_EQ(k.at(1, name, colour_number), RecordClass::matched);  // Elm, 2
  EXPECT_EQ(*name, "A_TO_G");
  EXPECT_EQ(colour_number, 10);

  // Oak lies above every layer class: not drawn, counted, the layer of class 0 meanwhile.
  EXPECT_EQ(k.at(0, name, colour_number), RecordClass::outside_layers);
  EXPECT_EQ(k.c.layer_outside, 1);

  // Fir, 7 and Fir, 8 and Ash, 7: colour values outside; the first takes class colour 0, a
  // different value the next colour, an equal neighbour keeps it.
  EXPECT_EQ(k.at(4, name, colour_number), RecordClass::outside_colours);
  EXPECT_EQ(colour_number, 10);
  EXPECT_EQ(k.at(5, name, colour_number), RecordClass::outside_colours);
  EXPECT_EQ(colour_number, 11);
  EXPECT_EQ(k.at(6, name, colour_number), RecordClass::outside_colours);
  EXPECT_EQ(colour_number, 12);
  EXPECT_EQ(k.at(6, name, colour_number), RecordClass::outside_colours);
  EXPECT_EQ(colour_number, 12);
  EXPECT_EQ(k.c.colour_outside, 4);

  // Outside both: the layer result wins, both counts grow.
  EXPECT_EQ(k.at(2, name, colour_number), RecordClass::outside_layers);
  EXPECT_EQ(k.c.layer_outside, 2);
  EXPECT_EQ(k.c.colour_outside, 5);

  // A new file starts the stand-by colours and the counts again.
  k.c.start_file();
  EXPECT_EQ(k.at(5, name, colour_number), RecordClass::outside_colours);
  EXPECT_EQ(colour_number, 10);
  EXPECT_EQ(k.c.colour_outside, 1);
  EXPECT_EQ(k.c.layer_outside, 0);
}

TEST(RecordClassifier, InactiveKeysLeaveLayerAndColourAlone) {
  Keyed k;
  const std::string* name = nullptr;
  int colour_number = -1;
  EXPECT_EQ(k.at(0, name, colour_number), RecordClass::matched);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(colour_number, -1);
}

std::vector<dbf_field> named(const std::vector<std::string>& names) {
  std::vector<dbf_field> out;
  for (const std::string& n : names) out.push_back({'C', 0, n, 10});
  return out;
}

TEST(KeyChoice, RememberedNamesThenClassNamesThenPlausibleFields) {
  ConvSettings s;
  const auto fields = named({"OBJ_ID", "AREA", "Zone_Code", "Region", "Owner"});
  EXPECT_EQ(default_layer_key(fields, s, 2), 3);  // REGION is a class-like name
  s.recent_layer_keys[0] = "missing";
  s.recent_layer_keys[1] = "owner";
  EXPECT_EQ(default_layer_key(fields, s, 2), 4);
  s.def.LayersKey = "AREA";
  EXPECT_EQ(default_layer_key(fields, s, 2), 1);

  // Measures and identifiers are passed over; AREA only counts as one for polygons.
  const ConvSettings plain;
  const auto measures = named({"ROAD_ID", "AREA", "NAME"});
  EXPECT_EQ(default_layer_key(measures, plain, 2), 2);
  EXPECT_EQ(default_layer_key(measures, plain, 1), 1);
  EXPECT_EQ(default_layer_key(named({"SHAPE_LENG", "X"}), plain, 1), 0);
  EXPECT_EQ(default_layer_key(named({"LENGTH", "POPULATION"}), plain, 0), 0);  // none: field 0
  EXPECT_EQ(default_layer_key({}, plain, 0), -1);
}

TEST(KeyChoice, ColourKeyPrefersItsNameThenColorThenRecentThenTheLayerRule) {
  ConvSettings s;
  const auto fields = named({"ID", "NAME", "Color", "TYPE"});
  EXPECT_EQ(default_colour_key(fields, s, 1), 2);
  s.def.ColoursKey = "type";
  EXPECT_EQ(default_colour_key(fields, s, 1), 3);
  const ConvSettings plain;
  EXPECT_EQ(default_colour_key(named({"ID", "NAME", "TYPE"}), plain, 1), 2);
  EXPECT_TRUE(names_colour_numbers("Pen"));
  EXPECT_TRUE(names_colour_numbers("COLOR"));
  EXPECT_FALSE(names_colour_numbers("COLOUR_NAME"));
}

}  // namespace
}  // namespace tsn
