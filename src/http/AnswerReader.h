// Reads one answer from the connection into a parser, within the answer deadline; the body of a
// failed answer also within the silence limit.
#pragma once

#include "ResponseParser.h"
#include "SocketLayer.h"

#include <chrono>
#include <functional>

namespace http {

struct AnswerEnd {
    bool peerClosed = false; // the service closed the connection
    bool leftover = false;   // bytes came after the end of the answer
};

// Receives until the parser has a whole answer. onHead runs once, as soon as the head of the
// final answer is in. Throws EIdAnswerDeadlineExceeded when the answer is not complete by
// deadline (the message tells deadlineLength), EIdReadTimeout when the service stays silent
// for longer than the silence limit while a failed answer's body is read, and whatever the
// socket or the parser throws.
AnswerEnd ReadAnswer(StreamSocket& stream, ResponseParser& parser, Clock::time_point deadline,
                     std::chrono::milliseconds deadlineLength,
                     const std::function<void(const ResponseHead&)>& onHead);

} // namespace http
