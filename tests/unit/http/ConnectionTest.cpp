// The client across several requests: the kept-alive connection, its replacement when the
// service closed or ended it, the reset found before reuse, cookies carried from one answer to
// the next request, and failures before any answer (refused, unknown host).
#include "FetchOutcome.h"
#include "ScriptedServer.h"

#include "http/Errors.h"
#include "http/IdHTTP.h"
#include "http/SocketLayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace http_test {
namespace {

using namespace std::chrono_literals;

const std::string kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";

std::string Request(std::uint16_t port, const std::string& cookie = "") {
    return "GET /getSysTime.do HTTP/1.1\r\n"
           "Content-Type: text/html\r\n"
           "Host: 127.0.0.1:" +
           std::to_string(port) +
           "\r\n"
           "Accept: text/html, */*\r\n"
           "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n" +
           (cookie.empty() ? "" : "Cookie: " + cookie + "\r\n") + "\r\n";
}

TEST(ConnectionTest, KeepsOneConnectionForTwoRequests) {
    ScriptedServer server({{ReadRequest(), Send(kOk), ReadRequest(), Send(kOk)}});
    http::TIdHTTP client;
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    ASSERT_TRUE(server.WaitScriptsDone(1));
    EXPECT_EQ(server.AcceptedConnections(), 1u);
    EXPECT_EQ(server.Requests(),
              (std::vector<std::string>{Request(server.Port()), Request(server.Port())}));
    EXPECT_EQ(server.StopAndCountUnexpected(), 0u);
}

TEST(ConnectionTest, ServiceClosingBetweenRequestsCostsANewConnectionAndNoError) {
    ScriptedServer server({{ReadRequest(), Send(kOk), Close()}, {ReadRequest(), Send(kOk)}});
    http::TIdHTTP client;
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    ASSERT_TRUE(server.WaitScriptsDone(1));
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    ASSERT_TRUE(server.WaitScriptsDone(2));
    EXPECT_EQ(server.AcceptedConnections(), 2u);
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.StopAndCountUnexpected(), 0u);
}

TEST(ConnectionTest, ResetFoundBeforeReuseFailsWithoutSendingThenNextRequestStartsAfresh) {
    ScriptedServer server({{ReadRequest(), Send(kOk), Reset()}, {ReadRequest(), Send(kOk)}});
    http::TIdHTTP client;
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    ASSERT_TRUE(server.WaitScriptsDone(1));
    std::this_thread::sleep_for(50ms); // let the reset reach the client's side

    EXPECT_EQ(
        Fetch(client, server.Url()),
        (Outcome{"EIdSocketError 10054", "Socket Error # 10054\r\nConnection reset by peer."}));
    EXPECT_EQ(server.AcceptedConnections(), 1u);
    EXPECT_EQ(server.Requests().size(), 1u);

    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    ASSERT_TRUE(server.WaitScriptsDone(2));
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.StopAndCountUnexpected(), 0u);
}

// The service keeps the connection open, but the answer asked for it to be closed (or not).
struct EndingCase {
    std::string name;
    std::string field;
    std::size_t connections;
};

void PrintTo(const EndingCase& row, std::ostream* out) {
    *out << row.name;
}

class ConnectionEndingTest : public ::testing::TestWithParam<EndingCase> {};

TEST_P(ConnectionEndingTest, AnswerDecidesWhetherTheConnectionIsKept) {
    const EndingCase& row = GetParam();
    const std::string answer =
        "HTTP/1.1 200 OK\r\n" + row.field + "\r\nContent-Length: 2\r\n\r\nok";
    ScriptedServer server(row.connections == 1
                              ? std::vector<ConnectionScript>{{ReadRequest(), Send(answer),
                                                               ReadRequest(), Send(answer)}}
                              : std::vector<ConnectionScript>{{ReadRequest(), Send(answer)},
                                                              {ReadRequest(), Send(answer)}});
    http::TIdHTTP client;
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    EXPECT_EQ(server.AcceptedConnections(), row.connections);
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.StopAndCountUnexpected(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ConnectionEndingTest,
    ::testing::Values(EndingCase{"ConnectionClose", "Connection: close", 2},
                      EndingCase{"ConnectionCloseAnyCaseAndBlanks", "connection:   CLOSE  ", 2},
                      EndingCase{"ProxyConnectionClose", "Proxy-Connection: Close", 2},
                      EndingCase{"ConnectionKeepAlive", "Connection: keep-alive", 1},
                      EndingCase{"CloseAmongOtherTokensIsNotClose", "Connection: close, upgrade",
                                 1}),
    [](const auto& info) { return info.param.name; });

TEST(ConnectionTest, FailedAnswerLeavesTheConnectionOpen) {
    ScriptedServer server(
        {{ReadRequest(), Send("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"),
          ReadRequest(), Send(kOk)}});
    http::TIdHTTP client;
    EXPECT_EQ(Fetch(client, server.Url()),
              (Outcome{"EIdHTTPProtocolException", "HTTP/1.1 404 Not Found"}));
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    EXPECT_EQ(server.AcceptedConnections(), 1u);
    EXPECT_EQ(server.StopAndCountUnexpected(), 0u);
}

TEST(ConnectionTest, FailedAnswerCarriesItsCodeAndBody) {
    ScriptedServer server(
        {{ReadRequest(), Send("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found")}});
    http::TIdHTTP client;
    try {
        client.Get(server.Url());
        FAIL() << "a 404 answer must fail";
    } catch (const http::EIdHTTPProtocolException& error) {
        EXPECT_EQ(error.ErrorCode(), 404);
        EXPECT_EQ(error.ErrorMessage(), "not found");
        EXPECT_STREQ(error.what(), "HTTP/1.1 404 Not Found");
    }
}

// After an answer broke off (here: the deadline passed mid-answer, or bytes came after its
// end) the connection is out of step and must not be used again.
TEST(ConnectionTest, ConnectionOutOfStepIsReplaced) {
    ScriptedServer server({{ReadRequest(), Send("HTTP/1.1 200 OK\r\n"), Pause(3s), Send(kOk)},
                           {ReadRequest(), Send(kOk + "HTTP/1.1 200 OK\r\n")},
                           {ReadRequest(), Send(kOk)}});
    http::TIdHTTP client;
    client.SetAnswerDeadline(300ms);
    EXPECT_EQ(Fetch(client, server.Url()).kind, "EIdAnswerDeadlineExceeded");
    client.SetAnswerDeadline(5s);
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    EXPECT_EQ(server.AcceptedConnections(), 3u);
    EXPECT_EQ(server.StopAndCountUnexpected(), 0u);
}

TEST(ConnectionTest, BytesArrivingWhileIdleCostANewConnection) {
    ScriptedServer server(
        {{ReadRequest(), Send(kOk), Pause(100ms), Send("stray")}, {ReadRequest(), Send(kOk)}});
    http::TIdHTTP client;
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    ASSERT_TRUE(server.WaitScriptsDone(1));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    EXPECT_EQ(server.AcceptedConnections(), 2u);
    EXPECT_EQ(server.StopAndCountUnexpected(), 0u);
}

TEST(ConnectionTest, CookiesOfOneAnswerGoWithTheNextRequest) {
    const std::string firstAnswer = "HTTP/1.1 200 OK\r\n"
                                    "Set-Cookie: session=abc123; Path=/\r\n"
                                    "Set-Cookie: nopath=1\r\n"
                                    "Set-Cookie: other=1; Path=/; Domain=elsewhere.example\r\n"
                                    "Set-Cookie: empty=; Path=/\r\n"
                                    "Set-Cookie: sub=2; Path=/sub\r\n"
                                    "Set-cookie2: v2=\"q\"; Path=\"/\"; Version=1, w=3; Path=/\r\n"
                                    "Content-Length: 2\r\n\r\nok";
    const std::string secondAnswer = "HTTP/1.1 200 OK\r\n"
                                     "Set-Cookie: session=def456; Path=/\r\n"
                                     "Set-Cookie: w=; Max-Age=0\r\n"
                                     "Content-Length: 2\r\n\r\nok";
    ScriptedServer server({{ReadRequest(), Send(firstAnswer), ReadRequest(), Send(secondAnswer),
                            ReadRequest(), Send(kOk)}});
    http::TIdHTTP client;
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    const std::uint16_t port = server.Port();
    EXPECT_EQ(server.Requests(), (std::vector<std::string>{
                                     Request(port), Request(port, "session=abc123; v2=\"q\"; w=3"),
                                     Request(port, "session=def456; v2=\"q\"")}));
}

TEST(ConnectionTest, CookiesOfAFailedAnswerAreKept) {
    ScriptedServer server({{ReadRequest(),
                            Send("HTTP/1.1 403 Forbidden\r\nSet-Cookie: token=t1; Path=/\r\n"
                                 "Content-Length: 0\r\n\r\n"),
                            ReadRequest(), Send(kOk)}});
    http::TIdHTTP client;
    EXPECT_EQ(Fetch(client, server.Url()).kind, "EIdHTTPProtocolException");
    EXPECT_EQ(Fetch(client, server.Url()), Body("ok"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], Request(server.Port(), "token=t1"));
}

TEST(ConnectionTest, FailuresBeforeAnyAnswer) {
    http::TIdHTTP client;
    EXPECT_EQ(Fetch(client,
                    "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/getSysTime.do"),
              (Outcome{"EIdSocketError 10061", "Socket Error # 10061\r\nConnection refused."}));
    EXPECT_EQ(Fetch(client, "http://no-such-host.invalid/getSysTime.do"),
              (Outcome{"EIdSocketError 11001", "Socket Error # 11001\r\nHost not found."}));
    EXPECT_EQ(Fetch(client, "https://127.0.0.1/getSysTime.do"),
              (Outcome{"EIdInvalidURL", "Invalid URL: https://127.0.0.1/getSysTime.do"}));
}

// The program's own URL names no port: the client goes to port 80 and the Host field has no
// port. A socket layer that sends every connection to the scripted server shows both.
class RedirectingSocketLayer : public http::SocketLayer {
public:
    explicit RedirectingSocketLayer(std::uint16_t realPort) : realPort_(realPort) {}
    http::Ipv4Address Resolve(const std::string& host) override {
        resolved.push_back(host);
        return system_->Resolve("127.0.0.1");
    }
    std::unique_ptr<http::StreamSocket> Connect(const http::Ipv4Address& address,
                                                std::uint16_t port) override {
        requestedPorts.push_back(port);
        return system_->Connect(address, realPort_);
    }
    std::vector<std::string> resolved;
    std::vector<std::uint16_t> requestedPorts;

private:
    std::uint16_t realPort_;
    std::shared_ptr<http::SocketLayer> system_ = http::MakeSystemSocketLayer();
};

TEST(ConnectionTest, UrlWithoutPortGoesToPort80AndSendsHostWithoutPort) {
    ScriptedServer server({{ReadRequest(), Send(kOk)}});
    auto sockets = std::make_shared<RedirectingSocketLayer>(server.Port());
    http::TIdHTTP client(sockets);
    EXPECT_EQ(Fetch(client, "http://timeservice.example/getSysTime.do"), Body("ok"));
    EXPECT_EQ(sockets->resolved, std::vector<std::string>{"timeservice.example"});
    EXPECT_EQ(sockets->requestedPorts, std::vector<std::uint16_t>{80});
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "GET /getSysTime.do HTTP/1.1\r\n"
                                    "Content-Type: text/html\r\n"
                                    "Host: timeservice.example\r\n"
                                    "Accept: text/html, */*\r\n"
                                    "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                                    "\r\n");
}

} // namespace
} // namespace http_test
