// Parses one answer from the bytes of the connection, as they come: the status line and header
// fields ("100 Continue" answers skipped), then the body by its framing: none, Content-Length,
// chunked, or up to the close of the connection. Pure: it never touches a socket.
#pragma once

#include "BodyBuffer.h"
#include "ChunkedDecoder.h"
#include "HeaderBlockReader.h"
#include "ResponseHead.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace http {

class ResponseParser {
public:
    // Takes bytes of the answer and returns how many it took: it stops after the head of the
    // final answer (so that the head can be looked at before the body) and at the end of the
    // answer; feed the rest again until Complete(). Takes at least one byte unless the answer
    // is complete or bytes is empty. Throws the client's errors for a broken or oversized answer.
    std::size_t Feed(std::string_view bytes);
    // The service closed the connection. Completes an answer whose body runs to the close;
    // throws EIdConnClosedGracefully when a status line, header or the body of a successful
    // answer was still due. The body of a failed answer may end early: it is never returned.
    void FeedEnd();

    bool HeadComplete() const { return state_ != State::Head; }
    bool Complete() const { return state_ == State::Done; }
    const ResponseHead& Head() const { return head_; }
    const std::string& Body() const { return body_.Bytes(); }
    std::string TakeBody() { return body_.Take(); }

private:
    enum class State { Head, Length, Chunked, UntilClose, Done };

    void FinishHead();

    State state_ = State::Head;
    int interimAnswers_ = 0;
    HeaderBlockReader headReader_{true};
    ResponseHead head_;
    BodyBuffer body_;
    std::uint64_t remaining_ = 0;
    ChunkedDecoder chunked_;
};

} // namespace http
