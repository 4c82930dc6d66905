// The reference time service (nginx with the configuration in service/) answers the client's
// GET with the present time of UTC+8 in bytes 14 to 32 of the body.
#include "ScriptedServer.h"

#include "http/CookieDate.h"
#include "http/Errors.h"
#include "http/IdHTTP.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

bool NginxInstalled() {
    if (fs::exists("/usr/sbin/nginx")) {
        return true;
    }
    return std::system("command -v nginx >/dev/null 2>&1") == 0;
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// Starts the service for the test and stops it (and removes its state) afterwards.
class RunningService {
public:
    explicit RunningService(std::uint16_t port) {
        std::string pattern = (fs::temp_directory_path() / "timetool-service-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        stateDir_ = pattern;
        const std::string command = Quoted(fs::path(TIMETOOL_SERVICE_DIR) / "start.sh") +
                                    " 127.0.0.1:" + std::to_string(port) + " " + Quoted(stateDir_) +
                                    " >/dev/null";
        started_ = std::system(command.c_str()) == 0;
    }
    ~RunningService() {
        if (stateDir_.empty()) {
            return;
        }
        const std::string command =
            Quoted(fs::path(TIMETOOL_SERVICE_DIR) / "stop.sh") + " " + Quoted(stateDir_);
        std::system(command.c_str());
        std::error_code ignored;
        fs::remove_all(stateDir_, ignored);
    }
    bool Started() const { return started_; }

private:
    std::string stateDir_;
    bool started_ = false;
};

// "YYYY-MM-DD HH:MM:SS" read as UTC+8, in Unix seconds.
bool ReadServiceTime(const std::string& text, std::int64_t& seconds) {
    int year, month, day, hour, minute, second;
    char tail;
    if (text.size() != 19 || std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month,
                                         &day, &hour, &minute, &second, &tail) != 6) {
        return false;
    }
    seconds = http::DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) *
                  86400 +
              hour * 3600 + minute * 60 + second - 8 * 3600;
    return true;
}

TEST(ReferenceServiceTest, AnswersWithThePresentTimeOfUtcPlus8) {
    if (!NginxInstalled()) {
        GTEST_SKIP() << "nginx is not installed";
    }
    const std::uint16_t port = http_test::UnusedLoopbackPort();
    RunningService service(port);
    ASSERT_TRUE(service.Started());

    http::TIdHTTP client;
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/getSysTime.do";
    for (int request = 0; request < 2; ++request) { // the second one reuses the connection
        const std::string body = client.Get(url);
        const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
        ASSERT_GE(body.size(), 32u) << body;
        EXPECT_EQ(body.substr(0, 13), "{\"sysTime1\":\"");
        std::int64_t serviceTime = 0;
        ASSERT_TRUE(ReadServiceTime(body.substr(13, 19), serviceTime)) << body;
        EXPECT_LE(std::llabs(serviceTime - now), 3) << body;
    }
}

TEST(ReferenceServiceTest, AnswersOtherPathsWithNotFound) {
    if (!NginxInstalled()) {
        GTEST_SKIP() << "nginx is not installed";
    }
    const std::uint16_t port = http_test::UnusedLoopbackPort();
    RunningService service(port);
    ASSERT_TRUE(service.Started());
    http::TIdHTTP client;
    try {
        client.Get("http://127.0.0.1:" + std::to_string(port) + "/other");
        FAIL() << "another path must fail";
    } catch (const rtl::Exception& error) {
        EXPECT_STREQ(error.what(), "HTTP/1.1 404 Not Found");
    }
}

} // namespace
