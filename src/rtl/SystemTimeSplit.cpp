// The split of a TDateTime into the fields of a SYSTEMTIME record.
#include "SystemTimeSplit.h"

#include "Exceptions.h"

namespace rtl {
namespace {

std::uint16_t Word(int value) {
    return static_cast<std::uint16_t>(value);
}

SystemTimeRecord RecordFromLinear(std::int64_t milliseconds) {
    const DateTimeFields fields = DecodeLinearMilliseconds(milliseconds);
    SystemTimeRecord record;
    if (fields.year >= 1) {
        record.wYear = Word(fields.year);
        record.wMonth = Word(fields.month);
        record.wDay = Word(fields.day);
    }
    record.wDayOfWeek = Word(fields.dayOfWeek);
    record.wHour = Word(fields.hour);
    record.wMinute = Word(fields.minute);
    record.wSecond = Word(fields.second);
    record.wMilliseconds = Word(fields.millisecond);
    return record;
}

} // namespace

SystemTimeRecord SplitToSystemTime(TDateTime value) {
    return RecordFromLinear(ToLinearMilliseconds(value));
}

SystemTimeRecord SplitToSystemTime(TDateTime value, std::int64_t offsetMilliseconds) {
    // Far beyond the supported years; refused before the sum could overflow.
    constexpr std::int64_t kMaxOffset = std::int64_t{1} << 53;
    if (offsetMilliseconds > kMaxOffset || offsetMilliseconds < -kMaxOffset) {
        throw EConvertError(kDateTimeOutOfRange);
    }
    return RecordFromLinear(ToLinearMilliseconds(value) + offsetMilliseconds);
}

} // namespace rtl
