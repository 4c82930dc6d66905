// TForm: a top-level window built from its design. A form class derives from TForm, declares a
// field per component and a method per handler, and loads its design in its constructor:
//
//     TForm1::TForm1(TComponent* Owner) : TForm(Owner) {
//         forms::DesignBindings bindings;
//         bindings.Field("Button1", Button1).Handler("FormCreate", this, &TForm1::FormCreate);
//         LoadDesign(Form1Design(), bindings);
//     }
//
// Loading creates the window (hidden) and every component in the design's order, connects the
// events by handler name, scales the layout to the measured text height and arranges the tab
// order. OnCreate is raised by TApplication::CreateForm once construction is complete.
#pragma once

#include "forms/Component.h"
#include "forms/Handles.h"

#include <string>

namespace forms {

class DesignBindings;
class TControl;
struct FormDesign;

class TForm : public TComponent {
public:
    ~TForm() override;

    HWND Handle() const { return window_.Get(); }
    HFONT Font() const { return font_.Get(); }
    std::wstring Caption() const;

    TNotifyEvent OnCreate;

    // Shows the window and gives the keyboard focus to the first control in the tab order.
    void Show();
    // Asks the window to close, as its close box does. Closing the main form ends the
    // application's message loop.
    void Close();
    // Raises OnCreate.
    void DoCreate();
    // Tab and Shift+Tab move the focus among the controls; Space and Enter click the focused
    // button. True when the message was handled so.
    bool HandleDialogKeys(MSG& message);

    // The enabled control with the lowest tab order, or nullptr.
    TControl* FirstTabControl() const;
    // The control whose native window this is, or nullptr.
    TControl* FindControl(HWND window) const;

protected:
    explicit TForm(TComponent* owner);
    void LoadDesign(const FormDesign& design, const DesignBindings& bindings);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateNativeWindow(const FormDesign& design);
    void SetClientSize(int width, int height);
    void ScaleLayout(int measured, int designed, int clientWidth, int clientHeight);
    void ArrangeTabOrder();
    void RestoreFocus();

    FontHandle font_;
    WindowHandle window_;
    DWORD style_ = 0;
    DWORD exStyle_ = 0;
    HWND lastFocus_ = nullptr;
};

} // namespace forms
