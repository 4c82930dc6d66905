#include "SystemClock.h"

#include <windows.h>

namespace {

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
};

SystemClock* replacement = nullptr;

} // namespace

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
