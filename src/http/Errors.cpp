#include "Errors.h"

namespace http {

namespace {

std::string DescribeDuration(std::chrono::milliseconds duration) {
    const long long ms = duration.count();
    if (ms % 1000 == 0) {
        const long long seconds = ms / 1000;
        return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
    }
    return std::to_string(ms) + (ms == 1 ? " millisecond" : " milliseconds");
}

} // namespace

EIdAnswerDeadlineExceeded::EIdAnswerDeadlineExceeded(std::chrono::milliseconds deadline)
    : EIdReadTimeout("The time service did not answer within " + DescribeDuration(deadline)) {}

} // namespace http
