// The six fields: filled when the window is created, refreshed from the clock on every tick of
// the 200 ms timer, and written only where their text changes.
#include "Form1Fixture.h"
#include "MessagePump.h"

#include <map>

using namespace std::chrono_literals;

namespace {

using Texts = std::array<std::wstring, 6>;

// Counts WM_SETTEXT per text box, by subclassing the boxes.
class SetTextCounter {
public:
    explicit SetTextCounter(const std::vector<HWND>& windows) {
        for (HWND window : windows) {
            Entries()[window] = {reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                                     window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc))),
                                 0};
        }
    }
    ~SetTextCounter() {
        for (auto& [window, entry] : Entries()) {
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.original));
        }
        Entries().clear();
    }
    SetTextCounter(const SetTextCounter&) = delete;
    SetTextCounter& operator=(const SetTextCounter&) = delete;

    int Count(HWND window) const { return Entries().at(window).count; }

private:
    struct Entry {
        WNDPROC original;
        int count;
    };
    static std::map<HWND, Entry>& Entries() {
        static std::map<HWND, Entry> entries;
        return entries;
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Entry& entry = Entries().at(window);
        if (message == WM_SETTEXT) {
            ++entry.count;
        }
        return CallWindowProcW(entry.original, window, message, wParam, lParam);
    }
};

std::pair<DWORD, DWORD> SelectionOf(TEdit* edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

class LiveDisplayTest : public Form1Fixture {
protected:
    bool ShowsWithin(const Texts& expected, std::chrono::milliseconds timeout) {
        return PumpUntil([&] { return Fields() == expected; }, timeout);
    }
};

TEST_F(LiveDisplayTest, FormCreateFillsTheFieldsBeforeTheWindowIsFirstShown) {
    struct Case {
        rtl::DateTimeFields clock;
        Texts shown;
    };
    const Case cases[] = {
        {{.year = 2021, .month = 9, .day = 9, .hour = 7, .minute = 5, .second = 3},
         {L"2021", L"09", L"09", L"07", L"05", L"03"}},
        {{.year = 2024, .month = 3, .day = 1, .hour = 0, .minute = 0, .second = 0},
         {L"2024", L"03", L"01", L"00", L"00", L"00"}},
        {{.year = 9999,
          .month = 12,
          .day = 31,
          .hour = 23,
          .minute = 59,
          .second = 59,
          .millisecond = 999},
         {L"9999", L"12", L"31", L"23", L"59", L"59"}},
        {{.year = 1, .month = 1, .day = 1, .hour = 12, .minute = 0, .second = 0},
         {L"1", L"01", L"01", L"12", L"00", L"00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.clock.year << "-" << c.clock.month);
        clock.now = c.clock;
        application.CreateForm(Form1);
        ASSERT_NE(Form1, nullptr);
        EXPECT_FALSE(IsWindowVisible(Form1->Handle()));
        EXPECT_EQ(Fields(), c.shown);
        delete Form1;
        Form1 = nullptr;
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LiveDisplayTest, EachTickShowsThePresentTimeFromTheClock) {
    clock.Set(2021, 9, 9, 10, 30, 59);
    CreateForm1();
    ASSERT_EQ(Fields(), (Texts{L"2021", L"09", L"09", L"10", L"30", L"59"}));

    // The turn of a year changes all six fields from one reading.
    clock.Set(2021, 12, 31, 23, 59, 59, 999);
    EXPECT_TRUE(ShowsWithin({L"2021", L"12", L"31", L"23", L"59", L"59"}, 1000ms));
    clock.Set(2022, 1, 1, 0, 0, 0, 0);
    EXPECT_TRUE(ShowsWithin({L"2022", L"01", L"01", L"00", L"00", L"00"}, 1000ms));

    // Ticks come every 200 ms: about five in a second (fewer on a busy machine, never more).
    const int readsBefore = clock.reads;
    PumpFor(1000ms);
    EXPECT_GE(clock.reads - readsBefore, 2);
    EXPECT_LE(clock.reads - readsBefore, 6);
}

TEST_F(LiveDisplayTest, OnlyFieldsWhoseTextChangesAreWritten) {
    clock.Set(2021, 9, 9, 10, 30, 58);
    CreateForm1();
    SetTextCounter counter({Form1->Edit1->Handle(), Form1->Edit2->Handle(), Form1->Edit3->Handle(),
                            Form1->Edit4->Handle(), Form1->Edit5->Handle(),
                            Form1->Edit6->Handle()});
    SendMessageW(Form1->Edit1->Handle(), EM_SETSEL, 1, 3);
    SendMessageW(Form1->Edit6->Handle(), EM_SETSEL, 0, 1);

    // Several ticks on the same second write nothing.
    PumpFor(700ms);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(counter.Count(Field(i)->Handle()), 0) << "field " << i + 1;
    }

    clock.Set(2021, 9, 9, 10, 30, 59);
    ASSERT_TRUE(ShowsWithin({L"2021", L"09", L"09", L"10", L"30", L"59"}, 1000ms));
    PumpFor(500ms);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(counter.Count(Field(i)->Handle()), 0) << "field " << i + 1;
    }
    EXPECT_EQ(counter.Count(Form1->Edit6->Handle()), 1);

    // The year's selection survives; the seconds field was replaced as a whole.
    EXPECT_EQ(SelectionOf(Form1->Edit1), (std::pair<DWORD, DWORD>{1, 3}));
    EXPECT_NE(SelectionOf(Form1->Edit6), (std::pair<DWORD, DWORD>{0, 1}));
}

TEST_F(LiveDisplayTest, TypedTextLastsUntilTheNextTick) {
    clock.Set(2021, 9, 9, 10, 30, 59);
    CreateForm1();
    SetWindowTextW(Form1->Edit4->Handle(), L"99");
    SetWindowTextW(Form1->Edit1->Handle(), L"abc");
    EXPECT_EQ(Form1->Edit4->Text(), L"99");
    EXPECT_TRUE(ShowsWithin({L"2021", L"09", L"09", L"10", L"30", L"59"}, 1000ms));
}

TEST_F(LiveDisplayTest, TheTimerGoesOnTickingWhileTheWindowIsMinimised) {
    clock.Set(2021, 9, 9, 10, 30, 59);
    CreateForm1();
    Form1->Show();
    ShowWindow(Form1->Handle(), SW_MINIMIZE);
    PumpFor(100ms);
    ASSERT_TRUE(IsIconic(Form1->Handle()));
    clock.Set(2021, 9, 9, 10, 31, 5);
    EXPECT_TRUE(ShowsWithin({L"2021", L"09", L"09", L"10", L"31", L"05"}, 1000ms));
    EXPECT_TRUE(IsIconic(Form1->Handle()));
}

TEST_F(LiveDisplayTest, ShowDateTimeRoundsToTheMillisecondAndDropsTheRest) {
    constexpr double kMSecsPerDay = 86'400'000.0;
    struct Case {
        const char* what;
        double days;
        double millisecondsOfDay;
        Texts shown;
    };
    const Case cases[] = {
        {"10:30:59.9996 rounds up to the next second",
         44448,
         37'859'999.6,
         {L"2021", L"09", L"09", L"10", L"31", L"00"}},
        {"10:30:59.999 keeps its second",
         44448,
         37'859'999.0,
         {L"2021", L"09", L"09", L"10", L"30", L"59"}},
        {"10:30:59.9994 rounds down",
         44448,
         37'859'999.4,
         {L"2021", L"09", L"09", L"10", L"30", L"59"}},
        {"23:59:59.9996 carries into the next year",
         44561,
         86'399'999.6,
         {L"2022", L"01", L"01", L"00", L"00", L"00"}},
        {"07:05:03 on 9 September 2021",
         44448,
         25'503'000.0,
         {L"2021", L"09", L"09", L"07", L"05", L"03"}},
        {"midnight of the first of March",
         45352,
         0.0,
         {L"2024", L"03", L"01", L"00", L"00", L"00"}},
        {"the first day of year 1", -693593, 0.0, {L"1", L"01", L"01", L"00", L"00", L"00"}},
    };
    CreateForm1();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TForm1TestAccess::ShowDateTime(*Form1, c.days + c.millisecondsOfDay / kMSecsPerDay);
        EXPECT_EQ(Fields(), c.shown);
    }
}

} // namespace
