// TDateTime: a local date and time held in a double. The whole part counts days since
// 30 December 1899 (day 0) in the proleptic Gregorian calendar, the fraction is the time of day.
// For days before day 0 the value is the day minus the time of day.
//
// Exact work is done in whole milliseconds: a TDateTime is turned into a count of milliseconds
// (rounded half to even), computed on, and turned back.
#pragma once

#include <cstdint>

namespace rtl {

using TDateTime = double;

inline constexpr std::int64_t kMSecsPerDay = 86'400'000;

// A broken-down date and time, as the clock reports it or as a TDateTime splits into.
struct DateTimeFields {
    int year = 0;
    int month = 0;       // 1 to 12
    int day = 0;         // 1 to 31
    int hour = 0;        // 0 to 23
    int minute = 0;      // 0 to 59
    int second = 0;      // 0 to 59
    int millisecond = 0; // 0 to 999
    int dayOfWeek = 0;   // 0 = Sunday ... 6 = Saturday
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Building: throws EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond);
// The clock's fields (as GetLocalTime reports them) built into one value; a year beyond 9999
// throws "Invalid argument to date encode".
TDateTime DateTimeFromFields(const DateTimeFields& fields);

// Splitting: the value times 86,400,000 rounded to whole milliseconds (half to even); date and
// time of day both come from that one count, so the rounding can carry into the next day.
DateTimeFields DecodeDateTime(TDateTime value);

} // namespace rtl
