#include "Unit1.h"

#include "SystemClock.h"
#include "forms/DesignBindings.h"
#include "forms/WideText.h"
#include "res/Form1Design.h"
#include "rtl/Format.h"

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

void TForm1::Button1Click(TComponent* /*Sender*/) {
    // The step buttons come with the clock writer; until then a click does nothing.
}

void TForm1::Button13Click(TComponent* /*Sender*/) {
    // The calibration comes with the HTTP client; until then a click does nothing.
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
