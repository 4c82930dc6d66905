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
// 28 to 31; throws EConvertError "Invalid argument to date encode" for a month outside 1 to 12.
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
// A value before 1 January of year 1 gives 0 in year, month and day (the time of day and the day
// of week are still filled). Throws EConvertError kDateTimeOutOfRange for a value that is not
// finite or lies outside the years -32767 to 32767.
DateTimeFields DecodeDateTime(TDateTime value);

// The message for a value that has no date in the supported years (-32767 to 32767).
inline constexpr const char* kDateTimeOutOfRange = "Date and time value out of range";

// The linear timeline: milliseconds since 30 December 1899 00:00, negative before it, so that
// adding and subtracting milliseconds is exact on both sides of day 0.
//
// The value rounded to whole milliseconds (half to even) and placed on the linear timeline; a
// value before day 0 is read as "day minus time of day". Throws EConvertError
// kDateTimeOutOfRange for a value that is not finite or lies outside the years -32767 to 32767.
std::int64_t ToLinearMilliseconds(TDateTime value);
// The inverse: a point of the linear timeline as a TDateTime (days before day 0 encoded as
// "day minus time of day"). Exact: ToLinearMilliseconds gives the same count back.
TDateTime FromLinearMilliseconds(std::int64_t milliseconds);
// Splits a point of the linear timeline. Unlike DecodeDateTime the year is the proleptic one, 0
// or below before year 1. Throws EConvertError kDateTimeOutOfRange outside the years -32767 to
// 32767.
DateTimeFields DecodeLinearMilliseconds(std::int64_t milliseconds);

} // namespace rtl
