// Running the window: shown with the focus on Button1, Tab moves the focus in tab order, Space,
// Enter and the mouse click buttons, and every close command ends the loop.
#include "Form1Fixture.h"
#include "MessagePump.h"

#include <vector>

using namespace std::chrono_literals;

namespace {

void PressKey(HWND target, WPARAM key) {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
    PumpFor(50ms);
}

void ClickWithMouse(HWND target) {
    RECT client{};
    GetClientRect(target, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageW(target, WM_LBUTTONUP, 0, middle);
    PumpFor(50ms);
}

class KeyboardTest : public Form1Fixture {
protected:
    void SetUp() override {
        CreateForm1();
        Form1->Show();
        PumpFor(100ms);
    }
};

TEST_F(KeyboardTest, TheFocusStartsOnButton1AndTabFollowsTheTabOrder) {
    ASSERT_EQ(GetFocus(), Form1->Button1->Handle());
    const std::vector<forms::TControl*> order = {
        Form1->Button2,  Form1->Button3,  Form1->Button4,  Form1->Button5, Form1->Button6,
        Form1->Edit1,    Form1->Edit2,    Form1->Edit3,    Form1->Edit4,   Form1->Edit5,
        Form1->Edit6,    Form1->Button7,  Form1->Button8,  Form1->Button9, Form1->Button10,
        Form1->Button11, Form1->Button12, Form1->Button13, Form1->Button1};
    for (forms::TControl* expected : order) {
        PressKey(GetFocus(), VK_TAB);
        ASSERT_EQ(GetFocus(), expected->Handle()) << "after Tab, expected " << expected->Name();
        if (auto* edit = dynamic_cast<TEdit*>(expected)) {
            // Entered from the keyboard, a text box selects its whole text.
            DWORD start = 1;
            DWORD end = 0;
            SendMessageW(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u) << edit->Name();
            EXPECT_EQ(end, edit->Text().size()) << edit->Name();
        }
    }
}

TEST_F(KeyboardTest, SpaceEnterAndTheMouseClickTheButtonWithItselfAsSender) {
    struct Way {
        const char* name;
        std::function<void(HWND)> press;
    };
    const Way ways[] = {
        {"Space", [](HWND button) { PressKey(button, VK_SPACE); }},
        {"Enter", [](HWND button) { PressKey(button, VK_RETURN); }},
        {"mouse", [](HWND button) { ClickWithMouse(button); }},
    };
    for (TButton* button : {Form1->Button1, Form1->Button12, Form1->Button13}) {
        for (const Way& way : ways) {
            SCOPED_TRACE(button->Name() + " by " + way.name);
            std::vector<TComponent*> senders;
            const forms::TNotifyEvent original = button->OnClick;
            button->OnClick = [&](TComponent* sender) { senders.push_back(sender); };
            SetFocus(button->Handle());
            way.press(button->Handle());
            button->OnClick = original;
            EXPECT_EQ(senders, std::vector<TComponent*>{button});
        }
    }
}

TEST_F(KeyboardTest, TypingIntoAFieldChangesOnlyItsText) {
    SetFocus(Form1->Edit3->Handle());
    SendMessageW(Form1->Edit3->Handle(), EM_SETSEL, 0, -1);
    PostMessageW(Form1->Edit3->Handle(), WM_CHAR, L'7', 1);
    PumpFor(20ms);
    // The typed text stands until the next tick puts the day back.
    EXPECT_TRUE(PumpUntil([&] { return Form1->Edit3->Text() == L"09"; }, 1000ms));
    EXPECT_TRUE(boxes.shown.empty());
}

struct CloseCommand {
    const char* name;
    std::function<void(HWND window)> send;
};

void PrintTo(const CloseCommand& command, std::ostream* out) {
    *out << command.name;
}

class CloseTest : public Form1Fixture, public ::testing::WithParamInterface<CloseCommand> {};

TEST_P(CloseTest, ClosingTheMainWindowEndsTheLoop) {
    CreateForm1();
    bool visibleWhileRunning = false;
    HWND focusWhileRunning = nullptr;
    bool forcedOut = false;
    RunLater(300ms, [&] {
        visibleWhileRunning = IsWindowVisible(Form1->Handle());
        focusWhileRunning = GetFocus();
        GetParam().send(Form1->Handle());
    });
    RunLater(5000ms, [&] {
        forcedOut = true;
        PostQuitMessage(0);
    });
    application.Run();

    EXPECT_FALSE(forcedOut) << "the loop did not end by itself";
    EXPECT_TRUE(visibleWhileRunning);
    EXPECT_EQ(focusWhileRunning, Form1->Button1->Handle());
    EXPECT_FALSE(IsWindowVisible(Form1->Handle()));
}

INSTANTIATE_TEST_SUITE_P(
    EveryCloseCommand, CloseTest,
    ::testing::Values(
        CloseCommand{"WM_CLOSE", [](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }},
        CloseCommand{"SystemMenuClose",
                     [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        CloseCommand{"AltF4",
                     [](HWND) {
                         // Alt+F4 reaches the focused control, which hands it to the window.
                         const UINT scan = MapVirtualKeyW(VK_F4, MAPVK_VK_TO_VSC);
                         PostMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F4,
                                      1 | (scan << 16) | (1u << 29));
                     }}),
    [](const ::testing::TestParamInfo<CloseCommand>& info) { return info.param.name; });

} // namespace
