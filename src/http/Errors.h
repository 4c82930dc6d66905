// The errors of the HTTP client. All derive rtl::Exception and carry UTF-8 messages.
#pragma once

#include "rtl/Exceptions.h"

#include <chrono>
#include <string>
#include <utility>

namespace http {

// A socket call failed. The number is Winsock's number for the failure (on every platform) and
// the message reads "Socket Error # <number>\r\n<text>".
class EIdSocketError : public rtl::Exception {
public:
    EIdSocketError(int errorCode, const std::string& message)
        : rtl::Exception(message), errorCode_(errorCode) {}
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

// The service closed the connection where more of the answer was due.
class EIdConnClosedGracefully : public rtl::Exception {
public:
    EIdConnClosedGracefully() : rtl::Exception("Connection Closed Gracefully.") {}
};

// The answer was read but is not a success. The message is the answer's status line exactly as
// received; the status code (-1 when the line carries no number) and the body (at most the kept
// part) come along.
class EIdHTTPProtocolException : public rtl::Exception {
public:
    EIdHTTPProtocolException(const std::string& statusLine, int statusCode, std::string body)
        : rtl::Exception(statusLine), statusCode_(statusCode), body_(std::move(body)) {}
    int ErrorCode() const { return statusCode_; }
    const std::string& ErrorMessage() const { return body_; }

private:
    int statusCode_;
    std::string body_;
};

// A status, header or chunk-size line is longer than the line limit.
class EIdReadLnMaxLineLengthExceeded : public rtl::Exception {
public:
    EIdReadLnMaxLineLengthExceeded() : rtl::Exception("Max line length exceeded.") {}
};

// The service stayed silent for too long.
class EIdReadTimeout : public rtl::Exception {
public:
    EIdReadTimeout() : rtl::Exception("Read Timeout") {}

protected:
    explicit EIdReadTimeout(const std::string& message) : rtl::Exception(message) {}
};

// The whole answer did not arrive within the answer deadline.
class EIdAnswerDeadlineExceeded : public EIdReadTimeout {
public:
    explicit EIdAnswerDeadlineExceeded(std::chrono::milliseconds deadline);
};

// The answer goes beyond one of the client's bounds on size or count.
class EIdResponseTooLarge : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// The answer breaks the message syntax where the client cannot go on safely (an unreadable
// Content-Length, broken chunked framing).
class EIdMalformedResponse : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// The URL is not an "http://host[:port][/path]" URL this client can fetch.
class EIdInvalidURL : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

} // namespace http
