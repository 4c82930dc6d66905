// TEdit: a single-line text box. Its height follows its font.
#pragma once

#include "forms/Control.h"

namespace forms {

class TEdit : public TControl {
public:
    static constexpr const char* kClassName = "TEdit";

    explicit TEdit(TComponent* owner);

    std::wstring Text() const { return NativeText(); }
    // Replaces the whole content; a text equal to the present one changes nothing, so the caret
    // and any selection stay where they are.
    void SetText(const std::wstring& text);

    // Creates the native text box, without a length limit.
    void LoadDesign(const ComponentDesign& row, const DesignEnvironment& environment) override;

protected:
    const wchar_t* NativeClassName() const override { return L"EDIT"; }
    DWORD NativeStyle() const override { return ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP; }
    DWORD NativeExStyle() const override { return WS_EX_CLIENTEDGE; }
    void AdjustSize() override;
};

} // namespace forms
