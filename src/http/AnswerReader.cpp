#include "AnswerReader.h"

#include "Errors.h"
#include "Limits.h"

#include <array>

namespace http {

AnswerEnd ReadAnswer(StreamSocket& stream, ResponseParser& parser, Clock::time_point deadline,
                     std::chrono::milliseconds deadlineLength,
                     const std::function<void(const ResponseHead&)>& onHead) {
    AnswerEnd end;
    bool headSeen = false;
    auto noticeHead = [&]() {
        if (!headSeen && parser.HeadComplete()) {
            headSeen = true;
            onHead(parser.Head());
        }
    };
    std::array<char, 16384> buffer;
    while (!parser.Complete()) {
        Clock::time_point until = deadline;
        bool silenceBound = false;
        if (parser.HeadComplete() && !parser.Head().IsSuccess()) {
            const Clock::time_point silenceEnd = Clock::now() + kFailedBodySilenceLimit;
            if (silenceEnd < deadline) {
                until = silenceEnd;
                silenceBound = true;
            }
        }
        const ReceiveResult got = stream.Receive(buffer.data(), buffer.size(), until);
        switch (got.kind) {
        case ReceiveResult::Kind::Data: {
            std::string_view data(buffer.data(), got.size);
            while (!data.empty() && !parser.Complete()) {
                data.remove_prefix(parser.Feed(data));
                noticeHead();
            }
            end.leftover = !data.empty();
            break;
        }
        case ReceiveResult::Kind::Closed:
            end.peerClosed = true;
            parser.FeedEnd();
            break;
        case ReceiveResult::Kind::TimedOut:
            if (silenceBound) {
                throw EIdReadTimeout();
            }
            throw EIdAnswerDeadlineExceeded(deadlineLength);
        }
        noticeHead();
    }
    return end;
}

} // namespace http
