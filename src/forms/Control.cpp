#include "forms/Control.h"

#include "forms/DesignEnvironment.h"
#include "forms/FormDesign.h"
#include "forms/FormErrors.h"

namespace forms {

TControl::TControl(TComponent* owner) : TComponent(owner) {}

void TControl::SetBounds(const rtl::Rect& bounds) {
    bounds_ = bounds;
    if (Handle() != nullptr) {
        MoveWindow(Handle(), bounds_.left, bounds_.top, bounds_.width, bounds_.height, TRUE);
    }
}

void TControl::LoadDesign(const ComponentDesign& row, const DesignEnvironment& environment) {
    bounds_ = rtl::Rect{row.left, row.top, row.width, row.height};
    tabOrder_ = row.tabOrder;
    parentFont_ = environment.windowFont;
    screenPixelsPerInch_ = environment.screenPixelsPerInch;
    if (row.font != nullptr) {
        ownFontName_ = row.font->name;
        CreateOwnFont(rtl::ScaleFontHeightForDpi(row.font->height, environment.screenPixelsPerInch,
                                                 environment.designPixelsPerInch));
    }

    HWND window = CreateWindowExW(
        NativeExStyle(), NativeClassName(), row.caption != nullptr ? row.caption : L"",
        NativeStyle() | WS_CHILD | WS_VISIBLE, bounds_.left, bounds_.top, bounds_.width,
        bounds_.height, environment.parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(environment.controlId)),
        GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        throw EOutOfResources("Error creating window " + Name());
    }
    window_ = WindowHandle(window);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    AdjustSize();
}

void TControl::ScaleBy(int measured, int designed) {
    if (HasOwnFont()) {
        // The font's point size scales, not its pixel height.
        LOGFONTW font{};
        GetObjectW(ownFont_.Get(), sizeof font, &font);
        const int size = -rtl::MulDiv(font.lfHeight, 72, screenPixelsPerInch_);
        const int scaledSize = rtl::MulDiv(size, measured, designed);
        CreateOwnFont(-rtl::MulDiv(scaledSize, screenPixelsPerInch_, 72));
    }
    SetBounds(rtl::ScaleRect(bounds_, measured, designed));
    AdjustSize();
}

std::wstring TControl::NativeText() const {
    const int length = GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(Handle(), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void TControl::SetNativeText(const std::wstring& text) {
    SetWindowTextW(Handle(), text.c_str());
}

void TControl::CreateOwnFont(int height) {
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, ownFontName_.c_str());
    if (font == nullptr) {
        throw EOutOfResources("Error creating font for " + Name());
    }
    // The control may still draw with the old font until it is told of the new one.
    FontHandle previous = std::move(ownFont_);
    ownFont_ = FontHandle(font);
    if (Handle() != nullptr) {
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

} // namespace forms
