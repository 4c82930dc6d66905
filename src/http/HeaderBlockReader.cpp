#include "HeaderBlockReader.h"

#include "Errors.h"
#include "Limits.h"

namespace http {

bool HeaderBlockReader::Feed(std::string_view& input) {
    while (!complete_ && !input.empty()) {
        const std::size_t before = input.size();
        std::optional<std::string> line = lines_.Take(input);
        bytes_ += before - input.size();
        if (bytes_ > kMaxHeaderBlockBytes) {
            throw EIdResponseTooLarge("The time service's answer has too large a header");
        }
        if (!line) {
            break;
        }
        if (withStartLine_ && !haveStartLine_) {
            haveStartLine_ = true;
            startLine_ = std::move(*line);
        } else if (line->empty()) {
            complete_ = true;
        } else {
            if (++fieldLines_ > kMaxHeaderLines) {
                throw EIdResponseTooLarge("The time service's answer has too many header lines");
            }
            headers_.Add(ParseHeaderLine(*line));
        }
    }
    return complete_;
}

} // namespace http
