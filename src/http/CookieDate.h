// Reading the date of a cookie's "Expires" attribute. The formats met in practice
// ("Wed, 09 Jun 2021 10:18:14 GMT", "Wednesday, 09-Jun-21 10:18:14 GMT",
// "Wed Jun  9 10:18:14 2021") are all read by one tolerant rule: the words of the text give a
// time h:m:s, a day of one or two digits, a month by its first three letters and a year of two
// to four digits, in any order. The date is taken as UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace http {

// Seconds since 1970-01-01 00:00:00 UTC, or none when the text holds no valid date.
std::optional<std::int64_t> ParseCookieDate(std::string_view text);

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day);

} // namespace http
