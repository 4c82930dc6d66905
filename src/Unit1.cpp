#include "Unit1.h"

#include "SystemClock.h"
#include "SystemErrorText.h"
#include "forms/Application.h"
#include "forms/DesignBindings.h"
#include "forms/WideText.h"
#include "res/Form1Design.h"
#include "rtl/DateSteps.h"
#include "rtl/DateTimeReader.h"
#include "rtl/Exceptions.h"
#include "rtl/Format.h"
#include "rtl/SystemTimeSplit.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* Owner) : TForm(Owner) {
    forms::DesignBindings bindings;
    bindings.Field("Button1", Button1)
        .Field("Edit1", Edit1)
        .Field("Edit2", Edit2)
        .Field("Edit3", Edit3)
        .Field("Edit4", Edit4)
        .Field("Edit5", Edit5)
        .Field("Edit6", Edit6)
        .Field("Label1", Label1)
        .Field("Label2", Label2)
        .Field("Label3", Label3)
        .Field("Label4", Label4)
        .Field("Label5", Label5)
        .Field("Timer1", Timer1)
        .Field("Button2", Button2)
        .Field("Button3", Button3)
        .Field("Button4", Button4)
        .Field("Button5", Button5)
        .Field("Button6", Button6)
        .Field("Button7", Button7)
        .Field("Button8", Button8)
        .Field("Button9", Button9)
        .Field("Button10", Button10)
        .Field("Button11", Button11)
        .Field("Button12", Button12)
        .Field("IdHTTP1", IdHTTP1)
        .Field("Button13", Button13)
        .Handler("Timer1Timer", this, &TForm1::Timer1Timer)
        .Handler("FormCreate", this, &TForm1::FormCreate)
        .Handler("Button1Click", this, &TForm1::Button1Click)
        .Handler("Button13Click", this, &TForm1::Button13Click);
    LoadDesign(res::Form1Design(), bindings);
}

void TForm1::Timer1Timer(TComponent* /*Sender*/) {
    ShowDateTime(Now());
}

void TForm1::FormCreate(TComponent* /*Sender*/) {
    ShowDateTime(Now());
}

namespace {

// The twelve step buttons, in the order their names are tested: "+" and "-" of each field.
struct StepButton {
    std::string_view name;
    rtl::TDateTime (*step)(rtl::TDateTime);
};

const StepButton kStepButtons[] = {
    {"Button1", [](rtl::TDateTime v) { return rtl::IncYear(v, 1); }},
    {"Button7", [](rtl::TDateTime v) { return rtl::IncYear(v, -1); }},
    {"Button2", [](rtl::TDateTime v) { return rtl::IncMonth(v, 1); }},
    {"Button8", [](rtl::TDateTime v) { return rtl::IncMonth(v, -1); }},
    {"Button3", [](rtl::TDateTime v) { return rtl::IncDay(v, 1); }},
    {"Button9", [](rtl::TDateTime v) { return rtl::IncDay(v, -1); }},
    {"Button4", [](rtl::TDateTime v) { return rtl::IncHour(v, 1); }},
    {"Button10", [](rtl::TDateTime v) { return rtl::IncHour(v, -1); }},
    {"Button5", [](rtl::TDateTime v) { return rtl::IncMinute(v, 1); }},
    {"Button11", [](rtl::TDateTime v) { return rtl::IncMinute(v, -1); }},
    {"Button6", [](rtl::TDateTime v) { return rtl::IncSecond(v, 1); }},
    {"Button12", [](rtl::TDateTime v) { return rtl::IncSecond(v, -1); }},
};

} // namespace

void TForm1::Button1Click(TComponent* Sender) {
    for (const StepButton& button : kStepButtons) {
        if (Sender->Name() == button.name) {
            // Always from the clock itself, never from what the fields show.
            SetSystemClock(button.step(Now()), TLocalZone::Computer);
            return;
        }
    }
}

namespace {

// The time service's document; its body holds the time of UTC+8 at bytes 14 to 32.
const std::string kTimeServiceUrl =
    std::string("http://") + TIMETOOL_TIME_SERVICE_HOST + "/getSysTime.do";
constexpr std::size_t kTimeTextOffset = 13;
constexpr std::size_t kTimeTextLength = 19;

// Bytes 14 to 32 of the body, as they came; what there is of them in a shorter body.
std::string TimeTextOfBody(const std::string& body) {
    return body.size() > kTimeTextOffset ? body.substr(kTimeTextOffset, kTimeTextLength)
                                         : std::string();
}

} // namespace

void TForm1::Button13Click(TComponent* /*Sender*/) {
    const std::string body = IdHTTP1->Get(kTimeServiceUrl);
    const rtl::FormatSettings settings = forms::Application != nullptr
                                             ? forms::Application->FormatSettings()
                                             : rtl::FormatSettings{};
    // The whole text must read: a time cut short by a foreign separator is refused, not written.
    const rtl::TDateTime value =
        rtl::StrToDateTimeFully(TimeTextOfBody(body), settings, rtl::DecodeDateTime(Now()).year);
    // The service answers in UTC+8, whatever the computer's zone.
    SetSystemClock(value, TLocalZone::UtcPlus8);
}

void TForm1::ShowDateTime(rtl::TDateTime value) {
    const rtl::DateTimeFields fields = rtl::DecodeDateTime(value);
    Edit1->SetText(forms::Utf8ToWide(rtl::IntToStr(fields.year)));
    Edit2->SetText(forms::Utf8ToWide(rtl::FormatTwoDigits(fields.month)));
    Edit3->SetText(forms::Utf8ToWide(rtl::FormatTwoDigits(fields.day)));
    Edit4->SetText(forms::Utf8ToWide(rtl::FormatTwoDigits(fields.hour)));
    Edit5->SetText(forms::Utf8ToWide(rtl::FormatTwoDigits(fields.minute)));
    Edit6->SetText(forms::Utf8ToWide(rtl::FormatTwoDigits(fields.second)));
}

namespace {

constexpr std::int64_t kUtcPlus8Milliseconds = 8 * 3'600'000;

SYSTEMTIME ToSystemTime(const rtl::SystemTimeRecord& record) {
    SYSTEMTIME time{};
    time.wYear = record.wYear;
    time.wMonth = record.wMonth;
    time.wDayOfWeek = record.wDayOfWeek;
    time.wDay = record.wDay;
    time.wHour = record.wHour;
    time.wMinute = record.wMinute;
    time.wSecond = record.wSecond;
    time.wMilliseconds = record.wMilliseconds;
    return time;
}

} // namespace

void SetSystemClock(rtl::TDateTime localTime, TLocalZone zone) {
    SystemClock& clock = CurrentSystemClock();
    SYSTEMTIME utc{};
    ClockCallResult result;
    if (zone == TLocalZone::UtcPlus8) {
        utc = ToSystemTime(rtl::SplitToSystemTime(localTime, -kUtcPlus8Milliseconds));
        result = clock.SetUtcTime(utc);
    } else {
        const SYSTEMTIME local = ToSystemTime(rtl::SplitToSystemTime(localTime));
        result = clock.LocalToUtc(local, utc);
        if (result.done) {
            result = clock.SetUtcTime(utc);
        }
    }
    // Every window hears of the attempt, whether or not the clock took it.
    clock.BroadcastTimeChange();
    if (!result.done) {
        throw rtl::EOSError(SystemErrorText(result.error), result.error);
    }
}
