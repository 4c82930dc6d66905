// The timer behind the display, and the form's components' lifetime: armed on a hidden window of
// its own once it has interval and handler, refused timers end the start-up, disarmed and
// destroyed with the window.
#include "Form1Fixture.h"
#include "MessagePump.h"
#include "forms/FormErrors.h"

#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

class TimerTest : public Form1Fixture {
protected:
    FakeTimers timers;
    ScopedTimers useTimers{timers};
};

TEST_F(TimerTest, Timer1IsArmedOnceOnAHiddenWindowOfItsOwnAndDisarmedWithTheWindow) {
    CreateForm1();
    ASSERT_EQ(timers.calls.size(), 1u);
    const FakeTimers::Call arm = timers.calls.front();
    EXPECT_TRUE(arm.arm);
    EXPECT_EQ(arm.interval, 200u);
    EXPECT_EQ(arm.window, Form1->Timer1->WindowHandle());
    EXPECT_NE(arm.window, Form1->Handle());
    EXPECT_TRUE(IsWindow(arm.window));
    EXPECT_FALSE(IsWindowVisible(arm.window));

    delete Form1;
    Form1 = nullptr;
    ASSERT_EQ(timers.calls.size(), 2u);
    EXPECT_FALSE(timers.calls.back().arm);
    EXPECT_EQ(timers.calls.back().window, arm.window);
    EXPECT_EQ(timers.calls.back().id, arm.id);
    EXPECT_FALSE(IsWindow(arm.window));
}

TEST_F(TimerTest, ARefusedTimerEndsTheCreationAndLeavesNoWindow) {
    timers.refuse = true;
    application.Initialize();
    try {
        application.CreateForm(Form1);
        FAIL() << "CreateForm went through without a timer";
    } catch (const forms::EOutOfResources& error) {
        EXPECT_STREQ(error.what(), "Not enough timers available");
    }
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(application.MainForm(), nullptr);
    EXPECT_EQ(application.ComponentCount(), 0);
    EXPECT_EQ(FindWindowW(L"TForm1", nullptr), nullptr);
    EXPECT_TRUE(boxes.shown.empty()) << "FormCreate never ran";
}

TEST_F(TimerTest, ATimerIsArmedOnlyWhenEnabledWithIntervalAndHandler) {
    struct Case {
        const char* what;
        unsigned interval;
        bool handler;
        bool enabled;
        bool armed;
    };
    const Case cases[] = {
        {"all three", 200, true, true, true},
        {"no handler", 200, false, true, false},
        {"interval 0", 0, true, true, false},
        {"disabled", 200, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        timers.calls.clear();
        {
            forms::TTimer timer(&application);
            timer.SetEnabled(c.enabled);
            timer.SetInterval(c.interval);
            if (c.handler) {
                timer.SetOnTimer([](TComponent*) {});
            }
            const bool armed = !timers.calls.empty() && timers.calls.back().arm;
            EXPECT_EQ(armed, c.armed);
            if (armed) {
                EXPECT_EQ(timers.calls.back().interval, c.interval);
            }
        }
        // Destruction disarms exactly what was armed.
        int balance = 0;
        for (const FakeTimers::Call& call : timers.calls) {
            balance += call.arm ? 1 : -1;
        }
        EXPECT_EQ(balance, 0);
    }
}

TEST_F(TimerTest, ChangingTheIntervalRearmsTheTimer) {
    forms::TTimer timer(&application);
    timer.SetOnTimer([](TComponent*) {});
    timer.SetInterval(500);
    ASSERT_FALSE(timers.calls.empty());
    EXPECT_TRUE(timers.calls.back().arm);
    EXPECT_EQ(timers.calls.back().interval, 500u);
    const std::size_t before = timers.calls.size();
    timer.SetInterval(500);
    EXPECT_EQ(timers.calls.size(), before) << "an unchanged interval leaves the timer alone";
}

// With the system's timers: ticks missed while the thread is busy are not made up.
TEST(SystemTimerTest, AtMostOneTickIsPendingAfterTheThreadWasBusy) {
    forms::TApplication application;
    int ticks = 0;
    forms::TTimer timer(&application);
    timer.SetInterval(50);
    timer.SetOnTimer([&](TComponent* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    });
    std::this_thread::sleep_for(600ms);
    PumpFor(30ms);
    EXPECT_EQ(ticks, 1);
    PumpFor(500ms);
    EXPECT_GE(ticks, 5) << "regular ticks follow";
}

// Components and their owners.
class RecordingComponent : public forms::TComponent {
public:
    RecordingComponent(TComponent* owner, std::string name, std::vector<std::string>& destroyed)
        : TComponent(owner), destroyed_(destroyed) {
        SetName(std::move(name));
    }
    ~RecordingComponent() override { destroyed_.push_back(Name()); }

private:
    std::vector<std::string>& destroyed_;
};

TEST(ComponentTest, AnOwnerDestroysItsComponentsNewestFirst) {
    std::vector<std::string> destroyed;
    {
        RecordingComponent owner(nullptr, "Owner", destroyed);
        new RecordingComponent(&owner, "First", destroyed);
        auto* second = new RecordingComponent(&owner, "Second", destroyed);
        new RecordingComponent(second, "Grandchild", destroyed);
        new RecordingComponent(&owner, "Third", destroyed);
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.FindComponent("Second"), second);
        EXPECT_EQ(owner.FindComponent("second"), nullptr) << "names compare case-sensitively";
    }
    // Each destructor's own body runs before its owned components go.
    EXPECT_EQ(destroyed,
              (std::vector<std::string>{"Owner", "Third", "Second", "Grandchild", "First"}));
}

TEST(ComponentTest, AComponentDestroyedByItselfLeavesItsOwner) {
    std::vector<std::string> destroyed;
    RecordingComponent owner(nullptr, "Owner", destroyed);
    auto* child = new RecordingComponent(&owner, "Child", destroyed);
    new RecordingComponent(&owner, "Other", destroyed);
    delete child;
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.FindComponent("Child"), nullptr);
    EXPECT_EQ(destroyed, std::vector<std::string>{"Child"});
}

} // namespace
