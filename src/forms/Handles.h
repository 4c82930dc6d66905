// Owners of the native handles the form layer creates: windows, fonts and device contexts.
#pragma once

#include <windows.h>

#include <utility>

namespace forms {

// A window that this object created; destroyed with it.
class WindowHandle {
public:
    WindowHandle() = default;
    explicit WindowHandle(HWND window) : window_(window) {}
    ~WindowHandle() { Reset(); }
    WindowHandle(WindowHandle&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
    WindowHandle& operator=(WindowHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            window_ = std::exchange(other.window_, nullptr);
        }
        return *this;
    }
    WindowHandle(const WindowHandle&) = delete;
    WindowHandle& operator=(const WindowHandle&) = delete;

    HWND Get() const { return window_; }
    void Reset() {
        if (window_ != nullptr) {
            DestroyWindow(std::exchange(window_, nullptr));
        }
    }

private:
    HWND window_ = nullptr;
};

// A GDI font that this object created; deleted with it.
class FontHandle {
public:
    FontHandle() = default;
    explicit FontHandle(HFONT font) : font_(font) {}
    ~FontHandle() { Reset(); }
    FontHandle(FontHandle&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
    FontHandle& operator=(FontHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            font_ = std::exchange(other.font_, nullptr);
        }
        return *this;
    }
    FontHandle(const FontHandle&) = delete;
    FontHandle& operator=(const FontHandle&) = delete;

    HFONT Get() const { return font_; }
    void Reset() {
        if (font_ != nullptr) {
            DeleteObject(std::exchange(font_, nullptr));
        }
    }

private:
    HFONT font_ = nullptr;
};

// The screen's device context, with one font selected into it for measuring; both are given
// back on destruction.
class ScreenDC {
public:
    explicit ScreenDC(HFONT font = nullptr) : dc_(GetDC(nullptr)) {
        if (font != nullptr) {
            previousFont_ = static_cast<HFONT>(SelectObject(dc_, font));
        }
    }
    ~ScreenDC() {
        if (previousFont_ != nullptr) {
            SelectObject(dc_, previousFont_);
        }
        ReleaseDC(nullptr, dc_);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HFONT previousFont_ = nullptr;
};

} // namespace forms
