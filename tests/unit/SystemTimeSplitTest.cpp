// The split into SYSTEMTIME fields, alone and after the fixed offset of the time service's zone.
#include "rtl/SystemTimeSplit.h"
#include "DateTimeTestSupport.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace {

using rtl::SystemTimeRecord;
using rtl::TDateTime;

constexpr std::int64_t kMinus8Hours = -8 * std::int64_t{3'600'000};
constexpr double kMsPerDay = 86'400'000.0;

// All eight fields in the record's order: year-month-day dow hh:mm:ss.mmm.
std::string Describe(const SystemTimeRecord& r) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u dow %u %02u:%02u:%02u.%03u", unsigned{r.wYear},
                  unsigned{r.wMonth}, unsigned{r.wDay}, unsigned{r.wDayOfWeek}, unsigned{r.wHour},
                  unsigned{r.wMinute}, unsigned{r.wSecond}, unsigned{r.wMilliseconds});
    return text;
}

TEST(SplitToSystemTime, FillsAllEightFields) {
    const struct {
        const char* what;
        TDateTime value;
        std::int64_t offset;
        const char* expected;
    } cases[] = {
        {"a plain local time", rtl::EncodeDateTime(2021, 9, 9, 7, 5, 3, 0), 0,
         "2021-09-09 dow 4 07:05:03.000"},
        {"eight hours back across the year boundary", rtl::EncodeDateTime(2025, 1, 1, 3, 0, 0, 0),
         kMinus8Hours, "2024-12-31 dow 2 19:00:00.000"},
        {"eight hours back onto a leap day, milliseconds kept",
         rtl::EncodeDateTime(2024, 3, 1, 5, 30, 0, 250), kMinus8Hours,
         "2024-02-29 dow 4 21:30:00.250"},
        {"eight hours back within the day", rtl::EncodeDateTime(2024, 6, 1, 12, 0, 0, 0),
         kMinus8Hours, "2024-06-01 dow 6 04:00:00.000"},
        {"less than half a millisecond before midnight rounds into the next day",
         rtl::EncodeDate(2024, 12, 31) + 86'399'999.6 / kMsPerDay, 0,
         "2025-01-01 dow 3 00:00:00.000"},
        {"the rounding happens before the offset",
         rtl::EncodeDate(2025, 1, 1) + 28'799'999.6 / kMsPerDay, kMinus8Hours,
         "2025-01-01 dow 3 00:00:00.000"},
        {"half a millisecond goes to the even neighbour", 3.0 / 2048, 0,
         "1899-12-30 dow 6 00:02:06.562"},
        {"across day 0, computed on the timeline", rtl::EncodeDateTime(1899, 12, 30, 2, 0, 0, 0),
         kMinus8Hours, "1899-12-29 dow 5 18:00:00.000"},
        {"before day 0", -1.25, 0, "1899-12-29 dow 5 06:00:00.000"},
        {"the first moment of year 1", rtl::EncodeDateTime(1, 1, 1, 8, 0, 0, 0), kMinus8Hours,
         "0001-01-01 dow 1 00:00:00.000"},
        {"before year 1 the date is zero", rtl::EncodeDateTime(1, 1, 1, 7, 59, 59, 999),
         kMinus8Hours, "0000-00-00 dow 0 23:59:59.999"},
        {"the last moment of year 9999", rtl::EncodeDateTime(9999, 12, 31, 23, 59, 59, 999), 0,
         "9999-12-31 dow 5 23:59:59.999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Describe(rtl::SplitToSystemTime(c.value, c.offset)), c.expected) << c.what;
        if (c.offset == 0) {
            EXPECT_EQ(Describe(rtl::SplitToSystemTime(c.value)), c.expected) << c.what;
        }
    }
}

TEST(SplitToSystemTime, RefusesValuesWithoutADate) {
    const auto message = [](auto action) -> std::string {
        try {
            action();
        } catch (const rtl::EConvertError& error) {
            return error.what();
        }
        return "";
    };
    const TDateTime nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(message([&] { rtl::SplitToSystemTime(nan); }), rtl::kDateTimeOutOfRange);
    EXPECT_EQ(message([&] { rtl::SplitToSystemTime(nan, kMinus8Hours); }),
              rtl::kDateTimeOutOfRange);
    EXPECT_EQ(
        message([] { rtl::SplitToSystemTime(0.0, std::numeric_limits<std::int64_t>::min()); }),
        rtl::kDateTimeOutOfRange);
}

} // namespace
