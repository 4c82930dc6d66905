// The main window as built from its design: window settings, the controls with their classes,
// texts, styles, fonts and places, and the tab order.
#include "Form1Fixture.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

struct DesignedControl {
    const char* name;
    const wchar_t* windowClass;
    const wchar_t* caption; // nullptr for the text boxes, whose text is the clock's
    int left, top, width, height;
    int tabOrder; // -1: takes no focus
    bool ownFont; // the step buttons' font
};

// The controls in tab order, the labels last.
const DesignedControl kDesign[] = {
    {"Button1", L"Button", L"+", 32, 21, 39, 34, 0, true},
    {"Button2", L"Button", L"+", 114, 21, 39, 34, 1, true},
    {"Button3", L"Button", L"+", 182, 21, 39, 34, 2, true},
    {"Button4", L"Button", L"+", 262, 21, 39, 34, 3, true},
    {"Button5", L"Button", L"+", 312, 21, 39, 34, 4, true},
    {"Button6", L"Button", L"+", 360, 21, 39, 34, 5, true},
    {"Edit1", L"Edit", nullptr, 16, 56, 69, 43, 6, false},
    {"Edit2", L"Edit", nullptr, 114, 56, 39, 43, 7, false},
    {"Edit3", L"Edit", nullptr, 182, 56, 39, 43, 8, false},
    {"Edit4", L"Edit", nullptr, 262, 56, 39, 43, 9, false},
    {"Edit5", L"Edit", nullptr, 312, 56, 39, 43, 10, false},
    {"Edit6", L"Edit", nullptr, 360, 56, 39, 43, 11, false},
    {"Button7", L"Button", L"-", 32, 99, 39, 34, 12, true},
    {"Button8", L"Button", L"-", 114, 99, 39, 34, 13, true},
    {"Button9", L"Button", L"-", 182, 99, 39, 34, 14, true},
    {"Button10", L"Button", L"-", 262, 99, 39, 34, 15, true},
    {"Button11", L"Button", L"-", 312, 99, 39, 34, 16, true},
    {"Button12", L"Button", L"-", 360, 99, 39, 34, 17, true},
    {"Button13", L"Button", L"校准时间", 272, 152, 129, 41, 18, false},
    {"Label1", L"Static", L"年", 86, 58, 27, 35, -1, false},
    {"Label2", L"Static", L"月", 154, 58, 27, 35, -1, false},
    {"Label3", L"Static", L"日", 219, 58, 27, 35, -1, false},
    {"Label4", L"Static", L":", 302, 58, 7, 35, -1, false},
    {"Label5", L"Static", L":", 352, 58, 7, 35, -1, false},
};

constexpr int kDesignedTextHeight = 35;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The font and text height the layout is scaled by, measured here independently of the form.
class WindowFontMeasure {
public:
    WindowFontMeasure() {
        HDC screen = GetDC(nullptr);
        ppi_ = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        const int height = ppi_ == 96 ? -27 : -((27 * ppi_ + 48) / 96);
        font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                            L"微软雅黑");
    }
    ~WindowFontMeasure() { DeleteObject(font_); }

    SIZE Extent(const std::wstring& text) const {
        HDC screen = GetDC(nullptr);
        HGDIOBJ previous = SelectObject(screen, font_);
        SIZE size{};
        GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
        return size;
    }
    int TextHeight() const { return Extent(L"0").cy; }
    int PixelsPerInch() const { return ppi_; }

private:
    int ppi_ = 96;
    HFONT font_ = nullptr;
};

// value * measured / designed, rounded to the nearest, halves up (all values here are positive).
int Scaled(int value, int measured) {
    return (2 * value * measured + kDesignedTextHeight) / (2 * kDesignedTextHeight);
}

RECT ClientRectOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    GetObjectW(handle, sizeof font, &font);
    return font;
}

forms::TControl* ControlNamed(const char* name) {
    return dynamic_cast<forms::TControl*>(Form1->FindComponent(name));
}

class WindowLayoutTest : public Form1Fixture {
protected:
    void SetUp() override { CreateForm1(); }
    WindowFontMeasure measure;
};

TEST_F(WindowLayoutTest, WindowHasFixedFrameCaptionAndDesignedPlace) {
    HWND window = Form1->Handle();
    EXPECT_EQ(ClassOf(window), L"TForm1");
    EXPECT_EQ(TextOf(window), L"时间工具");
    EXPECT_FALSE(IsWindowVisible(window)) << "shown only when the loop runs";

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the user cannot resize the window";
    EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL));

    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 644);
    EXPECT_EQ(outer.top, 455);

    const int m = measure.TextHeight();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Scaled(436, m)) << "measured text height " << m;
    EXPECT_EQ(client.bottom, Scaled(200, m));

    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0) << "the MAINICON resource";
}

TEST_F(WindowLayoutTest, HasExactlyTheDesignedControls) {
    std::multiset<std::wstring> actual;
    for (HWND child = GetWindow(Form1->Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        actual.insert(ClassOf(child) + L"|" + (ClassOf(child) == L"Edit" ? L"" : TextOf(child)));
    }
    std::multiset<std::wstring> expected;
    for (const DesignedControl& control : kDesign) {
        expected.insert(std::wstring(control.windowClass) + L"|" +
                        (control.caption != nullptr ? control.caption : L""));
    }
    EXPECT_EQ(actual, expected);

    // One component per design row, timer and HTTP client included, each in its field.
    EXPECT_EQ(Form1->ComponentCount(), 26);
    for (const DesignedControl& designed : kDesign) {
        forms::TControl* control = ControlNamed(designed.name);
        ASSERT_NE(control, nullptr) << designed.name;
        EXPECT_EQ(GetParent(control->Handle()), Form1->Handle()) << designed.name;
    }
    EXPECT_EQ(Form1->FindComponent("Timer1"), Form1->Timer1);
    EXPECT_EQ(Form1->FindComponent("IdHTTP1"), Form1->IdHTTP1);
    EXPECT_EQ(Form1->FindComponent("Button13"), Form1->Button13);
    EXPECT_EQ(Form1->FindComponent("Label5"), Form1->Label5);
}

TEST_F(WindowLayoutTest, ComponentsAreCreatedInTheDesignsOrder) {
    const std::vector<std::string> expected = {
        "Label1",   "Label2",   "Label3",   "Label4",  "Label5",  "Button1", "Edit1",
        "Edit2",    "Edit3",    "Edit4",    "Edit5",   "Edit6",   "Button2", "Button3",
        "Button4",  "Button5",  "Button6",  "Button7", "Button8", "Button9", "Button10",
        "Button11", "Button12", "Button13", "Timer1",  "IdHTTP1"};
    std::vector<std::string> created;
    for (int i = 0; i < Form1->ComponentCount(); ++i) {
        created.push_back(Form1->Components(i)->Name());
        EXPECT_EQ(Form1->Components(i)->Owner(), Form1);
    }
    EXPECT_EQ(created, expected);
}

TEST_F(WindowLayoutTest, ControlsHaveTheirKindsStyles) {
    for (const DesignedControl& designed : kDesign) {
        SCOPED_TRACE(designed.name);
        HWND control = ControlNamed(designed.name)->Handle();
        EXPECT_EQ(ClassOf(control), designed.windowClass);
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_EQ((style & WS_TABSTOP) != 0, designed.tabOrder >= 0);
        if (ClassOf(control) == L"Button") {
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << "no default button";
            EXPECT_EQ(TextOf(control), designed.caption);
        } else if (ClassOf(control) == L"Edit") {
            EXPECT_TRUE(style & ES_AUTOHSCROLL);
            EXPECT_FALSE(style & (ES_READONLY | ES_MULTILINE));
            EXPECT_EQ(SendMessageW(control, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE)
                << "no length limit";
        } else {
            EXPECT_EQ(TextOf(control), designed.caption);
        }
    }
}

TEST_F(WindowLayoutTest, ControlsStandAtTheDesignedPlacesScaledByTheMeasuredTextHeight) {
    const int m = measure.TextHeight();
    for (const DesignedControl& designed : kDesign) {
        SCOPED_TRACE(std::string(designed.name) + ", measured text height " + std::to_string(m));
        const RECT actual = ClientRectOf(ControlNamed(designed.name)->Handle());
        const int left = Scaled(designed.left, m);
        const int top = Scaled(designed.top, m);
        EXPECT_EQ(actual.left, left);
        EXPECT_EQ(actual.top, top);
        const std::wstring kind = designed.windowClass;
        if (kind == L"Button") {
            EXPECT_EQ(actual.right, Scaled(designed.left + designed.width, m));
            EXPECT_EQ(actual.bottom, Scaled(designed.top + designed.height, m));
        } else if (kind == L"Edit") {
            // The width scales; the height follows the font: text, edge and margin (43 at 35).
            EXPECT_EQ(actual.right, Scaled(designed.left + designed.width, m));
            EXPECT_EQ(actual.bottom - actual.top, m + designed.height - kDesignedTextHeight);
        } else {
            // Labels size to their captions.
            const SIZE extent = measure.Extent(designed.caption);
            EXPECT_EQ(actual.right - actual.left, extent.cx);
            EXPECT_EQ(actual.bottom - actual.top, m);
        }
    }
}

TEST_F(WindowLayoutTest, StepButtonsHaveTheirOwnScaledFontAndTheRestTheWindowFont) {
    const int m = measure.TextHeight();
    const int ppi = measure.PixelsPerInch();
    // 40 pixels at 96 ppi are 30 points; the point size scales by the measured height.
    const int points = Scaled(30, m);
    const int stepHeight = -((points * ppi + 36) / 72);
    const int windowHeight = ppi == 96 ? -27 : -((27 * ppi + 48) / 96);
    for (const DesignedControl& designed : kDesign) {
        SCOPED_TRACE(designed.name);
        const LOGFONTW font = FontOf(ControlNamed(designed.name)->Handle());
        EXPECT_STREQ(font.lfFaceName, L"微软雅黑");
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
        EXPECT_EQ(font.lfHeight, designed.ownFont ? stepHeight : windowHeight);
    }
}

TEST_F(WindowLayoutTest, LabelsDrawTransparentlyOnTheFaceColour) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (TLabel* label :
         {Form1->Label1, Form1->Label2, Form1->Label3, Form1->Label4, Form1->Label5}) {
        SCOPED_TRACE(label->Name());
        SetBkMode(dc, OPAQUE);
        const LRESULT brush =
            SendMessageW(Form1->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(label->Handle()));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNFACE));
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    }
    DeleteDC(dc);
}

TEST_F(WindowLayoutTest, TabGoesThroughTheControlsInTabOrderAndWrapsAround) {
    std::vector<HWND> expected;
    for (const DesignedControl& designed : kDesign) {
        if (designed.tabOrder >= 0) {
            expected.push_back(ControlNamed(designed.name)->Handle());
        }
    }
    EXPECT_EQ(Form1->FirstTabControl(), Form1->Button1);
    HWND current = expected.front();
    for (std::size_t i = 1; i <= expected.size(); ++i) {
        current = GetNextDlgTabItem(Form1->Handle(), current, FALSE);
        EXPECT_EQ(current, expected[i % expected.size()]) << "step " << i;
    }
}

TEST_F(WindowLayoutTest, EventsAreConnectedByHandlerName) {
    EXPECT_TRUE(Form1->OnCreate);
    EXPECT_TRUE(Form1->Timer1->OnTimer());
    EXPECT_EQ(Form1->Timer1->Interval(), 200u);
    EXPECT_TRUE(Form1->Timer1->Enabled());
    for (const DesignedControl& designed : kDesign) {
        if (auto* button = dynamic_cast<TButton*>(ControlNamed(designed.name))) {
            EXPECT_TRUE(button->OnClick) << designed.name;
        }
    }
}

} // namespace
