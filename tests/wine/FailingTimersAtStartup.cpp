// Linked into a copy of the program whose system has no timer left: every SetTimer fails.
#include "forms/TimerPlatform.h"

namespace {

class NoTimersLeft : public forms::TimerPlatform {
public:
    bool Arm(HWND, UINT_PTR, UINT) override { return false; }
    void Disarm(HWND, UINT_PTR) override {}
};

NoTimersLeft noTimersLeft;
// Put in place during static initialisation, before the entry runs.
const bool installed = (forms::ReplaceTimerPlatform(&noTimersLeft), true);

} // namespace
