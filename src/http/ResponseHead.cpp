#include "ResponseHead.h"

#include "Ascii.h"
#include "Errors.h"

#include <algorithm>
#include <cstdint>

namespace http {

namespace {

// The n-th (from 0) run of non-space bytes.
std::string_view WordAt(std::string_view line, int n) {
    std::size_t pos = 0;
    for (int index = 0;; ++index) {
        while (pos < line.size() && line[pos] == ' ') {
            ++pos;
        }
        if (pos == line.size()) {
            return {};
        }
        const std::size_t end = std::min(line.find(' ', pos), line.size());
        if (index == n) {
            return line.substr(pos, end - pos);
        }
        pos = end;
    }
}

bool SaysClose(const std::string* value) {
    return value != nullptr && EqualsIgnoreCase(TrimBlanks(*value), "close");
}

} // namespace

int StatusCodeOf(std::string_view statusLine) {
    const std::string_view word = WordAt(statusLine, 1);
    if (word.empty() || word.size() > 9) {
        return -1;
    }
    int code = 0;
    for (char c : word) {
        if (!IsDigit(c)) {
            return -1;
        }
        code = code * 10 + (c - '0');
    }
    return code;
}

std::optional<std::uint64_t> ContentLengthOf(const HeaderList& headers) {
    std::optional<std::uint64_t> length;
    for (const std::string& raw : headers.Values("Content-Length")) {
        const std::string_view digits = TrimBlanks(raw);
        if (digits.empty()) {
            throw EIdMalformedResponse("The time service sent an invalid Content-Length");
        }
        std::uint64_t value = 0;
        for (char c : digits) {
            if (!IsDigit(c)) {
                throw EIdMalformedResponse("The time service sent an invalid Content-Length");
            }
            const auto digit = static_cast<std::uint64_t>(c - '0');
            if (value > (UINT64_MAX - digit) / 10) {
                throw EIdResponseTooLarge("The time service's answer is too large");
            }
            value = value * 10 + digit;
        }
        if (length && *length != value) {
            throw EIdMalformedResponse("The time service sent conflicting Content-Length fields");
        }
        length = value;
    }
    return length;
}

bool ResponseHead::IsSuccess() const {
    return statusCode >= 200 && statusCode <= 299 && !headers.Has("Location");
}

bool ResponseHead::HasNoBody() const {
    return (statusCode >= 100 && statusCode <= 199) || statusCode == 204 || statusCode == 304;
}

bool ResponseHead::ClosesConnection() const {
    return SaysClose(headers.Find("Connection")) || SaysClose(headers.Find("Proxy-Connection"));
}

bool ResponseHead::IsChunked() const {
    const std::string* encoding = headers.Find("Transfer-Encoding");
    return encoding != nullptr && encoding->find("chunked") != std::string::npos;
}

} // namespace http
