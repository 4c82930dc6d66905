// TTimer: periodic OnTimer events, delivered as WM_TIMER messages to a hidden window of its own.
// It is armed whenever it is enabled and has both an interval and a handler. The system keeps at
// most one tick pending: ticks that fall due while the thread is busy are not made up.
#pragma once

#include "forms/Component.h"
#include "forms/Handles.h"

namespace forms {

class TimerPlatform;

class TTimer : public TComponent {
public:
    static constexpr const char* kClassName = "TTimer";

    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    unsigned Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    // Each setter re-arms the timer as needed; arming throws EOutOfResources
    // "Not enough timers available" when the system refuses.
    void SetInterval(unsigned milliseconds);
    void SetEnabled(bool enabled);
    void SetOnTimer(TNotifyEvent handler);

    // The hidden window that receives the ticks.
    HWND WindowHandle() const { return window_.Get(); }

    void LoadDesign(const ComponentDesign& row, const DesignEnvironment& environment) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void UpdateTimer();
    void Disarm();

    forms::WindowHandle window_;
    TimerPlatform& platform_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
    bool armed_ = false;
};

} // namespace forms
