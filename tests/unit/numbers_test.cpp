// Reading numbers the two ways the game does, and writing them back.
#include "window/numbers.h"

#include <gtest/gtest.h>

#include <string>

using namespace squeakrun;
using namespace std::string_literals;

TEST(WholeNumber, AcceptsOnlyAFiniteDecimalNumberFillingTheText) {
    EXPECT_EQ(wholeNumber("2"), 2.0);
    EXPECT_EQ(wholeNumber(" 2 "), 2.0);
    EXPECT_EQ(wholeNumber("2.0"), 2.0);
    EXPECT_EQ(wholeNumber("-1"), -1.0);
    EXPECT_EQ(wholeNumber("+3"), 3.0);
    EXPECT_EQ(wholeNumber(".5"), 0.5);
    EXPECT_EQ(wholeNumber("3e0"), 3.0);
    for (const char* bad :
         {"", " ", "2abc", "abc", "nan", "inf", "-inf", "2 3", "0x2", "--2", ".", "2e", "e2", "+", "\xff"})
        EXPECT_FALSE(wholeNumber(bad).has_value()) << '"' << bad << '"';
}

// Past what a double holds, size decides however the exponent is spelled: too small reads as zero.
TEST(WholeNumber, ReadsTheTooSmallAsZeroAndRefusesTheTooLarge) {
    const std::string zeros(400, '0');
    for (const std::string& tiny : {"1e-999"s, "1E-999"s, "-1E-999"s, "0." + zeros + "1",
                                    "0." + zeros + "1e50", "1e-99999999999999999999"s})
        EXPECT_EQ(wholeNumber(tiny), 0.0) << tiny.substr(0, 20);
    for (const std::string& huge : {"1E+999"s, "1" + zeros, "1" + zeros + "e-50", "1e99999999999999999999"s})
        EXPECT_FALSE(wholeNumber(huge).has_value()) << huge.substr(0, 20);
}

TEST(LeadingNumber, TakesTheNumberAtTheStartAndZeroWhenThereIsNone) {
    EXPECT_EQ(leadingNumber("  77 points"), 77);
    EXPECT_EQ(leadingNumber("310"), 310);
    EXPECT_EQ(leadingNumber("-12abc"), -12);
    EXPECT_EQ(leadingNumber("1.5e2x"), 150);
    EXPECT_EQ(leadingNumber("points 77"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("1e999"), 0); // a number too large to hold is no high score
    EXPECT_EQ(leadingNumber(std::string(100000, '9')), 0);
}

TEST(NumberText, WritesTheShortestFormThatReadsBackExactly) {
    EXPECT_EQ(numberText(1490.0), "1490");
    EXPECT_EQ(numberText(0.5), "0.5");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(2345.678f), "2345.678");
    EXPECT_EQ(numberText(40000.0), "40000");
}
