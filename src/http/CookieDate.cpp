#include "CookieDate.h"

#include "Ascii.h"

#include <array>

namespace http {

namespace {

bool IsDelimiter(unsigned char c) {
    return c == 0x09 || (c >= 0x20 && c <= 0x2F) || (c >= 0x3B && c <= 0x40) ||
           (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E);
}

// Reads 1 to maxDigits digits at pos; none when there are none or too many.
std::optional<int> ReadNumber(std::string_view token, std::size_t& pos, std::size_t minDigits,
                              std::size_t maxDigits) {
    const std::size_t start = pos;
    int value = 0;
    while (pos < token.size() && IsDigit(token[pos])) {
        if (pos - start == maxDigits) {
            return std::nullopt;
        }
        value = value * 10 + (token[pos] - '0');
        ++pos;
    }
    if (pos - start < minDigits) {
        return std::nullopt;
    }
    return value;
}

// A number of minDigits..maxDigits digits at the token's start, followed by a non-digit or
// the end.
std::optional<int> LeadingNumber(std::string_view token, std::size_t minDigits,
                                 std::size_t maxDigits) {
    std::size_t pos = 0;
    return ReadNumber(token, pos, minDigits, maxDigits);
}

struct TimeOfDay {
    int hour, minute, second;
};

std::optional<TimeOfDay> LeadingTime(std::string_view token) {
    std::size_t pos = 0;
    const auto hour = ReadNumber(token, pos, 1, 2);
    if (!hour || pos >= token.size() || token[pos++] != ':') {
        return std::nullopt;
    }
    const auto minute = ReadNumber(token, pos, 1, 2);
    if (!minute || pos >= token.size() || token[pos++] != ':') {
        return std::nullopt;
    }
    const auto second = ReadNumber(token, pos, 1, 2);
    if (!second) {
        return std::nullopt;
    }
    return TimeOfDay{*hour, *minute, *second};
}

std::optional<unsigned> LeadingMonth(std::string_view token) {
    static constexpr std::array<const char*, 12> kMonths = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (token.size() < 3) {
        return std::nullopt;
    }
    for (unsigned i = 0; i < kMonths.size(); ++i) {
        if (EqualsIgnoreCase(token.substr(0, 3), kMonths[i])) {
            return i + 1;
        }
    }
    return std::nullopt;
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int year, unsigned month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

} // namespace

std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

std::optional<std::int64_t> ParseCookieDate(std::string_view text) {
    std::optional<TimeOfDay> time;
    std::optional<int> dayOfMonth;
    std::optional<unsigned> month;
    std::optional<int> year;

    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsDelimiter(static_cast<unsigned char>(text[pos]))) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < text.size() && !IsDelimiter(static_cast<unsigned char>(text[pos]))) {
            ++pos;
        }
        const std::string_view token = text.substr(start, pos - start);
        if (token.empty()) {
            continue;
        }
        if (!time && (time = LeadingTime(token))) {
            continue;
        }
        if (!dayOfMonth && (dayOfMonth = LeadingNumber(token, 1, 2))) {
            continue;
        }
        if (!month && (month = LeadingMonth(token))) {
            continue;
        }
        if (!year) {
            year = LeadingNumber(token, 2, 4);
        }
    }
    if (!time || !dayOfMonth || !month || !year) {
        return std::nullopt;
    }
    int fullYear = *year;
    if (fullYear >= 70 && fullYear <= 99) {
        fullYear += 1900;
    } else if (fullYear <= 69) {
        fullYear += 2000;
    }
    if (fullYear < 1601 || *dayOfMonth < 1 || *dayOfMonth > DaysIn(fullYear, *month) ||
        time->hour > 23 || time->minute > 59 || time->second > 59) {
        return std::nullopt;
    }
    const std::int64_t days = DaysFromCivil(fullYear, *month, static_cast<unsigned>(*dayOfMonth));
    return days * 86400 + time->hour * 3600 + time->minute * 60 + time->second;
}

} // namespace http
