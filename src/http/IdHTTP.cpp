#include "IdHTTP.h"

#include "AnswerReader.h"
#include "Connection.h"
#include "CookieStore.h"
#include "Errors.h"
#include "Limits.h"
#include "RequestWriter.h"
#include "ResponseParser.h"
#include "Url.h"

#include <cstdint>

namespace http {

namespace {

std::int64_t UnixSecondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

TIdHTTP::TIdHTTP() : TIdHTTP(MakeSystemSocketLayer()) {}

TIdHTTP::TIdHTTP(std::shared_ptr<SocketLayer> sockets)
    : sockets_(std::move(sockets)), connection_(std::make_unique<Connection>(sockets_)),
      answerDeadline_(kDefaultAnswerDeadline) {}

TIdHTTP::~TIdHTTP() = default;

void TIdHTTP::SetAnswerDeadline(std::chrono::milliseconds deadline) {
    answerDeadline_ = deadline;
}

std::string TIdHTTP::Get(const std::string& url) {
    const Url target = ParseUrl(url);
    std::string cookieField;
    if (cookies_) {
        cookies_->DropExpired(UnixSecondsNow());
        cookieField = cookies_->CookieFieldFor(target.host);
    }
    const std::string request = WriteGetRequest(target, cookieField);

    connection_->Open(target.host, target.port);
    ResponseParser parser;
    AnswerEnd end;
    try {
        connection_->Stream().Send(request);
        end = ReadAnswer(connection_->Stream(), parser, Clock::now() + answerDeadline_,
                         answerDeadline_, [this, &target](const ResponseHead& head) {
                             if (!cookies_) {
                                 cookies_ = std::make_unique<CookieStore>();
                             }
                             cookies_->TakeFromAnswer(head.headers, target.host, UnixSecondsNow());
                         });
    } catch (...) {
        // Whatever broke off the answer, the connection is out of step with the service.
        connection_->Close();
        throw;
    }

    const ResponseHead& head = parser.Head();
    if (end.peerClosed || end.leftover || head.ClosesConnection()) {
        connection_->Close();
    }
    if (!head.IsSuccess()) {
        throw EIdHTTPProtocolException(head.statusLine, head.statusCode, parser.TakeBody());
    }
    return parser.TakeBody();
}

} // namespace http
