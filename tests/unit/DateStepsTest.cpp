// The clock steps: calendar results of the month and year steps, exact carries of the day, hour,
// minute and second steps, the time of day kept to the millisecond, and the range errors.
#include "rtl/DateSteps.h"
#include "DateTimeTestSupport.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <iterator>
#include <limits>
#include <string>

namespace {

using rtl::TDateTime;
using rtl_test::DescribeDateAndTime;
using rtl_test::Fields;

enum class Unit { Year, Month, Day, Hour, Minute, Second };

const char* NameOf(Unit unit) {
    switch (unit) {
    case Unit::Year:
        return "year";
    case Unit::Month:
        return "month";
    case Unit::Day:
        return "day";
    case Unit::Hour:
        return "hour";
    case Unit::Minute:
        return "minute";
    case Unit::Second:
        return "second";
    }
    return "?";
}

TDateTime Step(Unit unit, TDateTime value, std::int32_t count) {
    switch (unit) {
    case Unit::Year:
        return rtl::IncYear(value, count);
    case Unit::Month:
        return rtl::IncMonth(value, count);
    case Unit::Day:
        return rtl::IncDay(value, count);
    case Unit::Hour:
        return rtl::IncHour(value, count);
    case Unit::Minute:
        return rtl::IncMinute(value, count);
    case Unit::Second:
        return rtl::IncSecond(value, count);
    }
    return value;
}

std::string ConvertErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const rtl::EConvertError& error) {
        return error.what();
    }
    return "";
}

struct StepCase {
    rtl::DateTimeFields start;
    Unit unit;
    std::int32_t count;
    rtl::DateTimeFields expected;
};

void CheckSteps(const StepCase* begin, const StepCase* end) {
    for (const StepCase* c = begin; c != end; ++c) {
        const TDateTime result = Step(c->unit, rtl::DateTimeFromFields(c->start), c->count);
        EXPECT_EQ(DescribeDateAndTime(rtl::DecodeDateTime(result)),
                  DescribeDateAndTime(c->expected))
            << "from " << DescribeDateAndTime(c->start) << " " << c->count << " "
            << NameOf(c->unit);
    }
}

TEST(MonthAndYearSteps, FollowTheCalendar) {
    const StepCase cases[] = {
        // The day is clamped to the end of the new month; the time of day stays.
        {Fields(2023, 1, 31, 10, 15, 20, 345), Unit::Month, 1,
         Fields(2023, 2, 28, 10, 15, 20, 345)},
        {Fields(2024, 1, 31, 10, 15, 20, 345), Unit::Month, 1,
         Fields(2024, 2, 29, 10, 15, 20, 345)},
        {Fields(2024, 3, 31, 8, 0, 0, 0), Unit::Month, -1, Fields(2024, 2, 29, 8, 0, 0, 0)},
        {Fields(2023, 3, 31, 8, 0, 0, 0), Unit::Month, -1, Fields(2023, 2, 28, 8, 0, 0, 0)},
        {Fields(1900, 3, 31, 8, 0, 0, 0), Unit::Month, -1, Fields(1900, 2, 28, 8, 0, 0, 0)},
        {Fields(2024, 5, 31, 1, 2, 3, 4), Unit::Month, 1, Fields(2024, 6, 30, 1, 2, 3, 4)},
        {Fields(2024, 10, 31, 1, 2, 3, 4), Unit::Month, -1, Fields(2024, 9, 30, 1, 2, 3, 4)},
        {Fields(2024, 6, 30, 1, 2, 3, 4), Unit::Month, 1, Fields(2024, 7, 30, 1, 2, 3, 4)},
        // Year carries.
        {Fields(2024, 12, 15, 12, 0, 0, 0), Unit::Month, 1, Fields(2025, 1, 15, 12, 0, 0, 0)},
        {Fields(2025, 1, 15, 12, 0, 0, 0), Unit::Month, -1, Fields(2024, 12, 15, 12, 0, 0, 0)},
        {Fields(2024, 12, 15, 0, 0, 0, 0), Unit::Month, 13, Fields(2026, 1, 15, 0, 0, 0, 0)},
        {Fields(2024, 1, 15, 0, 0, 0, 0), Unit::Month, -13, Fields(2022, 12, 15, 0, 0, 0, 0)},
        {Fields(2024, 6, 15, 0, 0, 0, 0), Unit::Month, -25, Fields(2022, 5, 15, 0, 0, 0, 0)},
        {Fields(2024, 6, 15, 0, 0, 0, 0), Unit::Month, 12, Fields(2025, 6, 15, 0, 0, 0, 0)},
        {Fields(2024, 6, 15, 0, 0, 0, 0), Unit::Month, 0, Fields(2024, 6, 15, 0, 0, 0, 0)},
        // Year steps: twelve months.
        {Fields(2024, 2, 29, 9, 8, 7, 6), Unit::Year, 1, Fields(2025, 2, 28, 9, 8, 7, 6)},
        {Fields(2024, 2, 29, 9, 8, 7, 6), Unit::Year, -1, Fields(2023, 2, 28, 9, 8, 7, 6)},
        {Fields(2024, 2, 29, 9, 8, 7, 6), Unit::Year, 4, Fields(2028, 2, 29, 9, 8, 7, 6)},
        {Fields(2021, 9, 9, 23, 59, 59, 999), Unit::Year, 1, Fields(2022, 9, 9, 23, 59, 59, 999)},
        // The edges of the years allowed.
        {Fields(9998, 12, 31, 23, 59, 59, 999), Unit::Year, 1,
         Fields(9999, 12, 31, 23, 59, 59, 999)},
        {Fields(9999, 11, 30, 0, 0, 0, 0), Unit::Month, 1, Fields(9999, 12, 30, 0, 0, 0, 0)},
        {Fields(2, 1, 1, 0, 0, 0, 1), Unit::Year, -1, Fields(1, 1, 1, 0, 0, 0, 1)},
        {Fields(1, 2, 28, 0, 0, 0, 0), Unit::Month, -1, Fields(1, 1, 28, 0, 0, 0, 0)},
        // Before day 0 the time of day is kept as well.
        {Fields(1899, 12, 29, 6, 0, 0, 0), Unit::Month, 1, Fields(1900, 1, 29, 6, 0, 0, 0)},
        {Fields(1850, 1, 31, 8, 0, 0, 500), Unit::Month, 1, Fields(1850, 2, 28, 8, 0, 0, 500)},
        {Fields(1900, 1, 1, 18, 0, 0, 0), Unit::Year, -1, Fields(1899, 1, 1, 18, 0, 0, 0)},
    };
    CheckSteps(std::begin(cases), std::end(cases));
}

// Each click starts from the clamped date of the one before.
TEST(MonthAndYearSteps, RepeatedStepsStartFromTheClampedDate) {
    TDateTime value = rtl::EncodeDateTime(2024, 2, 29, 12, 0, 0, 0);
    for (int click = 0; click < 4; ++click) {
        value = rtl::IncYear(value, 1);
    }
    EXPECT_EQ(DescribeDateAndTime(rtl::DecodeDateTime(value)),
              DescribeDateAndTime(Fields(2028, 2, 28, 12, 0, 0, 0)));
}

TEST(MonthAndYearSteps, FailWhenTheYearLeavesOneToNineThousandNineHundredNinetyNine) {
    const struct {
        rtl::DateTimeFields start;
        Unit unit;
        std::int32_t count;
    } cases[] = {
        {Fields(9999, 6, 15, 0, 0, 0, 0), Unit::Year, 1},
        {Fields(1, 6, 15, 0, 0, 0, 0), Unit::Year, -1},
        {Fields(9999, 12, 1, 0, 0, 0, 0), Unit::Month, 1},
        {Fields(1, 1, 31, 0, 0, 0, 0), Unit::Month, -1},
        {Fields(2021, 9, 9, 0, 0, 0, 0), Unit::Month, std::numeric_limits<std::int32_t>::max()},
        {Fields(2021, 9, 9, 0, 0, 0, 0), Unit::Month, std::numeric_limits<std::int32_t>::min()},
        {Fields(2021, 9, 9, 0, 0, 0, 0), Unit::Year, std::numeric_limits<std::int32_t>::max()},
        {Fields(2021, 9, 9, 0, 0, 0, 0), Unit::Year, std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& c : cases) {
        const TDateTime start = rtl::DateTimeFromFields(c.start);
        EXPECT_EQ(ConvertErrorOf([&] { Step(c.unit, start, c.count); }),
                  "Invalid argument to date encode")
            << DescribeDateAndTime(c.start) << " " << c.count << " " << NameOf(c.unit);
    }
}

TEST(DayAndTimeSteps, CarryAcrossDaysMonthsAndYears) {
    const StepCase cases[] = {
        {Fields(2024, 12, 31, 23, 59, 59, 500), Unit::Second, 1, Fields(2025, 1, 1, 0, 0, 0, 500)},
        {Fields(2025, 1, 1, 0, 0, 0, 250), Unit::Second, -1, Fields(2024, 12, 31, 23, 59, 59, 250)},
        {Fields(2024, 3, 1, 0, 30, 0, 0), Unit::Hour, -1, Fields(2024, 2, 29, 23, 30, 0, 0)},
        {Fields(2023, 3, 1, 0, 30, 0, 0), Unit::Hour, -1, Fields(2023, 2, 28, 23, 30, 0, 0)},
        {Fields(2021, 9, 9, 23, 30, 0, 7), Unit::Hour, 1, Fields(2021, 9, 10, 0, 30, 0, 7)},
        {Fields(2023, 12, 31, 23, 59, 30, 123), Unit::Minute, 1, Fields(2024, 1, 1, 0, 0, 30, 123)},
        {Fields(2024, 1, 1, 0, 0, 30, 123), Unit::Minute, -1,
         Fields(2023, 12, 31, 23, 59, 30, 123)},
        {Fields(2024, 2, 28, 12, 0, 0, 1), Unit::Day, 1, Fields(2024, 2, 29, 12, 0, 0, 1)},
        {Fields(2023, 2, 28, 12, 0, 0, 1), Unit::Day, 1, Fields(2023, 3, 1, 12, 0, 0, 1)},
        {Fields(2024, 12, 31, 23, 59, 59, 999), Unit::Day, 1, Fields(2025, 1, 1, 23, 59, 59, 999)},
        {Fields(2025, 1, 1, 0, 0, 0, 0), Unit::Day, -1, Fields(2024, 12, 31, 0, 0, 0, 0)},
        // Around and before day 0, where the value is "day minus time of day".
        {Fields(1899, 12, 29, 6, 0, 0, 0), Unit::Hour, 1, Fields(1899, 12, 29, 7, 0, 0, 0)},
        {Fields(1899, 12, 29, 6, 0, 0, 0), Unit::Hour, -1, Fields(1899, 12, 29, 5, 0, 0, 0)},
        {Fields(1899, 12, 30, 2, 0, 0, 0), Unit::Hour, -8, Fields(1899, 12, 29, 18, 0, 0, 0)},
        {Fields(1899, 12, 29, 18, 0, 0, 0), Unit::Hour, 8, Fields(1899, 12, 30, 2, 0, 0, 0)},
        {Fields(1899, 12, 30, 0, 0, 0, 0), Unit::Second, -1, Fields(1899, 12, 29, 23, 59, 59, 0)},
        {Fields(1899, 12, 30, 6, 0, 0, 0), Unit::Day, -1, Fields(1899, 12, 29, 6, 0, 0, 0)},
        {Fields(1899, 12, 29, 6, 0, 0, 0), Unit::Day, 1, Fields(1899, 12, 30, 6, 0, 0, 0)},
        {Fields(1850, 6, 15, 0, 0, 30, 0), Unit::Minute, -1, Fields(1850, 6, 14, 23, 59, 30, 0)},
        // Past the years a date can be built in: the step itself does not fail.
        {Fields(9999, 12, 31, 23, 59, 59, 999), Unit::Second, 1, Fields(10000, 1, 1, 0, 0, 0, 999)},
    };
    CheckSteps(std::begin(cases), std::end(cases));
}

// Every step moves the moment by exactly its unit, wherever the moment lies: checked on the
// linear timeline for moments spread over the years 1 to 9999, before and after day 0.
TEST(DayAndTimeSteps, MoveByExactlyTheirUnit) {
    const struct {
        Unit unit;
        std::int64_t milliseconds;
    } units[] = {{Unit::Day, 86'400'000},
                 {Unit::Hour, 3'600'000},
                 {Unit::Minute, 60'000},
                 {Unit::Second, 1'000}};
    const std::int64_t first = rtl::ToLinearMilliseconds(rtl::EncodeDate(1, 1, 2));
    const std::int64_t last = rtl::ToLinearMilliseconds(rtl::EncodeDate(9999, 12, 30));
    const std::int64_t samples = 5'000;
    for (std::int64_t i = 0; i <= samples; ++i) {
        // An odd millisecond offset so that the times of day differ from sample to sample.
        const std::int64_t linear = first + (last - first) / samples * i + i * 7'919 % 86'400'000;
        const TDateTime value = rtl::FromLinearMilliseconds(linear);
        for (const auto& u : units) {
            for (const std::int32_t count : {1, -1}) {
                ASSERT_EQ(rtl::ToLinearMilliseconds(Step(u.unit, value, count)),
                          linear + count * u.milliseconds)
                    << NameOf(u.unit) << " " << count << " from " << linear;
            }
        }
    }
}

TEST(DayAndTimeSteps, TakeLargeCounts) {
    const TDateTime start = rtl::EncodeDateTime(2021, 9, 9, 10, 0, 0, 0);
    EXPECT_EQ(DescribeDateAndTime(rtl::DecodeDateTime(rtl::IncHour(start, 24 * 366))),
              DescribeDateAndTime(Fields(2022, 9, 10, 10, 0, 0, 0)));
    EXPECT_EQ(DescribeDateAndTime(rtl::DecodeDateTime(rtl::IncSecond(start, -86'400LL * 365))),
              DescribeDateAndTime(Fields(2020, 9, 9, 10, 0, 0, 0)));
    // Counts that leave every representable date are refused, without overflow.
    const std::int64_t huge = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(ConvertErrorOf([&] { rtl::IncHour(start, huge); }), rtl::kDateTimeOutOfRange);
    EXPECT_EQ(ConvertErrorOf([&] { rtl::IncMinute(start, -huge); }), rtl::kDateTimeOutOfRange);
    EXPECT_EQ(
        ConvertErrorOf([&] { rtl::IncSecond(start, std::numeric_limits<std::int64_t>::min()); }),
        rtl::kDateTimeOutOfRange);
    EXPECT_EQ(ConvertErrorOf([&] { rtl::IncDay(start, std::numeric_limits<std::int32_t>::max()); }),
              rtl::kDateTimeOutOfRange);
}

} // namespace
