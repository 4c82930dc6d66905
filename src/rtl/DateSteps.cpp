// The clock steps, computed exactly on the linear millisecond timeline so that they move the
// same way on both sides of day 0.
#include "DateSteps.h"

#include "Exceptions.h"

namespace rtl {
namespace {

constexpr std::int64_t kMSecsPerHour = 3'600'000;
constexpr std::int64_t kMSecsPerMinute = 60'000;
constexpr std::int64_t kMSecsPerSecond = 1'000;

// Any count larger than this moves the value far beyond the supported years; refusing it here
// keeps the multiplication below from overflowing.
constexpr std::int64_t kMaxStepMilliseconds = std::int64_t{1} << 53;

TDateTime AddMilliseconds(TDateTime value, std::int64_t count, std::int64_t unit) {
    const std::int64_t limit = kMaxStepMilliseconds / unit;
    if (count > limit || count < -limit) {
        throw EConvertError(kDateTimeOutOfRange);
    }
    return FromLinearMilliseconds(ToLinearMilliseconds(value) + count * unit);
}

TDateTime AddMonths(TDateTime value, std::int64_t months) {
    const std::int64_t linear = ToLinearMilliseconds(value);
    const DateTimeFields fields = DecodeLinearMilliseconds(linear);

    std::int64_t year = fields.year + months / 12;
    std::int64_t month = fields.month + months % 12;
    if (month < 1 || month > 12) {
        const std::int64_t sign = months >= 0 ? 1 : -1;
        year += sign;
        month -= 12 * sign;
    }
    if (year < 1 || year > 9999) {
        throw EConvertError(kInvalidDateEncode);
    }
    const int newYear = static_cast<int>(year);
    const int newMonth = static_cast<int>(month);
    int day = fields.day;
    const int length = DaysInMonth(newYear, newMonth);
    if (day > length) {
        day = length;
    }

    const std::int64_t timeOfDay = fields.hour * kMSecsPerHour + fields.minute * kMSecsPerMinute +
                                   fields.second * kMSecsPerSecond + fields.millisecond;
    const std::int64_t newDay = ToLinearMilliseconds(EncodeDate(newYear, newMonth, day));
    return FromLinearMilliseconds(newDay + timeOfDay);
}

} // namespace

TDateTime IncYear(TDateTime value, std::int32_t years) {
    return AddMonths(value, std::int64_t{years} * 12);
}

TDateTime IncMonth(TDateTime value, std::int32_t months) {
    return AddMonths(value, months);
}

TDateTime IncDay(TDateTime value, std::int32_t days) {
    return AddMilliseconds(value, days, kMSecsPerDay);
}

TDateTime IncHour(TDateTime value, std::int64_t hours) {
    return AddMilliseconds(value, hours, kMSecsPerHour);
}

TDateTime IncMinute(TDateTime value, std::int64_t minutes) {
    return AddMilliseconds(value, minutes, kMSecsPerMinute);
}

TDateTime IncSecond(TDateTime value, std::int64_t seconds) {
    return AddMilliseconds(value, seconds, kMSecsPerSecond);
}

} // namespace rtl
