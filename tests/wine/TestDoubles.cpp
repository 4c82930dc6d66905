#include "TestDoubles.h"

#include <algorithm>

void FakeClock::Set(int year, int month, int day, int hour, int minute, int second,
                    int millisecond) {
    now = rtl::DateTimeFields{.year = year,
                              .month = month,
                              .day = day,
                              .hour = hour,
                              .minute = minute,
                              .second = second,
                              .millisecond = millisecond};
}

rtl::DateTimeFields FakeClock::LocalTime() {
    ++reads;
    calls.push_back(Call::Read);
    if (failure) {
        failure();
    }
    return now;
}

ClockCallResult FakeClock::SetUtcTime(const SYSTEMTIME& utc) {
    calls.push_back(Call::Write);
    writes.push_back(utc);
    if (writeError != 0) {
        return {false, writeError};
    }
    if (followWrites) {
        SYSTEMTIME local{};
        if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
            return {false, GetLastError()};
        }
        Set(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond,
            local.wMilliseconds);
    }
    return {true, 0};
}

ClockCallResult FakeClock::LocalToUtc(const SYSTEMTIME& local, SYSTEMTIME& utc) {
    calls.push_back(Call::LocalToUtc);
    if (conversionError != 0) {
        return {false, conversionError};
    }
    return SystemClock::LocalToUtc(local, utc);
}

void FakeClock::BroadcastTimeChange() {
    calls.push_back(Call::Broadcast);
    SystemClock::BroadcastTimeChange();
}

bool FakeTimers::Arm(HWND window, UINT_PTR id, UINT intervalMilliseconds) {
    calls.push_back({true, window, id, intervalMilliseconds});
    return !refuse;
}

void FakeTimers::Disarm(HWND window, UINT_PTR id) {
    calls.push_back({false, window, id, 0});
}

int RecordingMessageBoxes::Show(HWND owner, const std::wstring& text, const std::wstring& caption,
                                UINT type) {
    shown.push_back({owner, text, caption, type, owner != nullptr && IsWindowEnabled(owner)});
    ++open;
    mostOpenAtOnce = std::max(mostOpenAtOnce, open);
    if (whileShown) {
        whileShown();
    }
    --open;
    return IDOK;
}
