// The whole window worked hard in one process, then the process's resources counted again: its
// windows, GDI objects, kernel handles, open file descriptors and resident memory must not have
// grown. Each round creates the application and the window, drives thousands of timer ticks
// with a moving clock, clicks the step buttons, calibrates against a scripted service
// (answers, failures, a refused connection and a hang-up), shows error boxes, recreates the
// window a few times and destroys it all. One round warms up caches first; the counts are taken
// after it.
#include "LoopbackHttpServer.h"
#include "LoopbackSocketLayer.h"
#include "MessagePump.h"
#include "ProcessResources.h"
#include "ScopedRegionalSettings.h"
#include "TestDoubles.h"
#include "Unit1.h"
#include "forms/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int kMeasuredRounds = 4;
constexpr int kTicksPerRound = 2500;
// Every this many ticks, the clock cannot be read and the tick shows an error box.
constexpr int kFailingTickEvery = 500;
constexpr int kClickRoundsPerRound = 6; // each clicks all twelve step buttons
// Every this many clicks, the clock refuses the write and the click shows an error box.
constexpr int kRefusedClickEvery = 24;
constexpr int kCalibrationRoundsPerRound = 5; // each runs every kind of calibration once
constexpr int kExtraWindowsPerRound = 5;
// Resident memory may move by this much between the counts: allocator and cache noise.
constexpr long kResidentToleranceKiB = 1024;
// The counts compared are the least of a few readings: Wine's own threads (and the scripted
// service's polling) hold a handle now and then for a moment, which a leak does not give back.
constexpr int kSettledReadings = 10;
constexpr auto kBetweenReadings = std::chrono::milliseconds(20);

const char* const kStepButtons[] = {"Button1", "Button7",  "Button2", "Button8",
                                    "Button3", "Button9",  "Button4", "Button10",
                                    "Button5", "Button11", "Button6", "Button12"};

const std::string kBodyPrefix = "{\"sysTime1\":\"";

// The scripted service ends each connection after one answer, and says so: the client then
// closes its side too, and never meets that close by chance on the next click.
const char* const kConnectionClose = "Connection: close";

std::string Ok(const std::string& timeText) {
    return HttpAnswer("HTTP/1.1 200 OK", {"Content-Type: application/json", kConnectionClose},
                      kBodyPrefix + timeText + "\",\"zone\":\"UTC+8\"}");
}

enum class Calibration { Written, NotFound, Refused, Unanswered, Unreadable, WriteRefused };
const Calibration kCalibrations[] = {Calibration::Written,    Calibration::NotFound,
                                     Calibration::Refused,    Calibration::Unanswered,
                                     Calibration::Unreadable, Calibration::WriteRefused};

// The service's answer for a calibration: none when the connection is refused, and nothing
// but the close when the service hangs up on the request.
std::string AnswerFor(Calibration kind) {
    switch (kind) {
    case Calibration::NotFound:
        return HttpAnswer("HTTP/1.1 404 Not Found", {kConnectionClose}, "<html>gone</html>");
    case Calibration::Unreadable:
        return Ok("not a time at all!!");
    case Calibration::Refused:
    case Calibration::Unanswered:
        return "";
    case Calibration::Written:
    case Calibration::WriteRefused:
        break;
    }
    return Ok("2021-09-09 10:30:59");
}

ProcessResources MeasureSettledProcessResources() {
    ProcessResources least = MeasureProcessResources();
    for (int i = 1; i < kSettledReadings; ++i) {
        Sleep(static_cast<DWORD>(kBetweenReadings.count()));
        const ProcessResources reading = MeasureProcessResources();
        least.userObjects = std::min(least.userObjects, reading.userObjects);
        least.gdiObjects = std::min(least.gdiObjects, reading.gdiObjects);
        least.kernelHandles = std::min(least.kernelHandles, reading.kernelHandles);
        least.fileDescriptors = std::min(least.fileDescriptors, reading.fileDescriptors);
        least.residentKiB = std::min(least.residentKiB, reading.residentKiB);
    }
    return least;
}

// Moves the clock on by a day, an hour, a minute, a second and a millisecond, so that every
// field's text changes at every tick but the year's and the month's, which change often enough.
void Advance(FakeClock& clock) {
    const rtl::DateTimeFields& now = clock.now;
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(now.year);
    time.wMonth = static_cast<WORD>(now.month);
    time.wDay = static_cast<WORD>(now.day);
    time.wHour = static_cast<WORD>(now.hour);
    time.wMinute = static_cast<WORD>(now.minute);
    time.wSecond = static_cast<WORD>(now.second);
    time.wMilliseconds = static_cast<WORD>(now.millisecond);
    FILETIME file{};
    ASSERT_TRUE(SystemTimeToFileTime(&time, &file));
    ULARGE_INTEGER value{};
    value.LowPart = file.dwLowDateTime;
    value.HighPart = file.dwHighDateTime;
    constexpr ULONGLONG kMillisecond = 10'000; // in 100 ns units
    value.QuadPart += (86'400'000ULL + 3'600'000ULL + 60'000ULL + 1'000ULL + 1ULL) * kMillisecond;
    file.dwLowDateTime = value.LowPart;
    file.dwHighDateTime = value.HighPart;
    ASSERT_TRUE(FileTimeToSystemTime(&file, &time));
    clock.Set(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
              time.wMilliseconds);
}

std::array<std::wstring, 6> ShownFields() {
    return {Form1->Edit1->Text(), Form1->Edit2->Text(), Form1->Edit3->Text(),
            Form1->Edit4->Text(), Form1->Edit5->Text(), Form1->Edit6->Text()};
}

std::array<std::wstring, 6> FieldsOf(const rtl::DateTimeFields& time) {
    const auto text = [](const wchar_t* format, int value) {
        wchar_t buffer[16];
        std::swprintf(buffer, std::size(buffer), format, value);
        return std::wstring(buffer);
    };
    return {text(L"%d", time.year),   text(L"%02d", time.month),  text(L"%02d", time.day),
            text(L"%02d", time.hour), text(L"%02d", time.minute), text(L"%02d", time.second)};
}

// The system's timers, with the window and id of the last one armed: where the ticks go.
class TimersSeen : public forms::TimerPlatform {
public:
    explicit TimersSeen(forms::TimerPlatform& system) : system_(system) {}
    HWND window = nullptr;
    UINT_PTR id = 0;

    bool Arm(HWND timerWindow, UINT_PTR timerId, UINT interval) override {
        window = timerWindow;
        id = timerId;
        return system_.Arm(timerWindow, timerId, interval);
    }
    void Disarm(HWND timerWindow, UINT_PTR timerId) override {
        system_.Disarm(timerWindow, timerId);
    }

private:
    forms::TimerPlatform& system_;
};

// A port on 127.0.0.1 that refuses connections for as long as this lives: a socket is bound to
// it and never listens, so that no connection of the test's own takes it as its local port (a
// connection from a port to itself would succeed).
class RefusingPort {
public:
    RefusingPort() {
        WSAStartup(MAKEWORD(2, 2), &winsock_);
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        if (socket_ != INVALID_SOCKET &&
            bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~RefusingPort() {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
        WSACleanup();
    }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    std::uint16_t Port() const { return port_; }

private:
    WSADATA winsock_{};
    SOCKET socket_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
};

std::vector<std::wstring> BoxTexts(const RecordingMessageBoxes& boxes) {
    std::vector<std::wstring> texts;
    for (const RecordingMessageBoxes::Box& box : boxes.shown) {
        texts.push_back(box.text);
    }
    return texts;
}

std::size_t CountBoxes(const RecordingMessageBoxes& boxes, const std::wstring& text) {
    std::size_t count = 0;
    for (const RecordingMessageBoxes::Box& box : boxes.shown) {
        count += box.text == text ? 1 : 0;
    }
    return count;
}

class SoakTest : public ::testing::Test {
protected:
    FakeClock clock;
    RecordingMessageBoxes boxes;
    TimersSeen timers{forms::CurrentTimerPlatform()};
    ScopedClock useClock{clock};
    ScopedMessageBoxes useBoxes{boxes};
    ScopedTimers useTimers{timers};
    ScopedRegionalSettings useRegional{[] { return RegionalSettings("-", "yyyy-MM-dd", ":"); }};
    std::unique_ptr<LoopbackHttpServer> server;
    std::shared_ptr<LoopbackSocketLayer> sockets;
    std::unique_ptr<ScopedLoopbackSockets> useSockets;
    RefusingPort refusing;
    std::size_t requestsSoFar = 0;

    void SetUp() override {
        std::vector<std::string> answers;
        for (int round = 0; round < 1 + kMeasuredRounds; ++round) {
            for (int i = 0; i < kCalibrationRoundsPerRound; ++i) {
                for (Calibration kind : kCalibrations) {
                    if (kind != Calibration::Refused) {
                        answers.push_back(AnswerFor(kind));
                    }
                }
            }
        }
        server = std::make_unique<LoopbackHttpServer>(answers, std::chrono::seconds(600));
        sockets = std::make_shared<LoopbackSocketLayer>(server->Port());
        useSockets = std::make_unique<ScopedLoopbackSockets>(sockets);
        ASSERT_NE(refusing.Port(), 0);
    }

    void TearDown() override {
        CancelRunLater();
        Form1 = nullptr;
    }

    // Creates the window as the entry does and shows it, as the application's loop would.
    void CreateWindowOf(forms::TApplication& application) {
        application.CreateForm(Form1);
        ASSERT_NE(Form1, nullptr);
        Form1->Show();
        PumpFor(0ms);
    }

    void Tick() {
        PostMessageW(timers.window, WM_TIMER, timers.id, 0);
        PumpFor(0ms);
    }

    void Ticks() {
        ASSERT_EQ(timers.window, Form1->Timer1->WindowHandle());
        boxes.shown.clear();
        // One failing read per failing tick: the window's own 200 ms timer may tick as well while
        // the posted tick is pumped, and either of them may meet the failure, but only once.
        int failuresLeft = 0;
        clock.failure = [&failuresLeft] {
            if (failuresLeft > 0) {
                --failuresLeft;
                throw std::runtime_error("the clock cannot be read");
            }
        };
        for (int i = 1; i <= kTicksPerRound; ++i) {
            ASSERT_NO_FATAL_FAILURE(Advance(clock));
            failuresLeft = i % kFailingTickEvery == kFailingTickEvery / 2 ? 1 : 0;
            Tick();
        }
        clock.failure = nullptr;
        EXPECT_EQ(ShownFields(), FieldsOf(clock.now));
        EXPECT_EQ(CountBoxes(boxes, L"the clock cannot be read."),
                  static_cast<std::size_t>(kTicksPerRound / kFailingTickEvery));
        EXPECT_EQ(boxes.shown.size(), static_cast<std::size_t>(kTicksPerRound / kFailingTickEvery));
    }

    void Clicks() {
        boxes.shown.clear();
        clock.writes.clear();
        clock.followWrites = true;
        int clicks = 0;
        for (int i = 0; i < kClickRoundsPerRound; ++i) {
            for (const char* name : kStepButtons) {
                auto* button = dynamic_cast<TButton*>(Form1->FindComponent(name));
                ASSERT_NE(button, nullptr) << name;
                clock.writeError =
                    ++clicks % kRefusedClickEvery == 0 ? ERROR_PRIVILEGE_NOT_HELD : 0;
                SendMessageW(button->Handle(), BM_CLICK, 0, 0);
            }
        }
        clock.writeError = 0;
        clock.followWrites = false;
        EXPECT_EQ(clock.writes.size(), static_cast<std::size_t>(clicks));
        EXPECT_EQ(boxes.shown.size(), static_cast<std::size_t>(clicks / kRefusedClickEvery));
        // The clock moved with the clicks, and the next tick shows where it went.
        Tick();
        EXPECT_EQ(ShownFields(), FieldsOf(clock.now));
    }

    void Calibrations() {
        boxes.shown.clear();
        clock.writes.clear();
        std::size_t expectedWrites = 0;
        std::size_t expectedRequests = 0;
        for (int i = 0; i < kCalibrationRoundsPerRound; ++i) {
            for (Calibration kind : kCalibrations) {
                sockets->loopbackPort =
                    kind == Calibration::Refused ? refusing.Port() : server->Port();
                clock.writeError = kind == Calibration::WriteRefused ? ERROR_PRIVILEGE_NOT_HELD : 0;
                SendMessageW(Form1->Button13->Handle(), BM_CLICK, 0, 0);
                expectedWrites +=
                    kind == Calibration::Written || kind == Calibration::WriteRefused ? 1 : 0;
                expectedRequests += kind == Calibration::Refused ? 0 : 1;
            }
        }
        clock.writeError = 0;
        const auto each = static_cast<std::size_t>(kCalibrationRoundsPerRound);
        EXPECT_EQ(clock.writes.size(), expectedWrites);
        EXPECT_EQ(CountBoxes(boxes, L"HTTP/1.1 404 Not Found."), each);
        EXPECT_EQ(CountBoxes(boxes, L"Socket Error # 10061\r\nConnection refused."), each)
            << testing::PrintToString(BoxTexts(boxes));
        EXPECT_EQ(CountBoxes(boxes, L"Connection Closed Gracefully."), each);
        EXPECT_EQ(CountBoxes(boxes, L"'not a time at all!!' is not a valid date and time."), each);
        // The four above and the refused write, whose text is the system's.
        EXPECT_EQ(boxes.shown.size(), 5 * each) << testing::PrintToString(BoxTexts(boxes));
        requestsSoFar += expectedRequests;
        EXPECT_EQ(server->Requests().size(), requestsSoFar);
    }

    // Destroys the window and creates it again, a few times, with a tick in each.
    void Recreations(forms::TApplication& application) {
        for (int i = 0; i < kExtraWindowsPerRound; ++i) {
            delete Form1;
            Form1 = nullptr;
            ASSERT_NO_FATAL_FAILURE(CreateWindowOf(application));
            ASSERT_NO_FATAL_FAILURE(Advance(clock));
            Tick();
            EXPECT_EQ(ShownFields(), FieldsOf(clock.now));
        }
    }

    // One round of everything, from a new application object to its end; `whileUp` takes the
    // process's counts while the window is up.
    void Round(ProcessResources* whileUp = nullptr) {
        clock.Set(2021, 9, 9, 10, 30, 59);
        {
            forms::TApplication application;
            application.Initialize();
            ASSERT_NO_FATAL_FAILURE(CreateWindowOf(application));
            if (whileUp != nullptr) {
                *whileUp = MeasureProcessResources();
            }
            ASSERT_NO_FATAL_FAILURE(Ticks());
            ASSERT_NO_FATAL_FAILURE(Clicks());
            ASSERT_NO_FATAL_FAILURE(Calibrations());
            ASSERT_NO_FATAL_FAILURE(Recreations(application));
        }
        Form1 = nullptr;
        // What the window's end left in the queue.
        PumpFor(0ms);
        // The doubles' records start afresh in each round, in storage already held.
        clock.calls.clear();
        clock.writes.clear();
        boxes.shown.clear();
    }
};

TEST_F(SoakTest, RoundsOfEverythingLeaveNoResourceBehind) {
    const ProcessResources initial = MeasureProcessResources();
    ProcessResources windowUp;
    ASSERT_NO_FATAL_FAILURE(Round(&windowUp)) << "warm-up";
    const ProcessResources before = MeasureSettledProcessResources();
    std::printf("initial: %s\n", Describe(initial).c_str());
    std::printf("window up: %s\n", Describe(windowUp).c_str());
    std::printf("before: %s\n", Describe(before).c_str());
    // Every count answers, and the window's own windows and fonts are seen in theirs.
    EXPECT_GT(windowUp.userObjects, initial.userObjects);
    EXPECT_GT(windowUp.gdiObjects, initial.gdiObjects);
    ASSERT_GT(before.kernelHandles, 0);
    ASSERT_GT(before.fileDescriptors, 0);
    ASSERT_GT(before.residentKiB, 0);

    const auto start = std::chrono::steady_clock::now();
    for (int round = 1; round <= kMeasuredRounds; ++round) {
        ASSERT_NO_FATAL_FAILURE(Round()) << "round " << round;
        std::printf("round %d: %s\n", round, Describe(MeasureProcessResources()).c_str());
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const ProcessResources after = MeasureSettledProcessResources();
    std::printf("after %d rounds (%.1f s): %s\n", kMeasuredRounds, seconds,
                Describe(after).c_str());

    EXPECT_LE(after.userObjects, before.userObjects) << after.userSource;
    EXPECT_LE(after.gdiObjects, before.gdiObjects) << after.gdiSource;
    EXPECT_LE(after.kernelHandles, before.kernelHandles) << after.handleSource;
    EXPECT_LE(after.fileDescriptors, before.fileDescriptors);
    EXPECT_LE(after.residentKiB, before.residentKiB + kResidentToleranceKiB);
}

} // namespace
