// Labels of a record: one TEXT per non-blank label field in label order, on the layer the label
// layer switch chooses, at the shape's Z with ElevText; nothing for a record of blank fields.
#include "entities/record_annotator.h"

#include <gtest/gtest.h>

#include "classify/rows_table.h"
#include "entities/entities_test_support.h"

namespace tsn {
namespace {

struct Labelled {
  RowsTable table{{{'C', 0, "NAME", 20}, {'C', 0, "CODE", 4}},
                  {{"  Oak Rd ", "R1"}, {"   ", ""}, {"", "R9"}}};
  ConvSettings s;
  test::EntityOutput out{test::text_settings(4)};

  Labelled() {
    s.cur.TextLabels = 1;
    s.def.label_fields[1] = 1;  // CODE first, then NAME
    s.def.label_fields[0] = 2;
    s.def.num_label_fields = 2;
    s.cur.label_position[0] = {238, 0, 0};
  }
  std::string labels_of(std::size_t row, std::optional<double> z = std::nullopt) {
    RecordAnnotator a(s, table, 0, out.w);
    table.begin(row);
    a.begin_record("ROADS");
    a.record_done({5, 5, 5, 5}, z, false);
    return out.text();
  }
};

std::vector<std::string> values(const std::string& text, const std::string& code) {
  std::vector<std::string> out;
  std::size_t at = 0;
  const std::string key = code + "\n";
  while ((at = text.find("\n" + key, at)) != std::string::npos) {
    at += key.size() + 1;
    out.push_back(text.substr(at, text.find('\n', at) - at));
  }
  return out;
}

TEST(RecordLabels, OneTextPerNonBlankFieldInLabelOrder) {
  Labelled l;
  const std::string t = l.labels_of(0);
  EXPECT_EQ(values(t, "1"), (std::vector<std::string>{"R1", "Oak Rd"}));
  EXPECT_EQ(values(t, "8"), (std::vector<std::string>{"TEXT", "TEXT"}));  // the label layer
  Labelled blank;
  EXPECT_EQ(blank.labels_of(1), "");  // every label field blank: nothing
  Labelled one;
  EXPECT_EQ(values(one.labels_of(2), "1"), (std::vector<std::string>{"R9"}));
}

TEST(RecordLabels, LayerPerFieldOrTheRecordsOwn) {
  Labelled per_field;
  per_field.s.cur.flgSingleRedlineLayer = 2;
  EXPECT_EQ(values(per_field.labels_of(0), "8"), (std::vector<std::string>{"CODE", "NAME"}));
  Labelled own;
  own.s.cur.flgSingleRedlineLayer = 0;
  EXPECT_EQ(values(own.labels_of(0), "8"), (std::vector<std::string>{"ROADS", "ROADS"}));
}

TEST(RecordLabels, ElevTextPutsLabelsAtTheShapesZ) {
  Labelled flat;
  ConvSettings three_d = test::text_settings(4);
  three_d.Use2D = 0;
  test::EntityOutput w3(three_d);
  RecordAnnotator a(flat.s, flat.table, 0, w3.w);
  flat.s.cur.ElevText = 1;
  flat.table.begin(0);
  a.begin_record("ROADS");
  a.record_done({5, 5, 5, 5}, 12.5, false);
  EXPECT_EQ(values(w3.text(), " 30"), (std::vector<std::string>{"12.5", "12.5"}));
  flat.s.cur.ElevText = 0;
  a.record_done({5, 5, 5, 5}, 12.5, false);
  EXPECT_EQ(values(w3.text(), " 30").back(), "0.0");
}

}  // namespace
}  // namespace tsn
