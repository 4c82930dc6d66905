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
    if (failure) {
        failure();
    }
    return now;
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
