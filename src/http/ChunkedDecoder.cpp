#include "ChunkedDecoder.h"

#include "Ascii.h"
#include "Errors.h"
#include "Limits.h"

namespace http {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = AsciiLower(c);
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return -1;
}

[[noreturn]] void ThrowMalformed() {
    throw EIdMalformedResponse("The time service sent malformed chunked data");
}

} // namespace

std::uint64_t ParseChunkSize(std::string_view line) {
    line = TrimBlanks(line);
    std::size_t digits = 0;
    std::uint64_t size = 0;
    while (digits < line.size() && HexValue(line[digits]) >= 0) {
        if (digits == kMaxChunkSizeDigits) {
            throw EIdResponseTooLarge("The time service sent too large a chunk size");
        }
        size = size * 16 + static_cast<std::uint64_t>(HexValue(line[digits]));
        ++digits;
    }
    if (digits == 0) {
        ThrowMalformed();
    }
    const std::string_view rest = TrimBlanks(line.substr(digits));
    if (!rest.empty() && rest.front() != ';') {
        ThrowMalformed();
    }
    return size;
}

bool ChunkedDecoder::Feed(std::string_view& input, BodyBuffer& body) {
    while (state_ != State::Done && !input.empty()) {
        switch (state_) {
        case State::SizeLine: {
            const std::optional<std::string> line = lines_.Take(input);
            if (!line) {
                break;
            }
            remaining_ = ParseChunkSize(*line);
            body.Expect(remaining_);
            state_ = remaining_ == 0 ? State::Trailers : State::Data;
            break;
        }
        case State::Data: {
            const std::size_t take =
                remaining_ < input.size() ? static_cast<std::size_t>(remaining_) : input.size();
            body.Append(input.substr(0, take));
            input.remove_prefix(take);
            remaining_ -= take;
            if (remaining_ == 0) {
                state_ = State::DataEnd;
            }
            break;
        }
        case State::DataEnd: {
            const std::optional<std::string> line = lines_.Take(input);
            if (!line) {
                break;
            }
            if (!line->empty()) {
                ThrowMalformed();
            }
            state_ = State::SizeLine;
            break;
        }
        case State::Trailers:
            if (trailers_.Feed(input)) {
                state_ = State::Done;
            }
            break;
        case State::Done:
            break;
        }
    }
    return state_ == State::Done;
}

} // namespace http
