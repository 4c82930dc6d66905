// Number formatting of the six display fields.
#include "rtl/Format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(IntToStr, WritesDecimalWithoutPadding) {
    const struct {
        int value;
        const char* expected;
    } cases[] = {{0, "0"},         {7, "7"},   {2021, "2021"},          {9999, "9999"},
                 {10000, "10000"}, {-5, "-5"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::IntToStr(c.value), c.expected) << c.value;
    }
}

TEST(FormatTwoDigits, PadsToTwoDigitsAndNeverCuts) {
    const struct {
        int value;
        const char* expected;
    } cases[] = {{0, "00"},
                 {1, "01"},
                 {9, "09"},
                 {10, "10"},
                 {59, "59"},
                 {99, "99"},
                 {123, "123"},
                 {2021, "2021"},
                 {-5, "-05"},
                 {-42, "-42"},
                 {INT_MIN, "-2147483648"}};
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::FormatTwoDigits(c.value), c.expected) << c.value;
    }
}

} // namespace
