// Cuts protocol lines out of a byte stream: a line ends at LF, and one CR before the LF is
// dropped. A line longer than the limit fails as soon as that is certain, so a service that
// never sends LF cannot make the reader grow.
#pragma once

#include "Limits.h"

#include <optional>
#include <string>
#include <string_view>

namespace http {

class LineReader {
public:
    explicit LineReader(std::size_t maxLength = kMaxLineLength) : maxLength_(maxLength) {}

    // Takes bytes from the front of input. Returns the line once its LF has come (input then
    // starts after it); otherwise keeps the partial line, empties input and returns nothing.
    // Throws EIdReadLnMaxLineLengthExceeded.
    std::optional<std::string> Take(std::string_view& input);

    bool HasPartialLine() const { return !partial_.empty(); }

private:
    std::size_t maxLength_;
    std::string partial_;
};

} // namespace http
