// The clock steps of the twelve step buttons, on a local TDateTime.
// Day, hour, minute and second steps are exact to the millisecond; the month step carries into
// the year and clamps the day to the end of the new month; the year step is twelve months.
// Month and year steps throw EConvertError "Invalid argument to date encode" when the new year
// leaves 1 to 9999. A value, count or result outside the supported years (-32767 to 32767)
// throws EConvertError kDateTimeOutOfRange.
#pragma once

#include "DateTime.h"

#include <cstdint>

namespace rtl {

TDateTime IncYear(TDateTime value, std::int32_t years);
TDateTime IncMonth(TDateTime value, std::int32_t months);
TDateTime IncDay(TDateTime value, std::int32_t days);
TDateTime IncHour(TDateTime value, std::int64_t hours);
TDateTime IncMinute(TDateTime value, std::int64_t minutes);
TDateTime IncSecond(TDateTime value, std::int64_t seconds);

} // namespace rtl
