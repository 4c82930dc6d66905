// A hidden top-level window of the test's own, not owned by the main window: it stands for any
// other window on the desktop and reports each WM_TIMECHANGE it receives.
#pragma once

#include <windows.h>

#include <functional>

class TimeChangeListener {
public:
    explicit TimeChangeListener(std::function<void()> onTimeChange);
    ~TimeChangeListener();
    TimeChangeListener(const TimeChangeListener&) = delete;
    TimeChangeListener& operator=(const TimeChangeListener&) = delete;

    HWND Handle() const { return window_; }
    int Received() const { return received_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<void()> onTimeChange_;
    int received_ = 0;
    HWND window_ = nullptr;
};
