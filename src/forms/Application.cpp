#include "forms/Application.h"

#include "forms/MessageBoxPlatform.h"
#include "forms/RegionalSettings.h"
#include "forms/WideText.h"
#include "rtl/ErrorText.h"

#include <commctrl.h>

#include <stdexcept>

namespace forms {

TApplication* Application = nullptr;

namespace {

std::wstring ExecutablePath() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path;
}

class EnableWindowAgain {
public:
    explicit EnableWindowAgain(HWND window) : window_(window) {}
    ~EnableWindowAgain() {
        if (window_ != nullptr) {
            EnableWindow(window_, TRUE);
        }
    }
    EnableWindowAgain(const EnableWindowAgain&) = delete;
    EnableWindowAgain& operator=(const EnableWindowAgain&) = delete;

private:
    HWND window_;
};

} // namespace

TApplication::TApplication() : TComponent(nullptr) {
    if (Application != nullptr) {
        throw std::logic_error("There is an application object already");
    }
    Application = this;
}

TApplication::~TApplication() {
    mainForm_ = nullptr;
    DestroyComponents();
    Application = nullptr;
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    LoadFormatSettings();
}

void TApplication::LoadFormatSettings() {
    formatSettings_ = LoadCurrentRegionalSettings();
}

void TApplication::FormCreated(TForm* form) {
    try {
        form->DoCreate();
    } catch (...) {
        HandleEventException();
    }
    if (mainForm_ == nullptr) {
        mainForm_ = form;
    }
}

void TApplication::ComponentRemoved(TComponent* component) {
    if (component == mainForm_) {
        mainForm_ = nullptr;
    }
}

void TApplication::Run() {
    if (mainForm_ == nullptr) {
        return;
    }
    mainForm_->Show();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        ProcessMessage(message);
    }
}

void TApplication::ProcessMessage(MSG& message) {
    if (mainForm_ != nullptr && mainForm_->HandleDialogKeys(message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

std::wstring TApplication::Title() const {
    return Utf8ToWide(rtl::ApplicationTitleFromExeName(WideToUtf8(ExecutablePath())));
}

void TApplication::ShowException(const std::exception& error) {
    if (showingException_) {
        return;
    }
    showingException_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{showingException_};

    HWND owner = mainForm_ != nullptr ? mainForm_->Handle() : nullptr;
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    EnableWindowAgain enableAgain(owner);
    CurrentMessageBoxPlatform().Show(owner, Utf8ToWide(rtl::MessageForDisplay(error.what())),
                                     Title(), MB_OK | MB_ICONERROR);
}

void HandleEventException() noexcept {
    try {
        try {
            throw;
        } catch (const std::exception& error) {
            if (Application != nullptr) {
                Application->ShowException(error);
            }
        } catch (...) {
            if (Application != nullptr) {
                Application->ShowException(std::runtime_error("Unknown error"));
            }
        }
    } catch (...) {
        // The display itself failed; nothing may leave the window procedure.
    }
}

void ShowApplicationError(const std::exception& error) noexcept {
    try {
        CurrentMessageBoxPlatform().Show(nullptr, Utf8ToWide(rtl::MessageForDisplay(error.what())),
                                         L"Application Error", MB_OK | MB_ICONERROR);
    } catch (...) {
        // Nothing more can be told.
    }
}

} // namespace forms
