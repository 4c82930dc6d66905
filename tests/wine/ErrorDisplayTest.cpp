// Errors that escape a handler: the default error display shows them, owned by the disabled main
// window, and the loop goes on; boxes never pile up.
#include "Form1Fixture.h"
#include "MessagePump.h"
#include "forms/FormErrors.h"
#include "rtl/Exceptions.h"

#include <stdexcept>

using namespace std::chrono_literals;

namespace {

// The title comes from this test program's file name, WindowTests.exe.
const std::wstring kTitle = L"Windowtests";

class ErrorDisplayTest : public Form1Fixture {};

TEST_F(ErrorDisplayTest, AnErrorInATickIsShownAndTheDisplayGoesOn) {
    clock.Set(2021, 9, 9, 10, 30, 58);
    CreateForm1();
    HWND window = Form1->Handle();

    clock.failure = [] { throw rtl::EConvertError("Clock unreadable"); };
    ASSERT_TRUE(PumpUntil([&] { return !boxes.shown.empty(); }, 1000ms));
    clock.failure = nullptr;

    const RecordingMessageBoxes::Box& box = boxes.shown.front();
    EXPECT_EQ(box.text, L"Clock unreadable.");
    EXPECT_EQ(box.caption, kTitle);
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(box.owner, window);
    EXPECT_FALSE(box.ownerEnabled) << "the main window is disabled while the box is up";
    EXPECT_TRUE(IsWindowEnabled(window));

    clock.Set(2021, 9, 9, 10, 30, 59);
    EXPECT_TRUE(PumpUntil([&] { return Form1->Edit6->Text() == L"59"; }, 1000ms));
}

TEST_F(ErrorDisplayTest, AnErrorInAClickIsShownWithTheDisplayedText) {
    struct Case {
        const char* what;
        std::function<void()> fail;
        std::wstring text;
    };
    const Case cases[] = {
        {"own error", [] { throw rtl::EConvertError("Invalid argument to date encode"); },
         L"Invalid argument to date encode."},
        {"already ends with a stop", [] { throw std::runtime_error("Done."); }, L"Done."},
        {"Chinese message", [] { throw rtl::Exception("时间"); }, L"时间."},
        {"not an exception class", [] { throw 42; }, L"Unknown error."},
    };
    CreateForm1();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.shown.clear();
        Form1->Button13->OnClick = [&](TComponent*) { c.fail(); };
        SendMessageW(Form1->Button13->Handle(), BM_CLICK, 0, 0);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown.front().text, c.text);
        EXPECT_EQ(boxes.shown.front().owner, Form1->Handle());
    }
}

TEST_F(ErrorDisplayTest, AnErrorInFormCreateIsShownAndStartUpGoesOn) {
    clock.Set(10000, 1, 1, 0, 0, 0);
    application.Initialize();
    application.CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(application.MainForm(), Form1);

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown.front().text, L"Invalid argument to date encode.");
    EXPECT_EQ(boxes.shown.front().caption, kTitle);
    // The designed texts stay in the fields.
    EXPECT_EQ(Fields(), (std::array<std::wstring, 6>{L"2021", L"09", L"09", L"10", L"30", L"59"}));
}

TEST_F(ErrorDisplayTest, AClockBeyond9999ShowsOneBoxAtATime) {
    clock.Set(2021, 9, 9, 10, 30, 58);
    CreateForm1();
    int readsWhileShown = 0;
    boxes.whileShown = [&] {
        if (boxes.open > 1) {
            return; // a second box: the fault this test is about; no deeper nesting
        }
        // The box's own loop keeps the timer ticking, and every tick fails again.
        const int before = clock.reads;
        PumpFor(1000ms);
        readsWhileShown = clock.reads - before;
    };
    clock.Set(10000, 1, 1, 0, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.shown.empty(); }, 1000ms));

    EXPECT_GE(readsWhileShown, 2) << "ticks went on behind the box";
    EXPECT_EQ(boxes.mostOpenAtOnce, 1);
    EXPECT_EQ(boxes.shown.front().text, L"Invalid argument to date encode.");
    EXPECT_EQ(Form1->Edit1->Text(), L"2021") << "the fields keep their last texts";
}

// The system's own message box: found among the thread's windows while its loop runs.
HWND OpenMessageBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

int OpenMessageBoxCount() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
                ++*reinterpret_cast<int*>(result);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

std::wstring MessageBoxText(HWND box) {
    std::wstring texts;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM result) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(child, name, 16);
            if (std::wstring(name) == L"Static") {
                wchar_t text[256] = {};
                GetWindowTextW(child, text, 256);
                *reinterpret_cast<std::wstring*>(result) += text;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Closes the topmost box, and again every 100 ms while any is open.
void CloseEveryBox() {
    if (HWND box = OpenMessageBox()) {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        RunLater(100ms, CloseEveryBox);
    }
}

TEST_F(ErrorDisplayTest, TheSystemBoxIsOwnedByTheMainWindowAndTheFieldsTickBehindIt) {
    clock.Set(2021, 9, 9, 10, 30, 58);
    CreateForm1();
    // From here on the system's own boxes; the fixture puts the recording ones back afterwards.
    forms::ReplaceMessageBoxPlatform(nullptr);
    Form1->Show();
    ASSERT_TRUE(PumpUntil([&] { return Form1->Edit6->Text() == L"58"; }, 1000ms));

    struct Seen {
        bool boxFound = false;
        std::wstring caption;
        std::wstring text;
        HWND owner = nullptr;
        bool ownerEnabled = true;
        std::wstring secondsBehindBox;
        int boxesAfterASecond = 0;
    } seen;

    clock.Set(10000, 1, 1, 0, 0, 0);
    RunLater(300ms, [&] {
        HWND box = OpenMessageBox();
        seen.boxFound = box != nullptr;
        if (box == nullptr) {
            return;
        }
        wchar_t caption[64] = {};
        GetWindowTextW(box, caption, 64);
        seen.caption = caption;
        seen.text = MessageBoxText(box);
        seen.owner = GetWindow(box, GW_OWNER);
        seen.ownerEnabled = IsWindowEnabled(Form1->Handle());
        clock.Set(2021, 9, 9, 10, 31, 7);
    });
    RunLater(1300ms, [&] {
        seen.secondsBehindBox = Form1->Edit6->Text();
        clock.Set(10000, 1, 1, 0, 0, 0);
    });
    RunLater(2300ms, [&] {
        seen.boxesAfterASecond = OpenMessageBoxCount();
        clock.Set(2021, 9, 9, 10, 32, 0);
        PostMessageW(OpenMessageBox(), WM_COMMAND, IDOK, 0);
    });
    RunLater(4000ms, [&] {
        // Whatever went wrong above, leave no box open.
        clock.Set(2021, 9, 9, 10, 32, 0);
        CloseEveryBox();
    });
    PumpUntil([&] { return seen.boxesAfterASecond != 0 && OpenMessageBox() == nullptr; }, 5000ms);

    ASSERT_TRUE(seen.boxFound);
    EXPECT_EQ(seen.caption, kTitle);
    EXPECT_NE(seen.text.find(L"Invalid argument to date encode."), std::wstring::npos)
        << std::string(seen.text.begin(), seen.text.end());
    EXPECT_EQ(seen.owner, Form1->Handle());
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_EQ(seen.secondsBehindBox, L"07");
    EXPECT_EQ(seen.boxesAfterASecond, 1) << "failing ticks behind the box opened no second box";
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    EXPECT_TRUE(PumpUntil([&] { return Form1->Edit5->Text() == L"32"; }, 1000ms));
}

} // namespace
