#include "forms/Form.h"

#include "forms/Application.h"
#include "forms/Button.h"
#include "forms/DesignBindings.h"
#include "forms/DesignEnvironment.h"
#include "forms/FormDesign.h"
#include "forms/FormErrors.h"
#include "forms/Label.h"
#include "forms/TextMetrics.h"
#include "forms/WideText.h"

#include <algorithm>
#include <vector>

namespace forms {
namespace {

DWORD WindowStyle(const FormDesign& design) {
    DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
    if (design.borderStyle == TBorderStyle::bsSizeable) {
        style |= WS_THICKFRAME;
    }
    if (design.borderIcons & biSystemMenu) {
        style |= WS_SYSMENU;
    }
    if (design.borderIcons & biMinimize) {
        style |= WS_MINIMIZEBOX;
    }
    if (design.borderIcons & biMaximize) {
        style |= WS_MAXIMIZEBOX;
    }
    return style;
}

void RegisterFormClass(const std::wstring& className, WNDPROC windowProc) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className.c_str(), &existing)) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"MAINICON");
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = className.c_str();
    if (RegisterClassExW(&windowClass) == 0) {
        throw EOutOfResources("Error registering window class " + WideToUtf8(className));
    }
}

} // namespace

TForm::TForm(TComponent* owner) : TComponent(owner) {}

TForm::~TForm() {
    // The controls' windows go before the form's own window, which would destroy them too.
    DestroyComponents();
    if (Handle() != nullptr) {
        SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
    }
}

std::wstring TForm::Caption() const {
    const int length = GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Handle(), text.data(), length + 1)));
    return text;
}

void TForm::LoadDesign(const FormDesign& design, const DesignBindings& bindings) {
    SetName(design.name);

    const int screenPpi = ScreenPixelsPerInch();
    const int fontHeight =
        screenPpi == design.pixelsPerInch
            ? design.font.height
            : rtl::ScaleFontHeightForDpi(design.font.height, screenPpi, design.pixelsPerInch);
    HFONT font = CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, design.font.name);
    if (font == nullptr) {
        throw EOutOfResources("Error creating the font of " + Name());
    }
    font_ = FontHandle(font);

    CreateNativeWindow(design);

    DesignEnvironment environment;
    environment.parent = Handle();
    environment.windowFont = Font();
    environment.designPixelsPerInch = design.pixelsPerInch;
    environment.screenPixelsPerInch = screenPpi;
    environment.resolveHandler = [&bindings](const char* name) {
        return bindings.ResolveHandler(name);
    };
    std::vector<const char*> designedNames;
    for (const ComponentDesign& row : design.components) {
        TComponent* component = bindings.CreateComponent(row, this);
        component->SetName(row.name);
        ++environment.controlId;
        component->LoadDesign(row, environment);
        designedNames.push_back(row.name);
    }
    bindings.CheckAllFieldsFilled(designedNames);
    if (design.onCreate != nullptr) {
        OnCreate = bindings.ResolveHandler(design.onCreate);
    }

    const int measured = MeasureText(Font(), L"0").cy;
    if (measured != design.textHeight) {
        ScaleLayout(measured, design.textHeight, design.clientWidth, design.clientHeight);
    }
    ArrangeTabOrder();
}

void TForm::CreateNativeWindow(const FormDesign& design) {
    const std::wstring className = Utf8ToWide(design.className);
    RegisterFormClass(className, &TForm::WindowProc);
    style_ = WindowStyle(design);
    RECT frame{0, 0, design.clientWidth, design.clientHeight};
    AdjustWindowRectEx(&frame, style_, FALSE, exStyle_);
    HWND window = CreateWindowExW(exStyle_, className.c_str(), design.caption, style_, design.left,
                                  design.top, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window == nullptr) {
        throw EOutOfResources("Error creating window " + Name());
    }
    window_ = WindowHandle(window);
}

void TForm::SetClientSize(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style_, FALSE, exStyle_);
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::ScaleLayout(int measured, int designed, int clientWidth, int clientHeight) {
    for (int i = 0; i < ComponentCount(); ++i) {
        if (auto* control = dynamic_cast<TControl*>(Components(i))) {
            control->ScaleBy(measured, designed);
        }
    }
    SetClientSize(rtl::MulDiv(clientWidth, measured, designed),
                  rtl::MulDiv(clientHeight, measured, designed));
}

void TForm::ArrangeTabOrder() {
    // The dialog keys follow the z-order of the controls, so the controls are stacked in their
    // tab order; those outside it go below.
    std::vector<TControl*> controls;
    for (int i = 0; i < ComponentCount(); ++i) {
        if (auto* control = dynamic_cast<TControl*>(Components(i))) {
            controls.push_back(control);
        }
    }
    std::stable_sort(controls.begin(), controls.end(), [](TControl* a, TControl* b) {
        const unsigned orderA = static_cast<unsigned>(a->TabOrder()); // -1 sorts last
        const unsigned orderB = static_cast<unsigned>(b->TabOrder());
        return orderA < orderB;
    });
    HWND previous = HWND_TOP;
    for (TControl* control : controls) {
        SetWindowPos(control->Handle(), previous, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control->Handle();
    }
}

TControl* TForm::FirstTabControl() const {
    TControl* first = nullptr;
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(Components(i));
        if (control != nullptr && control->TabOrder() >= 0 && IsWindowEnabled(control->Handle()) &&
            (first == nullptr || control->TabOrder() < first->TabOrder())) {
            first = control;
        }
    }
    return first;
}

TControl* TForm::FindControl(HWND window) const {
    if (window == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(Components(i));
        if (control != nullptr && control->Handle() == window) {
            return control;
        }
    }
    return nullptr;
}

void TForm::Show() {
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
    SetForegroundWindow(Handle());
    lastFocus_ = nullptr;
    RestoreFocus();
}

void TForm::Close() {
    if (Application != nullptr && Application->MainForm() == this) {
        Application->Terminate();
    }
    ShowWindow(Handle(), SW_HIDE);
}

void TForm::DoCreate() {
    if (OnCreate) {
        OnCreate(this);
    }
}

bool TForm::HandleDialogKeys(MSG& message) {
    return IsDialogMessageW(Handle(), &message) != 0;
}

void TForm::RestoreFocus() {
    if (lastFocus_ == nullptr || !IsWindow(lastFocus_)) {
        TControl* first = FirstTabControl();
        lastFocus_ = first != nullptr ? first->Handle() : nullptr;
    }
    if (lastFocus_ != nullptr) {
        SetFocus(lastFocus_);
    }
}

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return form->HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        HandleEventException();
        return 0;
    }
}

LRESULT TForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
            if (auto* button =
                    dynamic_cast<TButton*>(FindControl(reinterpret_cast<HWND>(lParam)))) {
                button->Click();
                return 0;
            }
        }
        break;
    case DM_GETDEFID:
        // The focused push button acts as the default one, so that Enter clicks it.
        if (auto* button = dynamic_cast<TButton*>(FindControl(GetFocus()))) {
            return MAKELRESULT(GetDlgCtrlID(button->Handle()), DC_HASDEFID);
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        if (dynamic_cast<TLabel*>(FindControl(reinterpret_cast<HWND>(lParam))) != nullptr) {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (FindControl(focus) != nullptr) {
                lastFocus_ = focus;
            }
        } else if (HIWORD(wParam) == 0) {
            RestoreFocus();
        }
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_SETTINGCHANGE:
        // The regional settings may have changed: the application reads them again.
        if (Application != nullptr && Application->MainForm() == this) {
            Application->LoadFormatSettings();
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace forms
