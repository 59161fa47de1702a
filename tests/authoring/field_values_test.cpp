#include "authoring/field_values.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

class FieldValues : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr); }
};

TEST_F(FieldValues, ARealFieldTakesAnyRealThatFitsAFloat) {
  EXPECT_EQ(RealField(" 2.5 ").value, 2.5);
  EXPECT_EQ(RealField("-1e38").value, -1e38);
  EXPECT_EQ(RealField("1e39").fault, "'1e39' is too large for a 32-bit float");
  EXPECT_EQ(RealField("2,5").fault, "'2,5' is not a valid number");
  EXPECT_FALSE(RealField("").value);
}

TEST_F(FieldValues, AWholeFieldTakesWholeValuesInItsRangeWrittenAsReals) {
  EXPECT_EQ(WholeField("5.0", 0, 255).value, 5);
  EXPECT_EQ(WholeField("2e2", 0, 255).value, 200);
  EXPECT_EQ(WholeField("12.5", 0, 255).fault, "'12.5' is not a valid whole number");
  EXPECT_EQ(WholeField("300", 0, 255).fault, "'300' is out of the range 0..255");
  EXPECT_EQ(WholeField("-1", -1, 0).value, -1);
}

TEST_F(FieldValues, ACountFieldTakesOnlyDigits) {
  EXPECT_EQ(CountField("+7").value, 7);
  EXPECT_EQ(CountField("7.0").fault, "'7.0' is not a valid whole number");
  EXPECT_EQ(CountField("-3").fault, "'-3' is out of range: the value must not be negative");
  EXPECT_EQ(CountField("2147483648").fault, "'2147483648' is not a valid whole number");
}

}  // namespace
