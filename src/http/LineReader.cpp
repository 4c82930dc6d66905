#include "LineReader.h"

#include "Errors.h"

namespace http {

std::optional<std::string> LineReader::Take(std::string_view& input) {
    const std::size_t end = input.find('\n');
    const std::string_view piece = input.substr(0, end);
    // One byte more than the limit may still be the CR before the LF.
    if (partial_.size() + piece.size() > maxLength_ + 1) {
        throw EIdReadLnMaxLineLengthExceeded();
    }
    partial_.append(piece);
    if (end == std::string_view::npos) {
        input.remove_prefix(input.size());
        if (partial_.size() == maxLength_ + 1 && partial_.back() != '\r') {
            throw EIdReadLnMaxLineLengthExceeded();
        }
        return std::nullopt;
    }
    input.remove_prefix(end + 1);
    std::string line = std::move(partial_);
    partial_.clear();
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.size() > maxLength_) {
        throw EIdReadLnMaxLineLengthExceeded();
    }
    return line;
}

} // namespace http
