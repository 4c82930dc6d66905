// Stand-ins for the platform that the window's tests control: the clock, the timers and the
// message boxes. Each is put in place for the lifetime of a Scoped* object.
#pragma once

#include "SystemClock.h"
#include "forms/MessageBoxPlatform.h"
#include "forms/TimerPlatform.h"

#include <functional>
#include <string>
#include <vector>

// A clock that stands still at the time the test sets; it can be told to fail instead. Writes are
// recorded and never reach the system; the local-to-UTC conversion and the time-change broadcast
// are the system's own unless told otherwise, so the test process's zone decides as on a real
// computer, and other windows really hear of the change.
class FakeClock : public SystemClock {
public:
    rtl::DateTimeFields now{
        .year = 2021, .month = 9, .day = 9, .hour = 10, .minute = 30, .second = 59};
    // While set, reading the clock throws this instead of answering.
    std::function<void()> failure;
    int reads = 0;

    // What was asked of the clock, in order.
    enum class Call { Read, LocalToUtc, Write, Broadcast };
    std::vector<Call> calls;
    // Every write asked for, refused ones included.
    std::vector<SYSTEMTIME> writes;
    // While non-zero, writes are refused with this error code.
    DWORD writeError = 0;
    // While non-zero, the local-to-UTC conversion fails with this error code.
    DWORD conversionError = 0;
    // While set, a write that is taken moves the clock: `now` becomes the written time as the
    // computer's local time.
    bool followWrites = false;

    void Set(int year, int month, int day, int hour, int minute, int second, int millisecond = 0);
    rtl::DateTimeFields LocalTime() override;
    ClockCallResult SetUtcTime(const SYSTEMTIME& utc) override;
    ClockCallResult LocalToUtc(const SYSTEMTIME& local, SYSTEMTIME& utc) override;
    void BroadcastTimeChange() override;
};

class ScopedClock {
public:
    explicit ScopedClock(SystemClock& clock) : previous_(ReplaceSystemClock(&clock)) {}
    ~ScopedClock() { ReplaceSystemClock(previous_); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    SystemClock* previous_;
};

// Timers that only record what is asked of them; arming can be made to fail.
class FakeTimers : public forms::TimerPlatform {
public:
    struct Call {
        bool arm;
        HWND window;
        UINT_PTR id;
        UINT interval;
    };
    std::vector<Call> calls;
    bool refuse = false;

    bool Arm(HWND window, UINT_PTR id, UINT intervalMilliseconds) override;
    void Disarm(HWND window, UINT_PTR id) override;
};

class ScopedTimers {
public:
    explicit ScopedTimers(forms::TimerPlatform& timers)
        : previous_(forms::ReplaceTimerPlatform(&timers)) {}
    ~ScopedTimers() { forms::ReplaceTimerPlatform(previous_); }
    ScopedTimers(const ScopedTimers&) = delete;
    ScopedTimers& operator=(const ScopedTimers&) = delete;

private:
    forms::TimerPlatform* previous_;
};

// Message boxes that record what they would show. `whileShown` runs in place of the modal loop;
// the box counts as closed when it returns.
class RecordingMessageBoxes : public forms::MessageBoxPlatform {
public:
    struct Box {
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT type;
        bool ownerEnabled; // whether the owner could take input while the box was up
    };
    std::vector<Box> shown;
    std::function<void()> whileShown;
    int open = 0;
    int mostOpenAtOnce = 0;

    int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
};

class ScopedMessageBoxes {
public:
    explicit ScopedMessageBoxes(forms::MessageBoxPlatform& boxes)
        : previous_(forms::ReplaceMessageBoxPlatform(&boxes)) {}
    ~ScopedMessageBoxes() { forms::ReplaceMessageBoxPlatform(previous_); }
    ScopedMessageBoxes(const ScopedMessageBoxes&) = delete;
    ScopedMessageBoxes& operator=(const ScopedMessageBoxes&) = delete;

private:
    forms::MessageBoxPlatform* previous_;
};
