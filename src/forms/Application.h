// TApplication: the program's application object. It creates the forms, runs the message loop
// and shows the errors that escape event handlers (the default error display).
#pragma once

#include "forms/Component.h"
#include "forms/Form.h"
#include "rtl/FormatSettings.h"

#include <exception>
#include <new>
#include <string>

namespace forms {

class TApplication : public TComponent {
public:
    // There is one application object at a time; it is reachable as forms::Application.
    TApplication();
    ~TApplication() override;

    // Prepares the common controls and loads the regional settings.
    void Initialize();

    // The user's regional date and time settings, as last loaded (built-in defaults before).
    const rtl::FormatSettings& FormatSettings() const { return formatSettings_; }
    // Loads them afresh: at start-up and whenever the system announces a change of settings
    // (WM_SETTINGCHANGE reaching the main form).
    void LoadFormatSettings();

    // Creates a form of class T owned by the application. `reference` holds the new form from
    // before its construction begins and is set back to nullptr if the construction fails (the
    // error then leaves CreateForm). OnCreate follows the construction; an error in it is shown
    // by the error display. The first form created becomes the main form.
    template <class T> void CreateForm(T*& reference) {
        void* memory = ::operator new(sizeof(T));
        reference = static_cast<T*>(memory);
        T* form = nullptr;
        try {
            form = ::new (memory) T(this);
        } catch (...) {
            reference = nullptr;
            ::operator delete(memory);
            throw;
        }
        FormCreated(form);
    }

    TForm* MainForm() const { return mainForm_; }

    // Shows the main form, then fetches and dispatches messages until a quit request arrives.
    void Run();
    // Dispatches one message, with the main form's dialog keys.
    void ProcessMessage(MSG& message);
    // Asks the message loop to end.
    void Terminate();

    // The title: the executable's file name, cut at its first ".", capitalised.
    std::wstring Title() const;

    // The default error display: a modal box owned by the main form, with the stop icon and an OK
    // button, the main form disabled meanwhile. While one box is on screen, further errors are
    // not shown, so that a failure that repeats on every timer tick cannot pile boxes up.
    void ShowException(const std::exception& error);
    bool ShowingException() const { return showingException_; }

protected:
    void ComponentRemoved(TComponent* component) override;

private:
    void FormCreated(TForm* form);

    TForm* mainForm_ = nullptr;
    bool showingException_ = false;
    rtl::FormatSettings formatSettings_;
};

// The application object of the program, nullptr while there is none.
extern TApplication* Application;

// Shows the error being handled with the application's error display; to be called inside a
// catch block at the edge of a window procedure or event dispatch. Never throws.
void HandleEventException() noexcept;

// The box for a failure that ends the program before its window runs: "Application Error".
void ShowApplicationError(const std::exception& error) noexcept;

} // namespace forms
