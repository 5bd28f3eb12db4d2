// The numbered field list of the run summary: numbering, wrapping and unprintable names.
#include "run/field_listing.h"

#include <gtest/gtest.h>

namespace tsn {
namespace {

dbf_field field(const char* name, char type) {
  dbf_field f;
  f.name = name;
  f.type = type;
  return f;
}

TEST(FieldListing, NumbersFromZeroWrapsBeforeTheWidthAndHidesControlCharacters) {
  EXPECT_EQ(field_listing({}), "");
  EXPECT_EQ(field_listing({field("NAME", 'C'), field("AREA", 'N')}),
            "\n  fields 0 NAME (C), 1 AREA (N)");
  EXPECT_EQ(field_listing({field("A\rB", 'C'), field("LONGNAME", 'F'), field("X", 'N')}, 30),
            "\n  fields 0 A?B (C),"
            "\n         1 LONGNAME (F),"
            "\n         2 X (N)");
  std::vector<dbf_field> many(40, field("FIELD", 'N'));
  const std::string text = field_listing(many, 80);
  std::size_t start = 0;
  int lines = 0;
  for (std::size_t nl = text.find('\n', 1); start != std::string::npos; ++lines) {
    const std::size_t end = nl == std::string::npos ? text.size() : nl;
    EXPECT_LT(end - start - 1, 80u) << text.substr(start, end - start);
    start = nl;
    if (nl != std::string::npos) nl = text.find('\n', nl + 1);
  }
  EXPECT_GT(lines, 5);
  EXPECT_NE(text.find(" 39 FIELD (N)"), std::string::npos);
}

}  // namespace
}  // namespace tsn
