// The system timers behind TTimer, replaceable so that tests can control them.
#pragma once

#include <windows.h>

namespace forms {

class TimerPlatform {
public:
    virtual ~TimerPlatform() = default;
    // Arms a periodic WM_TIMER for the window (SetTimer); false when the system has no timer left.
    virtual bool Arm(HWND window, UINT_PTR id, UINT intervalMilliseconds) = 0;
    // Disarms it (KillTimer).
    virtual void Disarm(HWND window, UINT_PTR id) = 0;
};

// The platform that timers created from now on use: SetTimer and KillTimer unless replaced.
TimerPlatform& CurrentTimerPlatform();
// Replaces it; nullptr restores the system's timers. Returns the replacement in force before.
TimerPlatform* ReplaceTimerPlatform(TimerPlatform* platform);

} // namespace forms
