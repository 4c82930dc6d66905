// The main window with a clock the test controls, and the step buttons clicked through the
// buttons themselves.
#pragma once

#include "Form1Fixture.h"

#include <cstdio>
#include <ostream>
#include <string>

class StepButtonFixture : public Form1Fixture {
protected:
    // A real click: BM_CLICK to the named button's control.
    void Click(const char* name) {
        auto* button = dynamic_cast<TButton*>(Form1->FindComponent(name));
        ASSERT_NE(button, nullptr) << name;
        SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    }
};

// Names the calls in a test's failure message.
inline void PrintTo(FakeClock::Call call, std::ostream* out) {
    static const char* const names[] = {"Read", "LocalToUtc", "Write", "Broadcast"};
    *out << names[static_cast<int>(call)];
}

// "yyyy-mm-dd hh:nn:ss.zzz" of a SYSTEMTIME; its day of week plays no part in a write.
inline std::string TimeText(const SYSTEMTIME& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}

// The system's English text for an error, as Windows words it and as Wine does.
struct SystemText {
    DWORD code;
    const char* windows;
    const char* wine;

    bool Matches(const std::string& text) const { return text == windows || text == wine; }
};
inline constexpr SystemText kPrivilegeNotHeld{ERROR_PRIVILEGE_NOT_HELD,
                                              "A required privilege is not held by the client.",
                                              "Privilege not held."};
inline constexpr SystemText kInvalidParameter{ERROR_INVALID_PARAMETER,
                                              "The parameter is incorrect.", "Invalid parameter."};

inline std::string TimeText(const rtl::DateTimeFields& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond);
    return text;
}
