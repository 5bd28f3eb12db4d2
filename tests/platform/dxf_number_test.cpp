// Real and handle texts: fixed notation with DecPlaces decimals, the trimming rule, no "-0",
// the exponent form of huge values, zero for non-finite ones, and handles right-aligned in eight
// columns.
#include "platform/dxf_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace tsn {
namespace {

std::string real(double value, int places) {
  RealText t;
  format_real(value, places, t);
  return std::string(t.view());
}

std::string trimmed(double value, int places) {
  RealText t;
  format_real_trimmed(value, places, t);
  return std::string(t.view());
}

std::string trim(std::string text) {
  text.resize(trim_real(text.data(), text.size()));
  return text;
}

std::string handle(std::uint32_t h) {
  char text[kHandleTextSize];
  format_handle(h, text);
  return std::string(text, kHandleTextSize);
}

TEST(RealFormat, SixPlacesGivesFixedNotationWithSixDecimals) {
  EXPECT_EQ(real(1.5, 6), "1.500000");
  EXPECT_EQ(real(2.0, 6), "2.000000");
  EXPECT_EQ(real(-3.0, 6), "-3.000000");
  EXPECT_EQ(real(0.0, 6), "0.000000");
  // 123456.789 is stored as 123456.78900000000430...; six decimals show 789000.
  EXPECT_EQ(real(123456.789, 6), "123456.789000");
}

TEST(RealFormat, RoundsAtTheLastDigitFromTheStoredBinaryValue) {
  // 1.0000005 is stored as 1.00000050000000006988...: above the tie, so up.
  EXPECT_EQ(real(1.0000005, 6), "1.000001");
  // 0.9999996 is stored as 0.99999959999999998849...: rounds up across the point.
  EXPECT_EQ(real(0.9999996, 6), "1.000000");
  // 2.675 is stored as 2.67499999999999982236...: down, whatever the sign.
  EXPECT_EQ(real(2.675, 2), "2.67");
  EXPECT_EQ(real(-2.675, 2), "-2.67");
  // Exact ties go to the even digit, as printf does.
  EXPECT_EQ(real(0.125, 2), "0.12");
  EXPECT_EQ(real(2.5, 0), "2");
  EXPECT_EQ(real(3.5, 0), "4");
  EXPECT_EQ(real(1.5, 0), "2");
}

// printf itself, with the minus sign of a result that shows only zeros dropped.
std::string printf_real(double value, int places) {
  char text[400];
  const int n = std::snprintf(text, sizeof text, "%.*f", places, value);
  std::string s(text, static_cast<std::size_t>(n));
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

// Binary ties (k + 1/2 units of the last decimal, exactly representable), their neighbours one
// unit in the last binary place away, decimal half-way points, and random values of every
// magnitude: the fast path must round each of them as printf does.
TEST(RealFormat, AgreesWithPrintfOnTiesNeighboursAndRandomValuesTrimmedOrNot) {
  std::vector<double> values;
  for (int k = -64; k <= 64; ++k) {
    for (int shift = 0; shift <= 12; ++shift) values.push_back(std::ldexp(k, -shift));
  }
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-30, 60);
  for (int i = 0; i < 20000; ++i) {
    values.push_back(std::ldexp(unit(random), exponent(random)));
    // A decimal half-way point at some precision, as the nearest double.
    const int places = i % (kMaxDecPlaces + 1);
    const double half = (std::floor(unit(random) * 1e6) + 0.5) / std::pow(10.0, places);
    values.push_back(half);
  }
  const std::size_t base = values.size();
  for (std::size_t i = 0; i < base; ++i) {
    values.push_back(std::nextafter(values[i], INFINITY));
    values.push_back(std::nextafter(values[i], -INFINITY));
  }
  values.insert(values.end(), {4503599627370495.5, 4503599627370496.0, 9007199254740993.0,
                               -4503599627370495.5, 1e-300, -1e-300, 0.5, -0.5, 1.5, -2.5});
  int mismatches = 0;
  for (const double v : values) {
    for (int places = 0; places <= kMaxDecPlaces; ++places) {
      const std::string expected = printf_real(v, places);
      const std::string got = real(v, places);
      if (got != expected && ++mismatches <= 10) {
        ADD_FAILURE() << std::hexfloat << v << " places " << places << ": " << got << " vs "
                      << expected;
      }
      const std::string got_trimmed = trimmed(v, places);
      if (got_trimmed != trim(expected) && ++mismatches <= 10) {
        ADD_FAILURE() << std::hexfloat << v << " places " << places << " trimmed: " << got_trimmed
                      << " vs " << trim(expected);
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(RealFormat, NeverWritesMinusZero) {
  EXPECT_EQ(real(-0.0, 6), "0.000000");
  EXPECT_EQ(real(-0.0, 0), "0");
  EXPECT_EQ(real(-1e-7, 6), "0.000000");
  EXPECT_EQ(real(-0.5, 0), "0");
  EXPECT_EQ(trimmed(-0.0, 6), "0.0");
  EXPECT_EQ(trimmed(-1e-7, 16), "-0.0000001");
  EXPECT_EQ(real(-0.6, 0), "-1");
}

// Fixed notation up to 1e21 (exclusive), the shortest exponent form from there, zero for
// values that are no numbers; tiny values keep their fixed zeros.
TEST(RealFormat, HugeValuesInExponentFormNonFiniteAsZero) {
  const double below = std::nextafter(1e21, 0.0);
  struct Case {
    double value;
    int places;
    std::string written, trimmed_text;
  };
  const std::vector<Case> cases = {
      {1e15, 16, "1000000000000000.0000000000000000", "1000000000000000.0"},
      {1e20, 6, "100000000000000000000.000000", "100000000000000000000.0"},
      {-below, 0, "-999999999999999868928", "-999999999999999868928"},
      {1e21, 6, "1.0E+21", "1.0E+21"},
      {-2.5e21, 0, "-2.5E+21", "-2.5E+21"},
      {1e300, 16, "1.0E+300", "1.0E+300"},
      {-1e300, 6, "-1.0E+300", "-1.0E+300"},
      {DBL_MAX, 6, "1.7976931348623157E+308", "1.7976931348623157E+308"},
      {-DBL_MAX, 16, "-1.7976931348623157E+308", "-1.7976931348623157E+308"},
      {1e-300, 6, "0.000000", "0.0"},
      {-DBL_TRUE_MIN, 16, "0.0000000000000000", "0.0"},
      {NAN, 6, "0.000000", "0.0"},
      {-NAN, 0, "0", "0"},
      {INFINITY, 3, "0.000", "0.0"},
      {-INFINITY, 16, "0.0000000000000000", "0.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    EXPECT_EQ(real(c.value, c.places), c.written);
    EXPECT_EQ(trimmed(c.value, c.places), c.trimmed_text);
  }
  EXPECT_EQ(real(below, 16), printf_real(below, 16));
  // Every exponent text reads back as the very same double.
  std::mt19937_64 random(20261209);
  std::uniform_int_distribution<std::uint64_t> bits(0x4450000000000000ULL, 0x7FEFFFFFFFFFFFFFULL);
  for (int i = 0; i < 20000; ++i) {
    const double v = std::bit_cast<double>(bits(random)) * (i % 2 ? -1.0 : 1.0);
    const std::string text = trimmed(v, i % (kMaxDecPlaces + 1));
    ASSERT_LE(text.size(), 24u) << text;
    ASSERT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
  }
}

TEST(RealFormat, PlacesOutsideZeroToSixteenAreHeldAtTheLimits) {
  EXPECT_EQ(real(0.1, 17), "0.1000000000000000");
  EXPECT_EQ(real(1.25, -1), "1");
}

TEST(TrimReal, RemovesTrailingZerosDownToOneDecimal) {
  EXPECT_EQ(trim("1.500000"), "1.5");
  EXPECT_EQ(trim("2.000000"), "2.0");
  EXPECT_EQ(trim("-3.000000"), "-3.0");
  EXPECT_EQ(trim("0.000000"), "0.0");
  EXPECT_EQ(trim("100.100"), "100.1");
  EXPECT_EQ(trim("1000000000000000.0000000000000000"), "1000000000000000.0");
}

TEST(TrimReal, LeavesTextsWithoutAPointBeforeTheirLastCharacterAlone) {
  EXPECT_EQ(trim("12"), "12");
  EXPECT_EQ(trim("100"), "100");
  EXPECT_EQ(trim("0"), "0");
  EXPECT_EQ(trim("10."), "10.");
  EXPECT_EQ(trim("2.0"), "2.0");
  EXPECT_EQ(trim(""), "");
}

TEST(TrimReal, KeepsZerosBeforeTheLastSignificantDigit) {
  EXPECT_EQ(trim("1.050000"), "1.05");
  EXPECT_EQ(trim("100.000100"), "100.0001");
  EXPECT_EQ(trim("1.000001"), "1.000001");
}

TEST(TrimmedReal, ZeroPlacesGivesWholeNumbers) {
  EXPECT_EQ(trimmed(12.0, 0), "12");
  EXPECT_EQ(trimmed(100.0, 0), "100");
  EXPECT_EQ(trimmed(-7.4, 0), "-7");
  EXPECT_EQ(trimmed(1e15, 0), "1000000000000000");
}

TEST(TrimmedReal, SixteenPlacesStillTrimToOneDecimal) {
  EXPECT_EQ(trimmed(1.5, 16), "1.5");
  EXPECT_EQ(trimmed(2.0, 16), "2.0");
  // 0.1 is stored as 0.10000000000000000555...: sixteen decimals show 1 then zeros.
  EXPECT_EQ(trimmed(0.1, 16), "0.1");
  // 1/3 is stored as 0.33333333333333331482...; 2/3 as 0.66666666666666662965...
  EXPECT_EQ(trimmed(1.0 / 3.0, 16), "0.3333333333333333");
  EXPECT_EQ(trimmed(2.0 / 3.0, 16), "0.6666666666666666");
  EXPECT_EQ(trimmed(1e15, 16), "1000000000000000.0");
  EXPECT_EQ(trimmed(-250.25, 16), "-250.25");
}

TEST(HandleText, IsUpperCaseHexRightAlignedInEightColumns) {
  EXPECT_EQ(handle(0x22), "      22");
  EXPECT_EQ(handle(0x2F), "      2F");
  EXPECT_EQ(handle(0), "       0");
  EXPECT_EQ(handle(0xABCDEF), "  ABCDEF");
  EXPECT_EQ(handle(0xFFFFFFFFu), "FFFFFFFF");
  EXPECT_EQ(handle(0x10000000u), "10000000");
}

}  // namespace
}  // namespace tsn
