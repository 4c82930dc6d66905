// Helpers shared by the date-time tests: readable field comparisons.
#pragma once

#include "rtl/DateTime.h"

#include <cstdio>
#include <string>

namespace rtl_test {

// "2021-09-09 07:05:03.000 dow 4": one string per value, so that a failing comparison shows
// every field at once.
inline std::string Describe(const rtl::DateTimeFields& f) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d dow %d", f.year, f.month,
                  f.day, f.hour, f.minute, f.second, f.millisecond, f.dayOfWeek);
    return text;
}

inline rtl::DateTimeFields Fields(int year, int month, int day, int hour, int minute, int second,
                                  int millisecond, int dayOfWeek = 0) {
    rtl::DateTimeFields f;
    f.year = year;
    f.month = month;
    f.day = day;
    f.hour = hour;
    f.minute = minute;
    f.second = second;
    f.millisecond = millisecond;
    f.dayOfWeek = dayOfWeek;
    return f;
}

// The fields without the day of week, for comparisons where the day of week is not of interest.
inline std::string DescribeDateAndTime(rtl::DateTimeFields f) {
    f.dayOfWeek = 0;
    return Describe(f);
}

} // namespace rtl_test
