#include "forms/TimerPlatform.h"

namespace forms {
namespace {

class SystemTimers : public TimerPlatform {
public:
    bool Arm(HWND window, UINT_PTR id, UINT intervalMilliseconds) override {
        return SetTimer(window, id, intervalMilliseconds, nullptr) != 0;
    }
    void Disarm(HWND window, UINT_PTR id) override { KillTimer(window, id); }
};

// Constant-initialised, so a replacement made during static initialisation holds.
TimerPlatform* replacement = nullptr;

} // namespace

TimerPlatform& CurrentTimerPlatform() {
    static SystemTimers systemTimers;
    return replacement != nullptr ? *replacement : systemTimers;
}

TimerPlatform* ReplaceTimerPlatform(TimerPlatform* platform) {
    TimerPlatform* previous = replacement;
    replacement = platform;
    return previous;
}

} // namespace forms
