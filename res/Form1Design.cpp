#include "res/Form1Design.h"

namespace res {
namespace {

using forms::ComponentDesign;

// The step buttons' own font; every other control uses the window's font.
const forms::FontDesign kStepButtonFont{L"微软雅黑", -40};

ComponentDesign Label(const char* name, int left, int width, const wchar_t* caption) {
    return {.className = "TLabel",
            .name = name,
            .left = left,
            .top = 58,
            .width = width,
            .height = 35,
            .caption = caption};
}

ComponentDesign Edit(const char* name, int left, int width, const wchar_t* text, int tabOrder) {
    return {.className = "TEdit",
            .name = name,
            .left = left,
            .top = 56,
            .width = width,
            .height = 43,
            .caption = text,
            .tabOrder = tabOrder};
}

ComponentDesign StepButton(const char* name, int left, int top, const wchar_t* caption,
                           int tabOrder) {
    return {.className = "TButton",
            .name = name,
            .left = left,
            .top = top,
            .width = 39,
            .height = 34,
            .caption = caption,
            .font = &kStepButtonFont,
            .tabOrder = tabOrder,
            .onClick = "Button1Click"};
}

forms::FormDesign MakeForm1Design() {
    forms::FormDesign design;
    design.className = "TForm1";
    design.name = "Form1";
    design.caption = L"时间工具";
    design.left = 644;
    design.top = 455;
    design.clientWidth = 436;
    design.clientHeight = 200;
    design.borderStyle = forms::TBorderStyle::bsSingle;
    design.borderIcons = forms::biSystemMenu | forms::biMinimize;
    design.font = {L"微软雅黑", -27};
    design.pixelsPerInch = 96;
    design.textHeight = 35;
    design.onCreate = "FormCreate";
    design.components = {
        Label("Label1", 86, 27, L"年"),
        Label("Label2", 154, 27, L"月"),
        Label("Label3", 219, 27, L"日"),
        Label("Label4", 302, 7, L":"),
        Label("Label5", 352, 7, L":"),
        StepButton("Button1", 32, 21, L"+", 0),
        Edit("Edit1", 16, 69, L"2021", 6),
        Edit("Edit2", 114, 39, L"09", 7),
        Edit("Edit3", 182, 39, L"09", 8),
        Edit("Edit4", 262, 39, L"10", 9),
        Edit("Edit5", 312, 39, L"30", 10),
        Edit("Edit6", 360, 39, L"59", 11),
        StepButton("Button2", 114, 21, L"+", 1),
        StepButton("Button3", 182, 21, L"+", 2),
        StepButton("Button4", 262, 21, L"+", 3),
        StepButton("Button5", 312, 21, L"+", 4),
        StepButton("Button6", 360, 21, L"+", 5),
        StepButton("Button7", 32, 99, L"-", 12),
        StepButton("Button8", 114, 99, L"-", 13),
        StepButton("Button9", 182, 99, L"-", 14),
        StepButton("Button10", 262, 99, L"-", 15),
        StepButton("Button11", 312, 99, L"-", 16),
        StepButton("Button12", 360, 99, L"-", 17),
        {.className = "TButton",
         .name = "Button13",
         .left = 272,
         .top = 152,
         .width = 129,
         .height = 41,
         .caption = L"校准时间",
         .tabOrder = 18,
         .onClick = "Button13Click"},
        {.className = "TTimer", .name = "Timer1", .onTimer = "Timer1Timer", .interval = 200},
        {.className = "TIdHTTP", .name = "IdHTTP1"},
    };
    return design;
}

} // namespace

const forms::FormDesign& Form1Design() {
    static const forms::FormDesign design = MakeForm1Design();
    return design;
}

} // namespace res
