// The status line and header fields of an answer, and what they decide about the exchange.
#pragma once

#include "HeaderList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace http {

// The status code: the second blank-separated word of the status line read as a decimal number,
// or -1 when there is no such word or it is no number.
int StatusCodeOf(std::string_view statusLine);

// The announced body length: every "Content-Length" field must hold the same decimal digits.
// None when there is no such field. Throws EIdMalformedResponse for anything else and
// EIdResponseTooLarge for a number beyond 64 bits.
std::optional<std::uint64_t> ContentLengthOf(const HeaderList& headers);

struct ResponseHead {
    std::string statusLine;
    int statusCode = -1;
    HeaderList headers;

    // A status in the 200s and no "Location" field: anything else fails the exchange.
    bool IsSuccess() const;
    // 1xx, 204 and 304 answers never have a body.
    bool HasNoBody() const;
    // "Connection" or "Proxy-Connection" says "close".
    bool ClosesConnection() const;
    // "Transfer-Encoding" names "chunked" (in lower case).
    bool IsChunked() const;
};

} // namespace http
