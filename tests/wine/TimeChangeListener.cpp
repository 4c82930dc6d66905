#include "TimeChangeListener.h"

#include <stdexcept>

namespace {

constexpr const wchar_t* kClassName = L"TimeChangeListener";

void RegisterListenerClass(WNDPROC proc) {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassW(&windowClass) == 0) {
        throw std::runtime_error("cannot register the listener's window class");
    }
    registered = true;
}

} // namespace

TimeChangeListener::TimeChangeListener(std::function<void()> onTimeChange)
    : onTimeChange_(std::move(onTimeChange)) {
    RegisterListenerClass(&Proc);
    window_ = CreateWindowExW(0, kClassName, L"listener", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) {
        throw std::runtime_error("cannot create the listener window");
    }
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TimeChangeListener::~TimeChangeListener() {
    DestroyWindow(window_);
}

LRESULT CALLBACK TimeChangeListener::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* listener =
        reinterpret_cast<TimeChangeListener*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_TIMECHANGE && listener != nullptr) {
        ++listener->received_;
        if (listener->onTimeChange_) {
            listener->onTimeChange_();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
