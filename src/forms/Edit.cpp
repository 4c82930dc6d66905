#include "forms/Edit.h"

#include "forms/TextMetrics.h"

namespace forms {

TEdit::TEdit(TComponent* owner) : TControl(owner) {}

void TEdit::SetText(const std::wstring& text) {
    if (Text() != text) {
        SetNativeText(text);
    }
}

void TEdit::LoadDesign(const ComponentDesign& row, const DesignEnvironment& environment) {
    TControl::LoadDesign(row, environment);
    SendMessageW(Handle(), EM_LIMITTEXT, 0, 0);
}

void TEdit::AdjustSize() {
    // The text's height plus, above and below it, the sunken edge and two pixels of margin.
    rtl::Rect bounds = BoundsRect();
    bounds.height = MeasureText(Font(), L"0").cy + 8 * GetSystemMetrics(SM_CYBORDER);
    SetBounds(bounds);
}

} // namespace forms
