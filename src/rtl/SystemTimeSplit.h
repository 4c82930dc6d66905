// The split of a TDateTime into the eight fields of the platform's SYSTEMTIME record.
#pragma once

#include "DateTime.h"

#include <cstdint>

namespace rtl {

// The fields of a SYSTEMTIME, in its order, without depending on Windows headers.
struct SystemTimeRecord {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
};

// Rounds to whole milliseconds (half to even; may carry into the next day). A value before
// 1 January of year 1 gives 0 in wYear, wMonth and wDay. Throws EConvertError
// kDateTimeOutOfRange for a value that is not finite or lies outside the years -32767 to 32767.
SystemTimeRecord SplitToSystemTime(TDateTime value);

// The same value shifted by a whole number of milliseconds first (the fixed zone offset of the
// time service: -8 hours), computed exactly in milliseconds.
SystemTimeRecord SplitToSystemTime(TDateTime value, std::int64_t offsetMilliseconds);

} // namespace rtl
