// The program's one gateway to the system clock. The clock in use can be replaced, so that tests
// decide what time it is.
#pragma once

#include "rtl/DateTime.h"

class SystemClock {
public:
    virtual ~SystemClock() = default;
    // The present local date and time with its milliseconds, as GetLocalTime reports it.
    virtual rtl::DateTimeFields LocalTime() = 0;
};

// The clock in use: the system's own unless replaced.
SystemClock& CurrentSystemClock();
// Replaces it; nullptr restores the system's clock. Returns the replacement in force before.
SystemClock* ReplaceSystemClock(SystemClock* clock);

// The present local time as one value. Throws EConvertError "Invalid argument to date encode"
// when the clock stands beyond the year 9999.
rtl::TDateTime Now();
