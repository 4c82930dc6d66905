// TControl: a component shown as a native child control of its form's window.
#pragma once

#include "forms/Component.h"
#include "forms/Handles.h"
#include "rtl/Layout.h"

#include <string>

namespace forms {

struct FontDesign;

class TControl : public TComponent {
public:
    HWND Handle() const { return window_.Get(); }

    // Position and size in the form's client area.
    const rtl::Rect& BoundsRect() const { return bounds_; }
    void SetBounds(const rtl::Rect& bounds);

    // Place in the form's tab order; -1 when the control takes no keyboard focus.
    int TabOrder() const { return tabOrder_; }

    // The font the control draws with: its own, or else its form's.
    HFONT Font() const { return ownFont_.Get() != nullptr ? ownFont_.Get() : parentFont_; }
    bool HasOwnFont() const { return ownFont_.Get() != nullptr; }

    // Creates the native control with the row's position, text, font and tab order.
    void LoadDesign(const ComponentDesign& row, const DesignEnvironment& environment) override;

    // Scales position, size and a font of the control's own by measured / designed text height.
    void ScaleBy(int measured, int designed);

protected:
    explicit TControl(TComponent* owner);

    // The native window class and styles of the kind (WS_CHILD and WS_VISIBLE are added).
    virtual const wchar_t* NativeClassName() const = 0;
    virtual DWORD NativeStyle() const = 0;
    virtual DWORD NativeExStyle() const { return 0; }
    // Fits the size to the content where the kind does so (text boxes, labels).
    virtual void AdjustSize() {}

    std::wstring NativeText() const;
    void SetNativeText(const std::wstring& text);

private:
    void CreateOwnFont(int height);

    WindowHandle window_;
    rtl::Rect bounds_;
    int tabOrder_ = -1;
    HFONT parentFont_ = nullptr;
    FontHandle ownFont_;
    std::wstring ownFontName_;
    int screenPixelsPerInch_ = 96;
};

} // namespace forms
