#include "FetchOutcome.h"

#include "http/Errors.h"

namespace http_test {

namespace {

std::string KindOf(const rtl::Exception& error) {
    using namespace http;
    if (const auto* socket = dynamic_cast<const EIdSocketError*>(&error)) {
        return "EIdSocketError " + std::to_string(socket->ErrorCode());
    }
    if (dynamic_cast<const EIdConnClosedGracefully*>(&error)) {
        return "EIdConnClosedGracefully";
    }
    if (dynamic_cast<const EIdHTTPProtocolException*>(&error)) {
        return "EIdHTTPProtocolException";
    }
    if (dynamic_cast<const EIdReadLnMaxLineLengthExceeded*>(&error)) {
        return "EIdReadLnMaxLineLengthExceeded";
    }
    if (dynamic_cast<const EIdAnswerDeadlineExceeded*>(&error)) {
        return "EIdAnswerDeadlineExceeded";
    }
    if (dynamic_cast<const EIdReadTimeout*>(&error)) {
        return "EIdReadTimeout";
    }
    if (dynamic_cast<const EIdResponseTooLarge*>(&error)) {
        return "EIdResponseTooLarge";
    }
    if (dynamic_cast<const EIdMalformedResponse*>(&error)) {
        return "EIdMalformedResponse";
    }
    if (dynamic_cast<const EIdInvalidURL*>(&error)) {
        return "EIdInvalidURL";
    }
    return "rtl::Exception";
}

} // namespace

Outcome Fetch(http::TIdHTTP& client, const std::string& url) {
    try {
        return Body(client.Get(url));
    } catch (const rtl::Exception& error) {
        return {KindOf(error), error.what()};
    }
}

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    std::string text = outcome.text;
    if (text.size() > 200) {
        text = text.substr(0, 200) + "...(" + std::to_string(outcome.text.size()) + " bytes)";
    }
    return out << outcome.kind << ": \"" << text << "\"";
}

} // namespace http_test
