// The main window: six fields that show the present local date and time, refreshed by a 200 ms
// timer, twelve step buttons and the calibration button.
#pragma once

#include "IdHTTPComponent.h"
#include "forms/Button.h"
#include "forms/Edit.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/Timer.h"
#include "rtl/DateTime.h"

using forms::TButton;
using forms::TComponent;
using forms::TEdit;
using forms::TLabel;
using forms::TTimer;

class TForm1 : public forms::TForm {
public: // Components of the design, filled by name when the window is created.
    TButton* Button1 = nullptr;
    TEdit* Edit1 = nullptr;
    TEdit* Edit2 = nullptr;
    TEdit* Edit3 = nullptr;
    TEdit* Edit4 = nullptr;
    TEdit* Edit5 = nullptr;
    TEdit* Edit6 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TTimer* Timer1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TButton* Button5 = nullptr;
    TButton* Button6 = nullptr;
    TButton* Button7 = nullptr;
    TButton* Button8 = nullptr;
    TButton* Button9 = nullptr;
    TButton* Button10 = nullptr;
    TButton* Button11 = nullptr;
    TButton* Button12 = nullptr;
    TIdHTTP* IdHTTP1 = nullptr;
    TButton* Button13 = nullptr;

    // Event handlers, connected by the names the design gives them.
    void Timer1Timer(TComponent* Sender);
    void FormCreate(TComponent* Sender);
    void Button1Click(TComponent* Sender);
    void Button13Click(TComponent* Sender);

private:
    // Writes the year, month, day, hour, minute and second of the value into the six fields.
    void ShowDateTime(rtl::TDateTime value);

    friend struct TForm1TestAccess;

public:
    explicit TForm1(TComponent* Owner);
};

extern TForm1* Form1;

// How SetSystemClock reads the local time it is given.
enum class TLocalZone { Computer, UtcPlus8 };

// Writes a local date and time to the system clock: as the computer's own local time (its zone
// rules, daylight saving included) or as UTC+8. Then tells every top-level window that the time
// has changed, also when the write failed; a failed write then raises rtl::EOSError with the
// system's text for the failure. Never asks for the right to change the time.
void SetSystemClock(rtl::TDateTime localTime, TLocalZone zone);
