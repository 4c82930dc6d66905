// TButton: a push button that raises OnClick with itself as Sender.
#pragma once

#include "forms/Control.h"

namespace forms {

class TButton : public TControl {
public:
    static constexpr const char* kClassName = "TButton";

    explicit TButton(TComponent* owner);

    TNotifyEvent OnClick;

    std::wstring Caption() const { return NativeText(); }
    // Raises OnClick, as a mouse click or the Space and Enter keys do.
    void Click();

    void LoadDesign(const ComponentDesign& row, const DesignEnvironment& environment) override;

protected:
    const wchar_t* NativeClassName() const override { return L"BUTTON"; }
    DWORD NativeStyle() const override { return BS_PUSHBUTTON | WS_TABSTOP; }
};

} // namespace forms
