#include "forms/Timer.h"

#include "forms/Application.h"
#include "forms/DesignEnvironment.h"
#include "forms/FormDesign.h"
#include "forms/FormErrors.h"
#include "forms/TimerPlatform.h"

namespace forms {
namespace {

constexpr wchar_t kTimerWindowClass[] = L"TimeToolTimerWindow";
constexpr UINT_PTR kTimerId = 1;

void RegisterTimerWindowClass(WNDPROC windowProc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kTimerWindowClass, &existing)) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kTimerWindowClass;
    RegisterClassExW(&windowClass);
}

} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner), platform_(CurrentTimerPlatform()) {
    RegisterTimerWindowClass(&TTimer::WindowProc);
    // A hidden top-level window, never shown.
    HWND window = CreateWindowExW(0, kTimerWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        throw EOutOfResources("Error creating window for a timer");
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = forms::WindowHandle(window);
}

TTimer::~TTimer() {
    Disarm();
    SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
}

void TTimer::SetInterval(unsigned milliseconds) {
    if (milliseconds != interval_) {
        interval_ = milliseconds;
        UpdateTimer();
    }
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        UpdateTimer();
    }
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::LoadDesign(const ComponentDesign& row, const DesignEnvironment& environment) {
    SetInterval(row.interval);
    SetEnabled(row.enabled);
    if (row.onTimer != nullptr) {
        SetOnTimer(environment.resolveHandler(row.onTimer));
    }
}

void TTimer::UpdateTimer() {
    Disarm();
    if (enabled_ && interval_ != 0 && onTimer_) {
        if (!platform_.Arm(window_.Get(), kTimerId, interval_)) {
            throw EOutOfResources(kNotEnoughTimers);
        }
        armed_ = true;
    }
}

void TTimer::Disarm() {
    if (armed_) {
        platform_.Disarm(window_.Get(), kTimerId);
        armed_ = false;
    }
}

LRESULT CALLBACK TTimer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (timer != nullptr && timer->onTimer_) {
            try {
                timer->onTimer_(timer);
            } catch (...) {
                HandleEventException();
            }
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace forms
