// Reading a date-time text with the regional settings.
//
// The text is read from left to right in one pass: a date (two or three numbers between date
// separators), then an optional time (hour, minutes, seconds, milliseconds, with an optional
// morning/afternoon designator before or after). When that fails, the whole text is read once
// more as a time alone. Only the space character is skipped, before every number, separator and
// designator; any other character ends the part being read.
#include "DateTimeReader.h"

#include "Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace rtl {
namespace {

// Once a number has reached this value, no further digit is read: a number carries at most four
// significant digits and can never overflow.
constexpr int kNumberDigitLimit = 1000;

// Years of one or two digits are placed in the 100 years that begin this many years before the
// present year.
constexpr int kTwoDigitYearWindowStart = 50;

struct Number {
    int value = 0;
    std::size_t digits = 0; // leading zeros included
};

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

enum class Designator { None, Morning, Afternoon };

char FoldAsciiCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The order of the date's numbers: the first d, m or y (either case) of the short date format.
DateOrder OrderOfShortDateFormat(std::string_view format) {
    for (char c : format) {
        switch (FoldAsciiCase(c)) {
        case 'Y':
            return DateOrder::YearMonthDay;
        case 'D':
            return DateOrder::DayMonthYear;
        case 'M':
            return DateOrder::MonthDayYear;
        default:
            break;
        }
    }
    return DateOrder::MonthDayYear;
}

int FloorDiv(int a, int b) {
    const int q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// A year written with one or two digits, placed in the 100 years starting 50 years back.
int ExpandShortYear(int shortYear, int presentYear) {
    const int windowStart = presentYear - kTwoDigitYearWindowStart;
    int year = FloorDiv(windowStart, 100) * 100 + shortYear;
    if (year < windowStart) {
        year += 100;
    }
    return year;
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

// A position in the text with the primitive readings. A failed reading may have skipped spaces
// but never consumes anything else.
class TextCursor {
public:
    explicit TextCursor(std::string_view text) : text_(text) {}

    void SkipSpaces() {
        while (pos_ < text_.size() && text_[pos_] == ' ') {
            ++pos_;
        }
    }

    // True when nothing but spaces is left.
    bool OnlySpacesLeft() {
        SkipSpaces();
        return pos_ == text_.size();
    }

    std::optional<Number> ReadNumber() {
        SkipSpaces();
        Number number;
        while (pos_ < text_.size() && IsDigit(text_[pos_]) && number.value < kNumberDigitLimit) {
            number.value = number.value * 10 + (text_[pos_] - '0');
            ++number.digits;
            ++pos_;
        }
        if (number.digits == 0) {
            return std::nullopt;
        }
        return number;
    }

    // Reads a separator, compared byte for byte. An empty separator never matches. A separator
    // that itself begins with a space is tried before the spaces are skipped.
    bool ReadSeparator(std::string_view separator) {
        if (separator.empty()) {
            return false;
        }
        if (StartsWith(separator, /*ignoreCase=*/false)) {
            pos_ += separator.size();
            return true;
        }
        SkipSpaces();
        if (StartsWith(separator, /*ignoreCase=*/false)) {
            pos_ += separator.size();
            return true;
        }
        return false;
    }

    // The length of the given word at the present position (after spaces), ASCII case ignored,
    // or 0 when it is not there. An empty word never matches.
    std::size_t MatchWordIgnoringCase(std::string_view word) {
        SkipSpaces();
        return (!word.empty() && StartsWith(word, /*ignoreCase=*/true)) ? word.size() : 0;
    }

    void Advance(std::size_t count) { pos_ += count; }

    std::size_t Position() const { return pos_; }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    bool StartsWith(std::string_view word, bool ignoreCase) const {
        if (text_.size() - pos_ < word.size()) {
            return false;
        }
        for (std::size_t i = 0; i < word.size(); ++i) {
            const char a = text_[pos_ + i];
            const char b = word[i];
            if (ignoreCase ? FoldAsciiCase(a) != FoldAsciiCase(b) : a != b) {
                return false;
            }
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

class DateTimeTextReader {
public:
    DateTimeTextReader(const FormatSettings& settings, int presentYear)
        : settings_(settings), order_(OrderOfShortDateFormat(settings.shortDateFormat)),
          presentYear_(presentYear) {}

    // A date, optionally followed by a time; whatever follows a complete time is ignored, but
    // `consumed` tells where the reading stopped.
    std::optional<TDateTime> ReadDateAndTime(std::string_view text, std::size_t& consumed) const {
        TextCursor cursor(text);
        const std::optional<std::int64_t> day = ReadDate(cursor);
        if (!day) {
            return std::nullopt;
        }
        std::int64_t timeOfDay = 0;
        if (!cursor.OnlySpacesLeft()) {
            const std::optional<std::int64_t> time = ReadTime(cursor);
            if (!time) {
                return std::nullopt;
            }
            timeOfDay = *time;
        }
        consumed = cursor.Position();
        // Before day 0 the value counts back from the day: the date minus the time of day.
        const std::int64_t total = *day * kMSecsPerDay + (*day >= 0 ? timeOfDay : -timeOfDay);
        return static_cast<double>(total) / static_cast<double>(kMSecsPerDay);
    }

    // A time alone on day 0; nothing but spaces may follow it.
    std::optional<TDateTime> ReadTimeAlone(std::string_view text) const {
        TextCursor cursor(text);
        const std::optional<std::int64_t> time = ReadTime(cursor);
        if (!time || !cursor.OnlySpacesLeft()) {
            return std::nullopt;
        }
        return static_cast<double>(*time) / static_cast<double>(kMSecsPerDay);
    }

private:
    // The day number of the date at the cursor, or nothing when no existing date is there.
    std::optional<std::int64_t> ReadDate(TextCursor& cursor) const {
        const std::string_view separator = settings_.dateSeparator;
        const std::optional<Number> first = cursor.ReadNumber();
        if (!first || !cursor.ReadSeparator(separator)) {
            return std::nullopt;
        }
        const std::optional<Number> second = cursor.ReadNumber();
        if (!second) {
            return std::nullopt;
        }
        std::optional<Number> third;
        if (cursor.ReadSeparator(separator)) {
            // Without a third number the separator just read is the trailing one.
            third = cursor.ReadNumber();
            if (third) {
                cursor.ReadSeparator(separator); // one trailing separator is accepted
            }
        }

        int year = presentYear_;
        int month = 0;
        int day = 0;
        if (third) {
            Number yearNumber;
            switch (order_) {
            case DateOrder::YearMonthDay:
                yearNumber = *first;
                month = second->value;
                day = third->value;
                break;
            case DateOrder::DayMonthYear:
                day = first->value;
                month = second->value;
                yearNumber = *third;
                break;
            case DateOrder::MonthDayYear:
                month = first->value;
                day = second->value;
                yearNumber = *third;
                break;
            }
            year = yearNumber.digits <= 2 ? ExpandShortYear(yearNumber.value, presentYear_)
                                          : yearNumber.value;
        } else if (order_ == DateOrder::DayMonthYear) {
            day = first->value;
            month = second->value;
        } else {
            month = first->value;
            day = second->value;
        }

        if (!IsValidDate(year, month, day)) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(EncodeDate(year, month, day));
    }

    // A morning or afternoon designator at the cursor: the regional one or the literal "AM" /
    // "PM", case ignored. The longest match wins, so a short regional designator does not cut
    // a literal one in two.
    Designator ReadDesignator(TextCursor& cursor) const {
        struct Candidate {
            std::string_view word;
            Designator designator;
        };
        const Candidate candidates[] = {
            {settings_.timeAMString, Designator::Morning},
            {"AM", Designator::Morning},
            {settings_.timePMString, Designator::Afternoon},
            {"PM", Designator::Afternoon},
        };
        Designator found = Designator::None;
        std::size_t foundLength = 0;
        for (const Candidate& candidate : candidates) {
            const std::size_t length = cursor.MatchWordIgnoringCase(candidate.word);
            if (length > foundLength) {
                found = candidate.designator;
                foundLength = length;
            }
        }
        cursor.Advance(foundLength);
        return found;
    }

    // The time of day at the cursor in milliseconds, or nothing when no valid time is there.
    // A separator that is present must be followed by its number.
    std::optional<std::int64_t> ReadTime(TextCursor& cursor) const {
        Designator designator = ReadDesignator(cursor);
        const std::optional<Number> hourNumber = cursor.ReadNumber();
        if (!hourNumber) {
            return std::nullopt;
        }
        int hour = hourNumber->value;
        int minute = 0;
        int second = 0;
        int millisecond = 0;
        if (cursor.ReadSeparator(settings_.timeSeparator)) {
            const std::optional<Number> minutes = cursor.ReadNumber();
            if (!minutes) {
                return std::nullopt;
            }
            minute = minutes->value;
            if (cursor.ReadSeparator(settings_.timeSeparator)) {
                const std::optional<Number> seconds = cursor.ReadNumber();
                if (!seconds) {
                    return std::nullopt;
                }
                second = seconds->value;
                if (cursor.ReadSeparator(settings_.decimalSeparator)) {
                    const std::optional<Number> milliseconds = cursor.ReadNumber();
                    if (!milliseconds) {
                        return std::nullopt;
                    }
                    millisecond = milliseconds->value;
                }
            }
        }
        if (designator == Designator::None) {
            designator = ReadDesignator(cursor);
        }
        if (designator != Designator::None) {
            if (hour < 1 || hour > 12) {
                return std::nullopt;
            }
            hour %= 12;
            if (designator == Designator::Afternoon) {
                hour += 12;
            }
        }
        if (hour >= 24 || minute >= 60 || second >= 60 || millisecond >= 1000) {
            return std::nullopt;
        }
        return std::int64_t{hour} * 3'600'000 + std::int64_t{minute} * 60'000 +
               std::int64_t{second} * 1'000 + millisecond;
    }

    const FormatSettings& settings_;
    DateOrder order_;
    int presentYear_;
};

[[noreturn]] void ThrowNotValid(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid date and time");
}

// Blanks that may end a text after a complete reading: spaces, tabs and line ends.
bool OnlyBlanks(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// The value and how many bytes of the text the reading took; a time alone takes the whole text.
struct Reading {
    TDateTime value;
    std::size_t consumed;
};

Reading ReadText(std::string_view text, const FormatSettings& settings, int presentYear) {
    const DateTimeTextReader reader(settings, presentYear);
    std::size_t consumed = 0;
    if (const std::optional<TDateTime> value = reader.ReadDateAndTime(text, consumed)) {
        return {*value, consumed};
    }
    if (const std::optional<TDateTime> value = reader.ReadTimeAlone(text)) {
        return {*value, text.size()};
    }
    ThrowNotValid(text);
}

} // namespace

TDateTime StrToDateTime(std::string_view text, const FormatSettings& settings, int presentYear) {
    return ReadText(text, settings, presentYear).value;
}

TDateTime StrToDateTimeFully(std::string_view text, const FormatSettings& settings,
                             int presentYear) {
    const Reading reading = ReadText(text, settings, presentYear);
    if (!OnlyBlanks(text.substr(reading.consumed))) {
        ThrowNotValid(text);
    }
    return reading.value;
}

} // namespace rtl
