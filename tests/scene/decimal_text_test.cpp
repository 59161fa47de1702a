#include "scene/decimal_text.h"

#include <clocale>
#include <cmath>

#include <gtest/gtest.h>

TEST(FormatFixed, WritesTheDocumentedExamples) {
  EXPECT_EQ(FormatFixed(2.928f, 4, 4), "2.9280");
  EXPECT_EQ(FormatFixed(-4.389f, 4, 4), "-4.3890");
  EXPECT_EQ(FormatFixed(0.0339f, 4, 4), "0.0339");
  EXPECT_EQ(FormatFixed(597.8f, 4, 4), "597.8000");
  EXPECT_EQ(FormatFixed(123.456, 4, 4), "123.5000");
  EXPECT_EQ(FormatFixed(0.00004, 4, 4), "0.0000");
  EXPECT_EQ(FormatFixed(0.0002f, 4, 4), "0.0002");
  EXPECT_EQ(FormatFixed(0.01f, 4, 4), "0.0100");
  EXPECT_EQ(FormatFixed(300, 4, 4), "300.0000");
  EXPECT_EQ(FormatFixed(0.4f, 4, 4), "0.4000");
  EXPECT_EQ(FormatFixed(0.001f, 4, 4), "0.0010");
  EXPECT_EQ(FormatFixed(157.4, 3, 0), "157");
  EXPECT_EQ(FormatFixed(0.6, 1, 0), "1");
  EXPECT_EQ(FormatFixed(255, 3, 0), "255");
  EXPECT_EQ(FormatFixed(65535, 5, 0), "65535");
}

TEST(FormatFixed, NeverWritesMinusZero) {
  EXPECT_EQ(FormatFixed(-0.00001, 4, 4), "0.0000");
  EXPECT_EQ(FormatFixed(-0.2, 1, 0), "0");
}

TEST(FormatFixed, UsesExponentWhenTheIntegerPartIsTooLongAndReadsBack) {
  EXPECT_EQ(FormatFixed(1000, 3, 0), "1.00E+3");
  EXPECT_EQ(FormatFixed(12346, 4, 4), "1.235E+4");
  EXPECT_EQ(FormatFixed(999.6, 3, 0), "1.00E+3");  // rounding carries into a fourth digit
  EXPECT_EQ(ParseReal(FormatFixed(-98766, 4, 4)), -98770.0);
}

TEST(ParseReal, AcceptsDecimalNumbersOnly) {
  EXPECT_EQ(ParseReal("2.9280"), 2.928);
  EXPECT_EQ(ParseReal("-4.389"), -4.389);
  EXPECT_EQ(ParseReal("+5"), 5.0);
  EXPECT_EQ(ParseReal(".5"), 0.5);
  EXPECT_EQ(ParseReal("5."), 5.0);
  EXPECT_EQ(ParseReal(" 1e-3 "), 0.001);
  EXPECT_EQ(ParseReal("1E+3"), 1000.0);
  for (const char* bad :
       {"", " ", "-", ".", "1e", "1e+", "abc", "2,9280", "1.2.3", "nan", "inf", "0x10", "1 2", "--1", "1,000"})
    EXPECT_FALSE(ParseReal(bad).has_value()) << "'" << bad << "'";
}

TEST(ParseReal, HugeExponentIsInfiniteAndTinyIsZero) {
  EXPECT_TRUE(std::isinf(*ParseReal("1e400")));
  EXPECT_EQ(ParseReal("1e-400"), 0.0);
}

TEST(ParseInteger, AcceptsTheSigned32BitRange) {
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseInteger(" +12 "), 12);
  for (const char* bad : {"", "2147483648", "1.0", "+-1", "-", "12a", "1e3"})
    EXPECT_FALSE(ParseInteger(bad).has_value()) << "'" << bad << "'";
}

// Under a language setting that writes decimals with a comma, numbers read with either separator and are
// written with "." (Turkish also maps i and I unlike the C locale, which no number text may depend on).
class CommaLocale : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr) << GetParam() << ": tools/setup.sh makes this locale";
  }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_P(CommaLocale, ReadsBothSeparatorsAndWritesAPoint) {
  EXPECT_EQ(DecimalSeparator(), ',');
  EXPECT_EQ(ParseReal("2,9280"), 2.928);
  EXPECT_EQ(ParseReal("2.9280"), 2.928);
  EXPECT_EQ(ParseReal("-1,5E+3"), -1500.0);
  EXPECT_EQ(ParseReal("1.2,3"), std::nullopt);
  EXPECT_EQ(FormatFixed(2.928f, 4, 4), "2.9280");
  EXPECT_EQ(FormatFixed(12346, 4, 4), "1.235E+4");
  EXPECT_EQ(FormatFixed(-0.00001, 4, 4), "0.0000");
  EXPECT_EQ(FormatShortest(0.001f), "0.001");
  EXPECT_EQ(FormatShortest(2.35f), "2.35");
}

INSTANTIATE_TEST_SUITE_P(GermanAndTurkish, CommaLocale, ::testing::Values("de_DE.UTF-8", "tr_TR.UTF-8"));
