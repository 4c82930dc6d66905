// One GET against a scripted server per row: what the server does, and the body or the exact
// error the client must give. Every row also checks the exact bytes of the request.
#include "FetchOutcome.h"
#include "ScriptedServer.h"

#include "http/IdHTTP.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace http_test {
namespace {

using namespace std::chrono_literals;

const std::string kBody = R"({"sysTime1":"2021-09-09 10:30:59","sysTime2":"x"})";

std::string WithLength(const std::string& statusLine, const std::string& body,
                       const std::string& moreFields = "") {
    return statusLine + "\r\n" + moreFields + "Content-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

std::string Lines(const std::string& line, int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) {
        lines += line;
    }
    return lines;
}

std::string Cookies(int count, const std::string& value = "v") {
    std::string fields;
    for (int i = 0; i < count; ++i) {
        fields += "Set-Cookie: c" + std::to_string(i) + "=" + value + "; Path=/\r\n";
    }
    return fields;
}

Outcome Failure(std::string kind, std::string message) {
    return {std::move(kind), std::move(message)};
}

const std::string kTooLarge = "The time service's answer is too large";

struct ExchangeCase {
    std::string name;
    ConnectionScript script;
    Outcome expected;
    std::chrono::milliseconds deadline = 10s;
    // A client that waits for what never comes would overrun this.
    std::chrono::milliseconds notLongerThan = 4s;
};

std::vector<ExchangeCase> Cases() {
    const std::string longField = "X-Long: " + std::string(16384 - 8, 'a');
    return {
        // Successful answers and their body framings.
        {"ContentLength", {ReadRequest(), Send(WithLength("HTTP/1.1 200 OK", kBody))}, Body(kBody)},
        {"ContentLengthZero",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n")},
         Body("")},
        {"Chunked",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                              "5;ext=1\r\nHello\r\nF\r\n, chunked world\r\n0\r\n"
                              "X-Checksum: 1\r\n\r\n")},
         Body("Hello, chunked world")},
        {"ChunkedOneByteAtATime",
         {ReadRequest(), Drip("HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n"
                              "3\r\nabc\r\na\r\n0123456789\r\n0\r\n\r\n",
                              1ms)},
         Body("abc0123456789")},
        {"ChunkedNamedInUpperCaseIsNotChunked",
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n"
               "5\r\nHello\r\n0\r\n\r\n"),
          Close()},
         Body("5\r\nHello\r\n0\r\n\r\n")},
        {"ContentLengthWinsOverChunked",
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 5\r\n\r\nHello")},
         Body("Hello")},
        {"UntilClose",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\n\r\n" + kBody), Close()},
         Body(kBody)},
        {"LineEndsWithLfAlone",
         {ReadRequest(), Send("HTTP/1.1 200 OK\nContent-Length: 2\n\nok")},
         Body("ok")},
        {"NoContentHasNoBody",
         {ReadRequest(), Send("HTTP/1.1 204 No Content\r\n\r\n")},
         Body(""),
         2s},
        {"BlanksRunTogetherInStatusLine",
         {ReadRequest(), Send("HTTP/1.1   200  OK\r\nContent-Length: 2\r\n\r\nok")},
         Body("ok")},
        {"ContinueThenOk",
         {ReadRequest(),
          Send("HTTP/1.1 100 Continue\r\n\r\n" + WithLength("HTTP/1.1 200 OK", kBody))},
         Body(kBody)},
        {"FiveContinuesThenOk",
         {ReadRequest(), Send(Lines("HTTP/1.1 100 Continue\r\nX-A: b\r\n\r\n", 5) +
                              WithLength("HTTP/1.1 200 OK", "ok"))},
         Body("ok")},
        {"BodyAtLimit",
         {ReadRequest(), Send(WithLength("HTTP/1.1 200 OK", std::string(64 * 1024, 'b')))},
         Body(std::string(64 * 1024, 'b'))},
        {"HeaderLineAtLimit",
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\n" + longField + "\r\nContent-Length: 2\r\n\r\nok")},
         Body("ok")},
        {"HundredHeaderLines",
         {ReadRequest(), Send(WithLength("HTTP/1.1 200 OK", "ok", Lines("X-Filler: 1\r\n", 99)))},
         Body("ok")},

        // Answers that are not a success: the status line exactly as received.
        {"NotFound",
         {ReadRequest(), Send(WithLength("HTTP/1.1 404 Not Found", "<h1>404</h1>"))},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 404 Not Found")},
        {"RedirectNotFollowed",
         {ReadRequest(), Send(WithLength("HTTP/1.1 302 Found", "",
                                         "Location: http://elsewhere.invalid/getSysTime.do\r\n"))},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 302 Found")},
        {"SuccessWithLocation",
         {ReadRequest(), Send(WithLength("HTTP/1.1 200 OK", kBody, "location: /other\r\n"))},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 200 OK")},
        {"Unauthorized",
         {ReadRequest(), Send(WithLength("HTTP/1.1 401 Unauthorized", "",
                                         "WWW-Authenticate: Basic realm=\"t\"\r\n"))},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 401 Unauthorized")},
        {"ProxyAuthenticationRequired",
         {ReadRequest(), Send(WithLength("HTTP/1.1 407 Proxy Authentication Required", "",
                                         "Proxy-Authenticate: Basic realm=\"t\"\r\n"))},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 407 Proxy Authentication Required")},
        {"NonNumericStatus",
         {ReadRequest(), Send(WithLength("HTTP/1.1 2OO OK", kBody))},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 2OO OK")},
        {"StatusLineWithoutCode",
         {ReadRequest(), Send(WithLength("HTTP/1.1", kBody))},
         Failure("EIdHTTPProtocolException", "HTTP/1.1")},
        {"StatusLineKeptExactly",
         {ReadRequest(), Send(WithLength("HTTP/1.0  503   Busy, try later ", ""))},
         Failure("EIdHTTPProtocolException", "HTTP/1.0  503   Busy, try later ")},
        {"SwitchingProtocolsFailsWithoutWaitingForABody",
         {ReadRequest(), Send("HTTP/1.1 101 Switching Protocols\r\nUpgrade: x\r\n\r\n")},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 101 Switching Protocols"),
         2s},
        {"NotModifiedFailsWithoutWaitingForABody",
         {ReadRequest(), Send("HTTP/1.1 304 Not Modified\r\n\r\n")},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 304 Not Modified"),
         2s},
        {"FailedAnswerCutOffStillGivesItsStatus",
         {ReadRequest(), Send("HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\n1234"), Close()},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 404 Not Found")},
        {"FailedAnswerBodyBeyondLimitIsDropped",
         {ReadRequest(), Send(WithLength("HTTP/1.1 500 Oops", std::string(70000, 'e')))},
         Failure("EIdHTTPProtocolException", "HTTP/1.1 500 Oops")},

        // The service goes away.
        {"ClosedBeforeStatusLine",
         {ReadRequest(), Close()},
         Failure("EIdConnClosedGracefully", "Connection Closed Gracefully.")},
        {"ClosedInsideStatusLine",
         {ReadRequest(), Send("HTTP/1.1 20"), Close()},
         Failure("EIdConnClosedGracefully", "Connection Closed Gracefully.")},
        {"ClosedInsideHeaders",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Le"), Close()},
         Failure("EIdConnClosedGracefully", "Connection Closed Gracefully.")},
        {"BodyCutOff",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 40\r\n\r\n{\"sysTime1\":"),
          Close()},
         Failure("EIdConnClosedGracefully", "Connection Closed Gracefully.")},
        {"ChunkedBodyCutOff",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nHel"),
          Close()},
         Failure("EIdConnClosedGracefully", "Connection Closed Gracefully.")},
        {"ResetAfterRequest",
         {ReadRequest(), Reset()},
         Failure("EIdSocketError 10054", "Socket Error # 10054\r\nConnection reset by peer.")},

        // Lines and header blocks beyond their bounds.
        {"HeaderLineOverLimit",
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\n" + longField + "a\r\nContent-Length: 0\r\n\r\n")},
         Failure("EIdReadLnMaxLineLengthExceeded", "Max line length exceeded.")},
        {"StatusLineOverLimit",
         {ReadRequest(), Send("HTTP/1.1 200 " + std::string(16384 - 12, 'O') + "\r\n\r\n")},
         Failure("EIdReadLnMaxLineLengthExceeded", "Max line length exceeded.")},
        {"EndlessLineWithTheConnectionOpen",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nX-Endless: " + std::string(100000, 'z')),
          Pause(5s)},
         Failure("EIdReadLnMaxLineLengthExceeded", "Max line length exceeded.")},
        {"TooManyHeaderLines",
         {ReadRequest(), Send(WithLength("HTTP/1.1 200 OK", "ok", Lines("X-Filler: 1\r\n", 100)))},
         Failure("EIdResponseTooLarge", "The time service's answer has too many header lines")},
        {"HeaderBlockTooLarge",
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\n" + Lines("X-Big: " + std::string(15000, 'h') + "\r\n", 5) +
               "\r\n"),
          Pause(5s)},
         Failure("EIdResponseTooLarge", "The time service's answer has too large a header")},
        {"SixContinues",
         {ReadRequest(),
          Send(Lines("HTTP/1.1 100 Continue\r\n\r\n", 6) + WithLength("HTTP/1.1 200 OK", "ok"))},
         Failure("EIdResponseTooLarge", "The time service sent too many interim answers")},

        // Bodies beyond their bounds, and broken framing.
        {"ContentLengthOverflows",
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\nok")},
         Failure("EIdResponseTooLarge", kTooLarge)},
        {"ContentLengthBeyondBodyLimit",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 65537\r\n\r\nok"), Pause(5s)},
         Failure("EIdResponseTooLarge", kTooLarge)},
        {"ContentLengthNotANumber",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 12abc\r\n\r\nok")},
         Failure("EIdMalformedResponse", "The time service sent an invalid Content-Length")},
        {"ContentLengthNegative",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\nok")},
         Failure("EIdMalformedResponse", "The time service sent an invalid Content-Length")},
        {"ContentLengthsDisagree",
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\nok!")},
         Failure("EIdMalformedResponse",
                 "The time service sent conflicting Content-Length fields")},
        {"ChunkSizeOfSeventeenDigits",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                              "00000000000000001\r\nx\r\n0\r\n\r\n")},
         Failure("EIdResponseTooLarge", "The time service sent too large a chunk size")},
        {"ChunkSizeOverflowing",
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
               "FFFFFFFFFFFFFFFF\r\nx"),
          Pause(5s)},
         Failure("EIdResponseTooLarge", kTooLarge)},
        {"ChunksBeyondBodyLimit",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                              "8000\r\n" +
                              std::string(0x8000, 'c') +
                              "\r\n"
                              "8001\r\n" +
                              std::string(0x8001, 'c') + "\r\n0\r\n\r\n")},
         Failure("EIdResponseTooLarge", kTooLarge)},
        {"ChunkSizeNotHex",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n")},
         Failure("EIdMalformedResponse", "The time service sent malformed chunked data")},
        {"ChunkLongerThanItsSize",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                              "2\r\nabc\r\n0\r\n\r\n")},
         Failure("EIdMalformedResponse", "The time service sent malformed chunked data")},
        {"UntilCloseBeyondBodyLimit",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\n\r\n" + std::string(65537, 'u')), Close()},
         Failure("EIdResponseTooLarge", kTooLarge)},

        // Cookies beyond their bounds fail the answer that sets them.
        {"FiftyCookies",
         {ReadRequest(), Send(WithLength("HTTP/1.1 200 OK", "ok", Cookies(50)))},
         Body("ok")},
        {"FiftyOneCookies",
         {ReadRequest(), Send(WithLength("HTTP/1.1 200 OK", "ok", Cookies(51)))},
         Failure("EIdResponseTooLarge", "The time service set too many cookies")},
        {"CookieValueTooLarge",
         {ReadRequest(),
          Send(WithLength("HTTP/1.1 200 OK", "ok", Cookies(1, std::string(4097, 'v'))))},
         Failure("EIdResponseTooLarge", "The time service set too large a cookie")},

        // Slow services.
        {"DripHitsAnswerDeadline",
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\n"),
          Drip("X-Slow: " + std::string(20, 's'), 200ms)},
         Failure("EIdAnswerDeadlineExceeded", "The time service did not answer within 1 second"),
         1s,
         2s},
        {"DrippedFailedBodyHitsAnswerDeadline",
         {ReadRequest(), Send("HTTP/1.1 404 Not Found\r\nContent-Length: 20\r\n\r\n"),
          Drip(std::string(20, 'd'), 300ms)},
         Failure("EIdAnswerDeadlineExceeded",
                 "The time service did not answer within 1500 milliseconds"),
         1500ms,
         2500ms},
        {"SilentHeadHitsAnswerDeadline",
         {ReadRequest(), Pause(5s)},
         Failure("EIdAnswerDeadlineExceeded", "The time service did not answer within 1 second"),
         1s,
         2s},
        {"SilentFailedBody",
         {ReadRequest(), Send("HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\n1234"),
          Pause(5s)},
         Failure("EIdReadTimeout", "Read Timeout")},
    };
}

void PrintTo(const ExchangeCase& row, std::ostream* out) {
    *out << row.name;
}

class ExchangeTest : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(ExchangeTest, GivesBodyOrExactError) {
    const ExchangeCase& row = GetParam();
    ScriptedServer server({row.script});
    http::TIdHTTP client;
    client.SetAnswerDeadline(row.deadline);

    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = Fetch(client, server.Url());
    const auto took = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(outcome, row.expected);
    EXPECT_LT(took, row.notLongerThan);
    ASSERT_TRUE(server.WaitScriptsDone(1));
    const std::string expectedRequest = "GET /getSysTime.do HTTP/1.1\r\n"
                                        "Content-Type: text/html\r\n"
                                        "Host: 127.0.0.1:" +
                                        std::to_string(server.Port()) +
                                        "\r\n"
                                        "Accept: text/html, */*\r\n"
                                        "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                                        "\r\n";
    EXPECT_EQ(server.Requests(), std::vector<std::string>{expectedRequest});
    EXPECT_EQ(server.StopAndCountUnexpected(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Service, ExchangeTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace http_test
