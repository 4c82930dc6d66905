// Socket errors read the same on every platform: Winsock's number and text.
#include "http/SocketError.h"
#include "http/Errors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

struct ErrnoCase {
    int errnoValue;
    int code;
    const char* message;
};

TEST(SocketErrorTest, PosixErrorsBecomeWinsockNumbersAndTexts) {
    const ErrnoCase cases[] = {
        {ECONNREFUSED, 10061, "Socket Error # 10061\r\nConnection refused."},
        {ETIMEDOUT, 10060, "Socket Error # 10060\r\nConnection timed out."},
        {ENETUNREACH, 10051, "Socket Error # 10051\r\nNetwork is unreachable."},
        {EHOSTUNREACH, 10065, "Socket Error # 10065\r\nNo route to host."},
        {ECONNRESET, 10054, "Socket Error # 10054\r\nConnection reset by peer."},
        {EPIPE, 10054, "Socket Error # 10054\r\nConnection reset by peer."},
        {ECONNABORTED, 10053, "Socket Error # 10053\r\nSoftware caused connection abort."},
    };
    for (const ErrnoCase& row : cases) {
        SCOPED_TRACE(row.message);
        const int code = http::WsaCodeFromErrno(row.errnoValue);
        EXPECT_EQ(code, row.code);
        try {
            http::ThrowSocketError(code);
        } catch (const http::EIdSocketError& error) {
            EXPECT_EQ(error.ErrorCode(), row.code);
            EXPECT_EQ(error.Message(), row.message);
        }
    }
    EXPECT_EQ(http::WsaCodeFromErrno(0), 0);
}

TEST(SocketErrorTest, HostNotFoundAndUnknownNumbers) {
    EXPECT_EQ(http::SocketErrorMessage(http::kWsaHostNotFound,
                                       http::SocketErrorText(http::kWsaHostNotFound)),
              "Socket Error # 11001\r\nHost not found.");
    // A number the table lacks takes the system's text.
    try {
        http::ThrowSocketError(12345, "Some system text.");
        FAIL();
    } catch (const http::EIdSocketError& error) {
        EXPECT_EQ(error.ErrorCode(), 12345);
        EXPECT_EQ(error.Message(), "Socket Error # 12345\r\nSome system text.");
    }
}

TEST(SocketErrorTest, WinsockStartupFailureMessages) {
    EXPECT_EQ(http::WinsockLoadFailureMessage("The system is not ready."),
              "Error on loading Winsock2 library (WS2_32.DLL): The system is not ready.");
    EXPECT_EQ(http::WinsockLoadFailureMessage(""),
              "Error on loading Winsock2 library (WS2_32.DLL)");
    EXPECT_STREQ(http::kWinsockInitializationError, "Winsock Initialization Error.");
}

TEST(SocketErrorTest, AnswerDeadlineMessageNamesTheDeadline) {
    using std::chrono::milliseconds;
    EXPECT_STREQ(http::EIdAnswerDeadlineExceeded(milliseconds(10000)).what(),
                 "The time service did not answer within 10 seconds");
    EXPECT_STREQ(http::EIdAnswerDeadlineExceeded(milliseconds(1000)).what(),
                 "The time service did not answer within 1 second");
    EXPECT_STREQ(http::EIdAnswerDeadlineExceeded(milliseconds(250)).what(),
                 "The time service did not answer within 250 milliseconds");
}

} // namespace
