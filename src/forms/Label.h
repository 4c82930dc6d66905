// TLabel: static text on the form's background; its size follows its caption.
#pragma once

#include "forms/Control.h"

namespace forms {

class TLabel : public TControl {
public:
    static constexpr const char* kClassName = "TLabel";

    explicit TLabel(TComponent* owner);

    std::wstring Caption() const { return NativeText(); }

protected:
    const wchar_t* NativeClassName() const override { return L"STATIC"; }
    DWORD NativeStyle() const override { return SS_LEFT | SS_NOPREFIX; }
    void AdjustSize() override;
};

} // namespace forms
