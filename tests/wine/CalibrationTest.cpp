// The calibration button against a time service played by a scripted server on 127.0.0.1: the
// request it sends, the clock value it writes from bytes 14 to 32 of the body, and the failures it
// reports with the default error display while the clock stays untouched.
#include "Form1Fixture.h"
#include "LoopbackHttpServer.h"
#include "LoopbackSocketLayer.h"
#include "ScopedRegionalSettings.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// The host name the program was built to ask (the build's TIME_SERVICE_HOST).
const std::string kServiceHost = TIMETOOL_TEST_SERVICE_HOST;

const std::string kExpectedRequest = "GET /getSysTime.do HTTP/1.1\r\n"
                                     "Content-Type: text/html\r\n"
                                     "Host: " +
                                     kServiceHost +
                                     "\r\n"
                                     "Accept: text/html, */*\r\n"
                                     "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                                     "\r\n";

// The 13 bytes before the time in the reference service's body.
const std::string kBodyPrefix = "{\"sysTime1\":\"";

std::string ServiceBody(const std::string& timeText) {
    return kBodyPrefix + timeText + "\",\"zone\":\"UTC+8\"}";
}

std::string Ok(const std::string& body) {
    return HttpAnswer("HTTP/1.1 200 OK", {"Content-Type: application/json"}, body);
}

const rtl::FormatSettings kIso = RegionalSettings("-", "yyyy-MM-dd", ":");

std::string Text(const SYSTEMTIME& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}

std::vector<std::string> WrittenTimes(const FakeClock& clock) {
    std::vector<std::string> texts;
    for (const SYSTEMTIME& write : clock.writes) {
        texts.push_back(Text(write));
    }
    return texts;
}

std::vector<std::wstring> BoxTexts(const RecordingMessageBoxes& boxes) {
    std::vector<std::wstring> texts;
    for (const RecordingMessageBoxes::Box& box : boxes.shown) {
        texts.push_back(box.text);
    }
    return texts;
}

class CalibrationTest : public Form1Fixture {
protected:
    FakeTimers timers;
    ScopedTimers useTimers{timers};
    rtl::FormatSettings regional = kIso;
    int settingsLoads = 0;
    ScopedRegionalSettings useRegional{[this] {
        ++settingsLoads;
        return regional;
    }};
    std::unique_ptr<LoopbackHttpServer> server;
    std::shared_ptr<LoopbackSocketLayer> sockets;
    std::unique_ptr<ScopedLoopbackSockets> useSockets;

    // Starts the service with its answers and creates the window, whose client then reaches the
    // service under any host name.
    void StartWith(const std::vector<std::string>& answers) {
        server = std::make_unique<LoopbackHttpServer>(answers);
        sockets = std::make_shared<LoopbackSocketLayer>(server->Port());
        useSockets = std::make_unique<ScopedLoopbackSockets>(sockets);
        CreateForm1();
    }

    // A real click on "校准时间".
    void ClickCalibrate() { SendMessageW(Form1->Button13->Handle(), BM_CLICK, 0, 0); }
};

TEST_F(CalibrationTest, WritesTheServicesTimeAsUtcPlus8AfterOneExactRequest) {
    StartWith({Ok(ServiceBody("2021-09-09 10:30:59"))});
    ASSERT_EQ(Form1->Button13->Caption(), L"校准时间");
    ClickCalibrate();

    EXPECT_TRUE(boxes.shown.empty()) << testing::PrintToString(BoxTexts(boxes));
    ASSERT_EQ(clock.writes.size(), 1u);
    EXPECT_EQ(Text(clock.writes[0]), "2021-09-09 02:30:59.000");
    EXPECT_EQ(clock.writes[0].wDayOfWeek, 4) << "a Thursday";
    EXPECT_EQ(server->Requests(), std::vector<std::string>{kExpectedRequest});
    EXPECT_EQ(sockets->resolvedHosts, std::vector<std::string>{kServiceHost});
    EXPECT_EQ(sockets->requestedPorts, std::vector<std::uint16_t>{80});
    // One write, then the time-change broadcast.
    ASSERT_GE(clock.calls.size(), 2u);
    EXPECT_EQ(clock.calls[clock.calls.size() - 2], FakeClock::Call::Write);
    EXPECT_EQ(clock.calls.back(), FakeClock::Call::Broadcast);
}

TEST_F(CalibrationTest, ReadsBytes14To32OfTheBody) {
    struct Case {
        const char* what;
        std::string body;
        int clockYear;
        std::string written;
    };
    const Case cases[] = {
        {"exactly 32 bytes", kBodyPrefix + "2021-09-09 10:30:59", 2021, "2021-09-09 02:30:59.000"},
        {"what follows byte 32 plays no part", kBodyPrefix + "2021-09-09 10:30:5999:99 garbage",
         2021, "2021-09-09 02:30:59.000"},
        {"the first 13 bytes play no part", "0123456789abc2024-03-01 05:30:00", 2021,
         "2024-02-29 21:30:00.000"},
        {"a body that ends after the minutes", kBodyPrefix + "2021-09-09 10:30", 2021,
         "2021-09-09 02:30:00.000"},
        {"a space before the year", kBodyPrefix + " 2021-09-09 10:30:5", 2021,
         "2021-09-09 02:30:05.000"},
        {"the eight hours carry back across the year", kBodyPrefix + "2025-01-01 03:00:00", 2021,
         "2024-12-31 19:00:00.000"},
        {"a two-digit year is placed around the present year", kBodyPrefix + "70-01-02 03:04:05",
         2021, "2070-01-01 19:04:05.000"},
        {"... which comes from the clock", kBodyPrefix + "70-01-02 03:04:05", 2121,
         "2170-01-01 19:04:05.000"},
    };
    std::vector<std::string> answers;
    for (const Case& c : cases) {
        answers.push_back(Ok(c.body));
    }
    StartWith(answers);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clock.writes.clear();
        clock.Set(c.clockYear, 6, 15, 12, 0, 0);
        ClickCalibrate();
        EXPECT_TRUE(boxes.shown.empty()) << testing::PrintToString(BoxTexts(boxes));
        EXPECT_EQ(WrittenTimes(clock), std::vector<std::string>{c.written});
        boxes.shown.clear();
    }
    EXPECT_EQ(server->Requests().size(), std::size(cases));
}

TEST_F(CalibrationTest, FailuresAreShownAndLeaveTheClockUntouched) {
    const rtl::FormatSettings dotTime = RegionalSettings("-", "yyyy-MM-dd", ".");
    const rtl::FormatSettings slashDate = RegionalSettings("/", "yyyy/MM/dd", ":");
    struct Case {
        const char* what;
        std::string answer; // empty: the service is down
        rtl::FormatSettings settings;
        std::wstring shown;
    };
    const Case cases[] = {
        {"not found", HttpAnswer("HTTP/1.1 404 Not Found", {}, "<html>gone</html>"), kIso,
         L"HTTP/1.1 404 Not Found."},
        {"a redirect is not followed",
         HttpAnswer("HTTP/1.1 302 Found", {"Location: http://elsewhere/getSysTime.do"}, ""), kIso,
         L"HTTP/1.1 302 Found."},
        {"an empty body", Ok(""), kIso, L"'' is not a valid date and time."},
        {"no content", HttpAnswer("HTTP/1.1 204 No Content", {}, "", false), kIso,
         L"'' is not a valid date and time."},
        {"a body of 13 bytes", Ok(kBodyPrefix), kIso, L"'' is not a valid date and time."},
        {"a tab before the year", Ok(kBodyPrefix + "\t2021-09-09 10:30:5"), kIso,
         L"'\t2021-09-09 10:30:5' is not a valid date and time."},
        {"another regional time separator would lose the minutes and seconds",
         Ok(ServiceBody("2021-09-09 10:30:59")), dotTime,
         L"'2021-09-09 10:30:59' is not a valid date and time."},
        {"another regional date separator", Ok(ServiceBody("2021-09-09 10:30:59")), slashDate,
         L"'2021-09-09 10:30:59' is not a valid date and time."},
        {"the service is down", "", kIso, L"Socket Error # 10061\r\nConnection refused."},
    };
    std::vector<std::string> answers;
    for (const Case& c : cases) {
        if (!c.answer.empty()) {
            answers.push_back(c.answer);
        }
    }
    StartWith(answers);
    const std::uint16_t servicePort = server->Port();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        regional = c.settings;
        SendMessageW(Form1->Handle(), WM_SETTINGCHANGE, 0, 0);
        sockets->loopbackPort = c.answer.empty() ? LoopbackHttpServer::UnusedPort() : servicePort;
        ClickCalibrate();
        EXPECT_EQ(BoxTexts(boxes), std::vector<std::wstring>{c.shown});
        EXPECT_TRUE(clock.writes.empty()) << testing::PrintToString(WrittenTimes(clock));
        EXPECT_TRUE(IsWindowEnabled(Form1->Handle())) << "the window goes on after the box";
        boxes.shown.clear();
    }
    EXPECT_EQ(server->Requests(), std::vector<std::string>(answers.size(), kExpectedRequest));
}

// The system's own message for an error code, as FormatMessageW gives it (Windows and Wine word
// some differently), without its line break.
std::wstring SystemMessage(DWORD code) {
    wchar_t text[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring message = text;
    while (!message.empty() &&
           (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
        message.pop_back();
    }
    return message;
}

TEST_F(CalibrationTest, ARefusedWriteIsReportedWithTheSystemsText) {
    const std::wstring privilegeNotHeld = SystemMessage(ERROR_PRIVILEGE_NOT_HELD);
    ASSERT_FALSE(privilegeNotHeld.empty());
    StartWith({Ok(ServiceBody("2021-09-09 10:30:59"))});
    clock.writeError = ERROR_PRIVILEGE_NOT_HELD;
    ClickCalibrate();
    EXPECT_EQ(WrittenTimes(clock), std::vector<std::string>{"2021-09-09 02:30:59.000"});
    // The display adds a full stop where the text does not end in one.
    const std::wstring shown =
        privilegeNotHeld.back() == L'.' ? privilegeNotHeld : privilegeNotHeld + L".";
    EXPECT_EQ(BoxTexts(boxes), std::vector<std::wstring>{shown});
    EXPECT_EQ(clock.calls.back(), FakeClock::Call::Broadcast) << "the broadcast goes out anyway";
}

TEST_F(CalibrationTest, ReadsWithTheSettingsOfTheLastChangeNotice) {
    regional = RegionalSettings("/", "yyyy/MM/dd", ":");
    StartWith({Ok(ServiceBody("2021-09-09 10:30:59"))});
    ClickCalibrate();
    EXPECT_EQ(BoxTexts(boxes),
              std::vector<std::wstring>{L"'2021-09-09 10:30:59' is not a valid date and time."});
    boxes.shown.clear();

    // The user changes the settings; the program hears of it only with the notice.
    regional = kIso;
    ClickCalibrate();
    EXPECT_EQ(boxes.shown.size(), 1u) << "read again before the notice";
    EXPECT_TRUE(clock.writes.empty());
    boxes.shown.clear();

    SendMessageW(Form1->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    ClickCalibrate();
    EXPECT_TRUE(boxes.shown.empty()) << testing::PrintToString(BoxTexts(boxes));
    EXPECT_EQ(WrittenTimes(clock), std::vector<std::string>{"2021-09-09 02:30:59.000"});
    EXPECT_EQ(settingsLoads, 2);
}

} // namespace
