// The program's one gateway to the system clock: reading the local time, converting a local time
// to UTC with the computer's zone rules, writing the clock and telling every top-level window that
// the time has changed. The clock in use can be replaced, so that tests decide what time it is
// and see what would be written.
#pragma once

#include "rtl/DateTime.h"

#include <windows.h>

// What a call to the platform came to: done, or the system's error code (GetLastError).
struct ClockCallResult {
    bool done = false;
    DWORD error = 0;
};

class SystemClock {
public:
    virtual ~SystemClock() = default;
    // The present local date and time with its milliseconds, as GetLocalTime reports it.
    virtual rtl::DateTimeFields LocalTime() = 0;
    // Sets the system clock to the UTC time of the record (SetSystemTime).
    virtual ClockCallResult SetUtcTime(const SYSTEMTIME& utc) = 0;
    // The local time as UTC by the computer's own zone rules, daylight saving included
    // (TzSpecificLocalTimeToSystemTime with the zone in force).
    virtual ClockCallResult LocalToUtc(const SYSTEMTIME& local, SYSTEMTIME& utc);
    // Sends WM_TIMECHANGE to every top-level window and returns when all have handled it.
    virtual void BroadcastTimeChange();
};

// The clock in use: the system's own unless replaced.
SystemClock& CurrentSystemClock();
// Replaces it; nullptr restores the system's clock. Returns the replacement in force before.
SystemClock* ReplaceSystemClock(SystemClock* clock);

// The present local time as one value. Throws EConvertError "Invalid argument to date encode"
// when the clock stands beyond the year 9999.
rtl::TDateTime Now();
