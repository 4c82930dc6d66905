// The step buttons' handler apart from the zone: which names it answers to, the errors that leave
// it for the error display, and the time-change notice that follows every write.
#include "MessagePump.h"
#include "StepButtonFixture.h"
#include "TimeChangeListener.h"
#include "forms/Component.h"
#include "forms/WideText.h"

#include <vector>

using namespace std::chrono_literals;

namespace {

using Call = FakeClock::Call;

class StepButtonTest : public StepButtonFixture {};

TEST_F(StepButtonTest, ANameThatMatchesNoneDoesNothing) {
    const char* const names[] = {"button1",   "BUTTON7",  "Button13", "Button",
                                 "Button01",  "Button1 ", " Button1", "Button0",
                                 "Button121", "Edit1",    "Timer1",   ""};
    clock.Set(2024, 6, 15, 12, 0, 0);
    CreateForm1();
    int broadcastsSeen = 0;
    TimeChangeListener listener([&] { ++broadcastsSeen; });
    for (const char* name : names) {
        SCOPED_TRACE(std::string("name '") + name + "'");
        clock.calls.clear();
        // A component of the window's own, renamed, raising the shared handler through a real
        // click; and a component that belongs to nothing, handed to the handler directly.
        Form1->Button6->SetName(name);
        SendMessageW(Form1->Button6->Handle(), BM_CLICK, 0, 0);
        forms::TComponent stranger(nullptr);
        stranger.SetName(name);
        Form1->Button1Click(&stranger);
        EXPECT_TRUE(clock.calls.empty()) << "the clock was read or written";
    }
    Form1->Button6->SetName("Button6");
    EXPECT_EQ(broadcastsSeen, 0);
    EXPECT_TRUE(boxes.shown.empty());

    // The renamed button answers again under its own name.
    Click("Button6");
    EXPECT_EQ(clock.writes.size(), 1u);
    EXPECT_EQ(broadcastsSeen, 1);
}

TEST_F(StepButtonTest, AYearOutOfRangeShowsTheErrorAndWritesNothing) {
    struct Case {
        const char* button;
        int year, month, day;
    };
    const Case cases[] = {
        {"Button1", 9999, 12, 15}, // a year on: 10000
        {"Button2", 9999, 12, 15}, // a month on: January 10000
        {"Button7", 1, 6, 1},      // a year back: year 0
        {"Button8", 1, 1, 20},     // a month back: December of year 0
        {"Button6", 10000, 1, 1},  // the clock itself stands beyond 9999: nothing to step from
    };
    clock.Set(2024, 6, 15, 12, 0, 0);
    CreateForm1();
    int broadcastsSeen = 0;
    TimeChangeListener listener([&] { ++broadcastsSeen; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        clock.Set(c.year, c.month, c.day, 10, 0, 0, 500);
        clock.calls.clear();
        boxes.shown.clear();
        Click(c.button);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown.front().text, L"Invalid argument to date encode.");
        EXPECT_EQ(boxes.shown.front().owner, Form1->Handle());
        EXPECT_EQ(clock.calls, std::vector<Call>{Call::Read}) << "no write and no broadcast";
    }
    EXPECT_TRUE(clock.writes.empty());
    EXPECT_EQ(broadcastsSeen, 0);
}

// A refused write: the notice still goes out once, after the write, and then the error display
// shows the system's own text for the failure.
TEST_F(StepButtonTest, ARefusedWriteIsBroadcastOnceThenShownWithTheSystemsText) {
    const SystemText cases[] = {kPrivilegeNotHeld, kInvalidParameter};
    clock.Set(2024, 6, 15, 12, 0, 0);
    CreateForm1();
    std::vector<std::size_t> writesAtNotice;
    TimeChangeListener listener([&] { writesAtNotice.push_back(clock.writes.size()); });
    std::size_t noticesWhileBoxShown = 0;
    boxes.whileShown = [&] { noticesWhileBoxShown = writesAtNotice.size(); };
    for (const SystemText& c : cases) {
        SCOPED_TRACE(c.code);
        clock.writeError = c.code;
        clock.calls.clear();
        clock.writes.clear();
        writesAtNotice.clear();
        boxes.shown.clear();

        Click("Button4");

        EXPECT_EQ(clock.calls,
                  (std::vector<Call>{Call::Read, Call::LocalToUtc, Call::Write, Call::Broadcast}));
        EXPECT_EQ(writesAtNotice, std::vector<std::size_t>{1}) << "one notice, after the write";
        ASSERT_EQ(boxes.shown.size(), 1u);
        const std::string text = forms::WideToUtf8(boxes.shown.front().text);
        EXPECT_TRUE(c.Matches(text)) << text;
        EXPECT_EQ(noticesWhileBoxShown, 1u) << "the notice went out before the error showed";
    }
}

// Another top-level window hears of every click exactly once, after the clock was written, and
// before the click's handler has returned.
TEST_F(StepButtonTest, AnotherWindowReceivesOneTimeChangePerClickAfterTheWrite) {
    const char* const buttons[] = {"Button1", "Button7",  "Button2", "Button8",
                                   "Button3", "Button9",  "Button4", "Button10",
                                   "Button5", "Button11", "Button6", "Button12"};
    clock.Set(2024, 6, 15, 12, 0, 0);
    CreateForm1();
    std::vector<std::size_t> writesAtNotice;
    TimeChangeListener listener([&] { writesAtNotice.push_back(clock.writes.size()); });
    clock.writes.clear();
    std::vector<std::size_t> expected;
    for (const char* button : buttons) {
        SCOPED_TRACE(button);
        Click(button);
        expected.push_back(clock.writes.size());
        EXPECT_EQ(writesAtNotice, expected);
    }
    EXPECT_EQ(clock.writes.size(), 12u);
    // Nothing more arrives later: the notice is sent, not posted.
    PumpFor(300ms);
    EXPECT_EQ(listener.Received(), 12);
}

} // namespace
