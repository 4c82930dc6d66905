#include "SystemClock.h"

namespace {

ClockCallResult ResultOf(BOOL done) {
    ClockCallResult result;
    result.done = done != FALSE;
    result.error = result.done ? 0 : GetLastError();
    return result;
}

class WindowsClock : public SystemClock {
public:
    rtl::DateTimeFields LocalTime() override {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        rtl::DateTimeFields fields;
        fields.year = now.wYear;
        fields.month = now.wMonth;
        fields.day = now.wDay;
        fields.hour = now.wHour;
        fields.minute = now.wMinute;
        fields.second = now.wSecond;
        fields.millisecond = now.wMilliseconds;
        fields.dayOfWeek = now.wDayOfWeek;
        return fields;
    }

    ClockCallResult SetUtcTime(const SYSTEMTIME& utc) override {
        return ResultOf(SetSystemTime(&utc));
    }
};

SystemClock* replacement = nullptr;

} // namespace

ClockCallResult SystemClock::LocalToUtc(const SYSTEMTIME& local, SYSTEMTIME& utc) {
    return ResultOf(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
}

void SystemClock::BroadcastTimeChange() {
    SendMessageA(HWND_BROADCAST, WM_TIMECHANGE, 0, 0);
}

SystemClock& CurrentSystemClock() {
    static WindowsClock windowsClock;
    return replacement != nullptr ? *replacement : windowsClock;
}

SystemClock* ReplaceSystemClock(SystemClock* clock) {
    SystemClock* previous = replacement;
    replacement = clock;
    return previous;
}

rtl::TDateTime Now() {
    return rtl::DateTimeFromFields(CurrentSystemClock().LocalTime());
}
