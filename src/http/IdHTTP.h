// The HTTP/1.1 client of the calibration button: one GET per call, a kept-alive connection and an
// in-memory cookie store that live as long as the client.
#pragma once

#include "SocketLayer.h"

#include <chrono>
#include <memory>
#include <string>

namespace http {

class CookieStore;
class Connection;

class TIdHTTP {
public:
    // Starts the socket library (WSAStartup on Windows); failing that throws rtl::Exception
    // "Error on loading Winsock2 library (WS2_32.DLL)..." or "Winsock Initialization Error.".
    TIdHTTP();
    // For tests: a socket layer of their choosing.
    explicit TIdHTTP(std::shared_ptr<SocketLayer> sockets);
    ~TIdHTTP();
    TIdHTTP(const TIdHTTP&) = delete;
    TIdHTTP& operator=(const TIdHTTP&) = delete;

    // Performs one GET of an "http://host[:port]/path" URL and returns the body, byte for byte.
    // Throws EIdSocketError, EIdConnClosedGracefully, EIdHTTPProtocolException,
    // EIdReadLnMaxLineLengthExceeded, EIdReadTimeout (EIdAnswerDeadlineExceeded when the whole
    // answer takes longer than the answer deadline), EIdResponseTooLarge, EIdMalformedResponse
    // or EIdInvalidURL (all rtl::Exception, see Errors.h).
    std::string Get(const std::string& url);

    // The bound on the wait for a whole answer after the request has gone out; 10 seconds
    // unless set.
    void SetAnswerDeadline(std::chrono::milliseconds deadline);

private:
    std::shared_ptr<SocketLayer> sockets_;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<CookieStore> cookies_;
    std::chrono::milliseconds answerDeadline_;
};

} // namespace http
