// Building and splitting TDateTime values, exact to the millisecond.
//
// All calendar work happens on the linear timeline (milliseconds since 30 December 1899 00:00,
// negative before it). Only the conversions at its two ends know about the "day minus time of
// day" encoding that TDateTime uses for days before day 0.
#include "DateTime.h"

#include "Exceptions.h"

#include <chrono>
#include <cmath>

namespace rtl {
namespace {

namespace chr = std::chrono;

constexpr chr::sys_days kDayZero{chr::year{1899} / chr::December / 30};
constexpr std::int64_t kFirstDay =
    (chr::sys_days{chr::year::min() / chr::January / 1} - kDayZero).count();
constexpr std::int64_t kLastDay =
    (chr::sys_days{chr::year::max() / chr::December / 31} - kDayZero).count();

// Below 2^52 a double holds every half-integer exactly, so the rounding below is exact; the
// supported years stay well inside that.
constexpr double kMaxProduct = 4503599627370496.0;

constexpr int kMaxYear = 9999;

// a / b rounded toward minus infinity, for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if (a % b < 0) {
        --q;
    }
    return q;
}

bool DayInRange(std::int64_t day) {
    return day >= kFirstDay && day <= kLastDay;
}

[[noreturn]] void ThrowOutOfRange() {
    throw EConvertError(kDateTimeOutOfRange);
}

// value * 86,400,000 rounded to the nearest whole number, halves to the even neighbour. The
// rounding is decided on the exact product, not on the product already rounded to a double.
std::int64_t RoundedMillisecondCount(TDateTime value) {
    const double factor = static_cast<double>(kMSecsPerDay);
    const double product = value * factor;
    if (!std::isfinite(product) || std::fabs(product) >= kMaxProduct) {
        ThrowOutOfRange();
    }
    // product + error is exactly value * factor.
    const double error = std::fma(value, factor, -product);
    double whole = std::floor(product);
    const double fraction = product - whole; // exact, in [0, 1)
    bool up = false;
    if (fraction > 0.5) {
        up = true;
    } else if (fraction == 0.5) {
        if (error > 0) {
            up = true;
        } else if (error == 0) {
            up = std::fmod(whole, 2.0) != 0; // a true half: to the even neighbour
        }
    }
    if (up) {
        whole += 1.0;
    }
    return static_cast<std::int64_t>(whole);
}

void ValidateDate(int year, int month, int day) {
    if (year < 1 || year > kMaxYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        throw EConvertError(kInvalidDateEncode);
    }
}

std::int64_t ValidatedMillisecondOfDay(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 ||
        millisecond < 0 || millisecond >= 1000) {
        throw EConvertError(kInvalidTimeEncode);
    }
    return hour * std::int64_t{3'600'000} + minute * std::int64_t{60'000} +
           second * std::int64_t{1'000} + millisecond;
}

// Days since day 0 of a date already validated.
std::int64_t DayNumber(int year, int month, int day) {
    const chr::year_month_day date{chr::year{year}, chr::month{static_cast<unsigned>(month)},
                                   chr::day{static_cast<unsigned>(day)}};
    return (chr::sys_days{date} - kDayZero).count();
}

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        throw EConvertError(kInvalidDateEncode);
    }
    if (month == 2 && IsLeapYear(year)) {
        return 29;
    }
    return kLengths[month - 1];
}

TDateTime EncodeDate(int year, int month, int day) {
    ValidateDate(year, month, day);
    return static_cast<TDateTime>(DayNumber(year, month, day));
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    const std::int64_t ms = ValidatedMillisecondOfDay(hour, minute, second, millisecond);
    return static_cast<double>(ms) / static_cast<double>(kMSecsPerDay);
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
    ValidateDate(year, month, day);
    const std::int64_t ms = ValidatedMillisecondOfDay(hour, minute, second, millisecond);
    return FromLinearMilliseconds(DayNumber(year, month, day) * kMSecsPerDay + ms);
}

TDateTime DateTimeFromFields(const DateTimeFields& fields) {
    return EncodeDateTime(fields.year, fields.month, fields.day, fields.hour, fields.minute,
                          fields.second, fields.millisecond);
}

std::int64_t ToLinearMilliseconds(TDateTime value) {
    const std::int64_t count = RoundedMillisecondCount(value);
    std::int64_t linear = count;
    if (count < 0) {
        // "Day minus time of day": the whole days toward zero, the time of day forward from them.
        const std::int64_t day = count / kMSecsPerDay;
        const std::int64_t timeOfDay = -(count % kMSecsPerDay);
        linear = day * kMSecsPerDay + timeOfDay;
    }
    if (!DayInRange(FloorDiv(linear, kMSecsPerDay))) {
        ThrowOutOfRange();
    }
    return linear;
}

TDateTime FromLinearMilliseconds(std::int64_t milliseconds) {
    const std::int64_t day = FloorDiv(milliseconds, kMSecsPerDay);
    if (!DayInRange(day)) {
        ThrowOutOfRange();
    }
    std::int64_t count = milliseconds;
    if (day < 0) {
        const std::int64_t timeOfDay = milliseconds - day * kMSecsPerDay;
        count = day * kMSecsPerDay - timeOfDay;
    }
    // One correctly rounded division: multiplying back and rounding gives the count again.
    return static_cast<double>(count) / static_cast<double>(kMSecsPerDay);
}

DateTimeFields DecodeLinearMilliseconds(std::int64_t milliseconds) {
    const std::int64_t day = FloorDiv(milliseconds, kMSecsPerDay);
    if (!DayInRange(day)) {
        ThrowOutOfRange();
    }
    const chr::sys_days date = kDayZero + chr::days{day};
    const chr::year_month_day ymd{date};
    const std::int64_t ms = milliseconds - day * kMSecsPerDay;

    DateTimeFields fields;
    fields.year = static_cast<int>(ymd.year());
    fields.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    fields.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    fields.hour = static_cast<int>(ms / 3'600'000);
    fields.minute = static_cast<int>(ms / 60'000 % 60);
    fields.second = static_cast<int>(ms % 60'000 / 1'000);
    fields.millisecond = static_cast<int>(ms % 1'000);
    fields.dayOfWeek = static_cast<int>(chr::weekday{date}.c_encoding());
    return fields;
}

DateTimeFields DecodeDateTime(TDateTime value) {
    DateTimeFields fields = DecodeLinearMilliseconds(ToLinearMilliseconds(value));
    if (fields.year < 1) {
        fields.year = 0;
        fields.month = 0;
        fields.day = 0;
    }
    return fields;
}

} // namespace rtl
