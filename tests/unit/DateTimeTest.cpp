// Building and splitting TDateTime values: calendar rules, the two encode errors, rounding to
// whole milliseconds with its carry, and the "day minus time of day" encoding before day 0.
#include "rtl/DateTime.h"
#include "DateTimeTestSupport.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace {

using rtl::TDateTime;
using rtl_test::Describe;
using rtl_test::Fields;

constexpr double kMsPerDay = 86'400'000.0;

// Runs action and returns the message of the EConvertError it throws ("" when none).
std::string ConvertErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const rtl::EConvertError& error) {
        return error.what();
    }
    return "";
}

TEST(CalendarRules, LeapYears) {
    const struct {
        int year;
        bool leap;
    } cases[] = {{2024, true}, {2023, false}, {2000, true}, {1900, false}, {2100, false},
                 {1600, true}, {4, true},     {1, false},   {9999, false}, {0, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::IsLeapYear(c.year), c.leap) << c.year;
    }
}

TEST(CalendarRules, MonthLengths) {
    const int common[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(rtl::DaysInMonth(2023, month), common[month - 1]) << month;
        EXPECT_EQ(rtl::DaysInMonth(2024, month), month == 2 ? 29 : common[month - 1]) << month;
    }
    EXPECT_EQ(rtl::DaysInMonth(1900, 2), 28);
    EXPECT_EQ(rtl::DaysInMonth(2000, 2), 29);
    EXPECT_EQ(ConvertErrorOf([] { rtl::DaysInMonth(2023, 0); }), rtl::kInvalidDateEncode);
    EXPECT_EQ(ConvertErrorOf([] { rtl::DaysInMonth(2023, 13); }), rtl::kInvalidDateEncode);
}

TEST(EncodeDate, CountsDaysFromThirtiethOfDecember1899) {
    const struct {
        int year, month, day;
        double expected;
    } cases[] = {
        {1899, 12, 30, 0},   {1899, 12, 31, 1},       {1900, 1, 1, 2},
        {1899, 12, 29, -1},  {1900, 2, 28, 60},       {1900, 3, 1, 61}, // 1900 not leap
        {2000, 1, 1, 36526}, {2021, 9, 9, 44448},     {2024, 2, 29, 45351},
        {1, 1, 1, -693593},  {9999, 12, 31, 2958465}, {1800, 3, 1, -36463},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::EncodeDate(c.year, c.month, c.day), c.expected)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(EncodeDate, RejectsFieldsOutsideTheCalendar) {
    const struct {
        int year, month, day;
    } cases[] = {{0, 1, 1},     {10000, 1, 1}, {-1, 6, 1},    {2021, 0, 1},
                 {2021, 13, 1}, {2021, 2, 29}, {2024, 2, 30}, {1900, 2, 29},
                 {2021, 4, 31}, {2021, 1, 0},  {2021, 1, 32}, {2021, 1, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertErrorOf([&] { rtl::EncodeDate(c.year, c.month, c.day); }),
                  "Invalid argument to date encode")
            << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(ConvertErrorOf([&] { rtl::EncodeDateTime(c.year, c.month, c.day, 0, 0, 0, 0); }),
                  "Invalid argument to date encode")
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(EncodeTime, RejectsFieldsOutsideTheDay) {
    const struct {
        int hour, minute, second, millisecond;
    } cases[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000},
                 {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(
            ConvertErrorOf([&] { rtl::EncodeTime(c.hour, c.minute, c.second, c.millisecond); }),
            "Invalid argument to time encode")
            << c.hour << ":" << c.minute << ":" << c.second << "." << c.millisecond;
        EXPECT_EQ(ConvertErrorOf([&] {
                      rtl::EncodeDateTime(2021, 9, 9, c.hour, c.minute, c.second, c.millisecond);
                  }),
                  "Invalid argument to time encode");
    }
    // A bad date is reported before a bad time.
    EXPECT_EQ(ConvertErrorOf([] { rtl::EncodeDateTime(2021, 2, 30, 24, 0, 0, 0); }),
              rtl::kInvalidDateEncode);
    // The error is an rtl::Exception as well, with the same message.
    try {
        rtl::EncodeTime(0, 0, 0, 1000);
        FAIL() << "no exception";
    } catch (const rtl::Exception& error) {
        EXPECT_EQ(error.Message(), rtl::kInvalidTimeEncode);
    }
}

TEST(EncodeTime, IsTheFractionOfTheDay) {
    EXPECT_EQ(rtl::EncodeTime(0, 0, 0, 0), 0.0);
    EXPECT_EQ(rtl::EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(rtl::EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_EQ(rtl::EncodeTime(23, 59, 59, 999), 86'399'999 / kMsPerDay);
    EXPECT_EQ(rtl::EncodeTime(7, 5, 3, 1), 25'503'001 / kMsPerDay);
}

TEST(EncodeDateTime, BeforeDayZeroIsTheDayMinusTheTimeOfDay) {
    EXPECT_EQ(rtl::EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_EQ(rtl::EncodeDateTime(1899, 12, 28, 18, 0, 0, 0), -2.75);
    EXPECT_EQ(rtl::EncodeDateTime(1899, 12, 30, 6, 0, 0, 0), 0.25);
    EXPECT_EQ(rtl::EncodeDateTime(2021, 9, 9, 12, 0, 0, 0), 44448.5);
}

// Encoding fields and splitting the value again gives the same fields, with the day of week.
TEST(DecodeDateTime, SplitsWhatWasBuilt) {
    const rtl::DateTimeFields cases[] = {
        Fields(1899, 12, 30, 0, 0, 0, 0, 6),      Fields(2021, 9, 9, 7, 5, 3, 0, 4),
        Fields(2024, 2, 29, 23, 59, 59, 999, 4),  Fields(1, 1, 1, 0, 0, 0, 0, 1),
        Fields(9999, 12, 31, 23, 59, 59, 999, 5), Fields(1899, 12, 29, 6, 0, 0, 0, 5),
        Fields(1800, 3, 1, 12, 34, 56, 789, 6),   Fields(1900, 2, 28, 0, 0, 0, 1, 3),
        Fields(1900, 3, 1, 23, 0, 0, 0, 4),       Fields(2022, 1, 1, 0, 0, 0, 0, 6),
        Fields(1, 1, 1, 23, 59, 59, 999, 1),      Fields(1899, 12, 28, 0, 0, 0, 1, 4),
    };
    for (const auto& expected : cases) {
        const TDateTime value = rtl::DateTimeFromFields(expected);
        EXPECT_EQ(Describe(rtl::DecodeDateTime(value)), Describe(expected));
    }
}

// Values that are not a whole number of milliseconds: rounded half to even first, and the date is
// taken from the rounded count, so the rounding can carry into the next day.
TEST(DecodeDateTime, RoundsToWholeMillisecondsBeforeSplitting) {
    const double day20210909 = 44448;
    const double day20211231 = 44561;
    const struct {
        const char* what;
        TDateTime value;
        rtl::DateTimeFields expected;
    } cases[] = {
        {"10:30:59.9996 rounds up to the next minute", day20210909 + 37'859'999.6 / kMsPerDay,
         Fields(2021, 9, 9, 10, 31, 0, 0, 4)},
        {"10:30:59.999 keeps its second", day20210909 + 37'859'999.0 / kMsPerDay,
         Fields(2021, 9, 9, 10, 30, 59, 999, 4)},
        {"10:30:59.9994 rounds down", day20210909 + 37'859'999.4 / kMsPerDay,
         Fields(2021, 9, 9, 10, 30, 59, 999, 4)},
        {"23:59:59.9996 carries into the next year", day20211231 + 86'399'999.6 / kMsPerDay,
         Fields(2022, 1, 1, 0, 0, 0, 0, 6)},
        {"an exact half goes to the even neighbour (42187.5 -> 42188)", 1.0 / 2048,
         Fields(1899, 12, 30, 0, 0, 42, 188, 6)},
        {"an exact half goes to the even neighbour (126562.5 -> 126562)", 3.0 / 2048,
         Fields(1899, 12, 30, 0, 2, 6, 562, 6)},
        {"just above an exact half goes up", std::nextafter(3.0 / 2048, 1.0),
         Fields(1899, 12, 30, 0, 2, 6, 563, 6)},
        {"just below an exact half goes down", std::nextafter(1.0 / 2048, 0.0),
         Fields(1899, 12, 30, 0, 0, 42, 187, 6)},
        {"before day 0: -1.25 is 29 Dec 1899 06:00", -1.25, Fields(1899, 12, 29, 6, 0, 0, 0, 5)},
        {"between -1 and 0 the day is day 0", -0.25, Fields(1899, 12, 30, 6, 0, 0, 0, 6)},
        {"before day 0 the carry moves to the day further from zero",
         -(1 + 86'399'999.6 / kMsPerDay), Fields(1899, 12, 28, 0, 0, 0, 0, 4)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Describe(rtl::DecodeDateTime(c.value)), Describe(c.expected)) << c.what;
    }
}

TEST(DecodeDateTime, ValuesBeforeYearOneHaveNoDate) {
    // One millisecond before 1 January of year 1: 31 December of year 0, a Sunday.
    const TDateTime value = rtl::FromLinearMilliseconds(-693'593 * std::int64_t{86'400'000} - 1);
    EXPECT_EQ(Describe(rtl::DecodeDateTime(value)), Describe(Fields(0, 0, 0, 23, 59, 59, 999, 0)));
    // The linear split keeps the proleptic date.
    EXPECT_EQ(Describe(rtl::DecodeLinearMilliseconds(-693'593 * std::int64_t{86'400'000} - 1)),
              Describe(Fields(0, 12, 31, 23, 59, 59, 999, 0)));
}

TEST(DecodeDateTime, RejectsValuesWithoutADate) {
    const double huge = 1e300;
    const TDateTime cases[] = {std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               huge,
                               -huge,
                               rtl::EncodeDate(9999, 12, 31) * 10, // about year 81,000
                               -13'000'000.0};                     // before year -32767
    for (const TDateTime value : cases) {
        EXPECT_EQ(ConvertErrorOf([&] { rtl::DecodeDateTime(value); }), rtl::kDateTimeOutOfRange)
            << value;
    }
}

TEST(DateTimeFromFields, BuildsTheClockReading) {
    // The day of week of the clock's reading plays no part.
    EXPECT_EQ(rtl::DateTimeFromFields(Fields(2021, 9, 9, 7, 5, 3, 250, 0)),
              44448 + 25'503'250 / kMsPerDay);
    EXPECT_EQ(ConvertErrorOf([] { rtl::DateTimeFromFields(Fields(10000, 1, 1, 0, 0, 0, 0)); }),
              "Invalid argument to date encode");
    EXPECT_EQ(ConvertErrorOf([] { rtl::DateTimeFromFields(Fields(2021, 9, 9, 24, 0, 0, 0)); }),
              "Invalid argument to time encode");
}

TEST(LinearMilliseconds, ConvertsBothEncodings) {
    const struct {
        TDateTime value;
        std::int64_t linear;
    } cases[] = {
        {0.0, 0},
        {1.5, 129'600'000},
        {-1.25, -64'800'000},  // 29 Dec 1899 06:00
        {-1.0, -86'400'000},   // 29 Dec 1899 00:00
        {-2.75, -108'000'000}, // 28 Dec 1899 18:00
        {-0.25, 21'600'000},   // read as day 0 06:00
        {44448.5, 44448 * std::int64_t{86'400'000} + 43'200'000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::ToLinearMilliseconds(c.value), c.linear) << c.value;
        if (c.value != -0.25) { // -0.25 and 0.25 are the same moment; 0.25 is the canonical one
            EXPECT_EQ(rtl::FromLinearMilliseconds(c.linear), c.value) << c.linear;
        }
    }
}

// Every whole millisecond survives the trip through a double, across day 0 and out to the edges
// of the supported years.
TEST(LinearMilliseconds, RoundTripIsExact) {
    const std::int64_t msPerDay = 86'400'000;
    const std::int64_t starts[] = {
        -3 * msPerDay,              // around day 0
        -693'593 * msPerDay - 5000, // around 1 January of year 1
        2'958'465 * msPerDay,       // 31 December 9999
        -12'000'000 * msPerDay,     // far before year 1
        11'000'000 * msPerDay,      // far after 9999
    };
    for (const std::int64_t start : starts) {
        // Steps of a prime number of milliseconds reach every time of day in a few days.
        for (std::int64_t i = 0; i < 20'000; ++i) {
            const std::int64_t linear = start + i * 29'989;
            const TDateTime value = rtl::FromLinearMilliseconds(linear);
            ASSERT_EQ(rtl::ToLinearMilliseconds(value), linear);
            const rtl::DateTimeFields fields = rtl::DecodeLinearMilliseconds(linear);
            const std::int64_t msOfDay = (linear % msPerDay + msPerDay) % msPerDay;
            ASSERT_EQ(fields.hour * 3'600'000 + fields.minute * 60'000 + fields.second * 1'000 +
                          fields.millisecond,
                      msOfDay)
                << linear;
        }
    }
}

TEST(LinearMilliseconds, RejectsMomentsOutsideTheSupportedYears) {
    const std::int64_t msPerDay = 86'400'000;
    EXPECT_EQ(ConvertErrorOf([&] { rtl::FromLinearMilliseconds(13'000'000 * msPerDay); }),
              rtl::kDateTimeOutOfRange);
    EXPECT_EQ(ConvertErrorOf([&] { rtl::DecodeLinearMilliseconds(-13'000'000 * msPerDay); }),
              rtl::kDateTimeOutOfRange);
    EXPECT_EQ(ConvertErrorOf(
                  [] { rtl::FromLinearMilliseconds(std::numeric_limits<std::int64_t>::min()); }),
              rtl::kDateTimeOutOfRange);
    // Years -32767 and 32767 are the last ones inside.
    EXPECT_EQ(rtl::DecodeLinearMilliseconds(-12'661'859 * msPerDay).year, -32767);   // 1 January
    EXPECT_EQ(rtl::DecodeLinearMilliseconds(11'274'307 * msPerDay - 1).year, 32767); // 31 Dec
    EXPECT_EQ(ConvertErrorOf([&] { rtl::DecodeLinearMilliseconds(-12'661'859 * msPerDay - 1); }),
              rtl::kDateTimeOutOfRange);
    EXPECT_EQ(ConvertErrorOf([&] { rtl::DecodeLinearMilliseconds(11'274'307 * msPerDay); }),
              rtl::kDateTimeOutOfRange);
}

} // namespace
