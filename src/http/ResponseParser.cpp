#include "ResponseParser.h"

#include "Errors.h"
#include "Limits.h"

namespace http {

std::size_t ResponseParser::Feed(std::string_view bytes) {
    std::string_view input = bytes;
    while (state_ != State::Done && !input.empty()) {
        switch (state_) {
        case State::Head:
            if (headReader_.Feed(input)) {
                FinishHead();
                if (state_ != State::Head) {
                    // Let the caller look at the head before any body byte is taken.
                    return bytes.size() - input.size();
                }
            }
            break;
        case State::Length: {
            const std::size_t take =
                remaining_ < input.size() ? static_cast<std::size_t>(remaining_) : input.size();
            body_.Append(input.substr(0, take));
            input.remove_prefix(take);
            remaining_ -= take;
            if (remaining_ == 0) {
                state_ = State::Done;
            }
            break;
        }
        case State::Chunked:
            if (chunked_.Feed(input, body_)) {
                state_ = State::Done;
            }
            break;
        case State::UntilClose:
            body_.Append(input);
            input.remove_prefix(input.size());
            break;
        case State::Done:
            break;
        }
    }
    return bytes.size() - input.size();
}

void ResponseParser::FeedEnd() {
    switch (state_) {
    case State::Head:
        throw EIdConnClosedGracefully();
    case State::Length:
    case State::Chunked:
        if (head_.IsSuccess()) {
            throw EIdConnClosedGracefully();
        }
        state_ = State::Done;
        break;
    case State::UntilClose:
    case State::Done:
        state_ = State::Done;
        break;
    }
}

void ResponseParser::FinishHead() {
    const int code = StatusCodeOf(headReader_.StartLine());
    if (code == 100) {
        if (++interimAnswers_ > kMaxInterimAnswers) {
            throw EIdResponseTooLarge("The time service sent too many interim answers");
        }
        headReader_ = HeaderBlockReader(true);
        return;
    }
    head_.statusLine = headReader_.StartLine();
    head_.statusCode = code;
    head_.headers = headReader_.TakeHeaders();
    body_ = BodyBuffer(head_.IsSuccess() ? BodyBuffer::Overflow::Fail : BodyBuffer::Overflow::Drop);

    if (head_.HasNoBody()) {
        state_ = State::Done;
        return;
    }
    if (const std::optional<std::uint64_t> length = ContentLengthOf(head_.headers)) {
        body_.Expect(*length);
        remaining_ = *length;
        state_ = remaining_ == 0 ? State::Done : State::Length;
        return;
    }
    state_ = head_.IsChunked() ? State::Chunked : State::UntilClose;
}

} // namespace http
