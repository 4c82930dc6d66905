// Reads one block of lines that ends with an empty line: a status line and its header fields,
// or the trailer fields after a chunked body. Bounded in bytes and in lines.
#pragma once

#include "HeaderList.h"
#include "LineReader.h"

#include <string>
#include <string_view>

namespace http {

class HeaderBlockReader {
public:
    // withStartLine: the first line is a status line, not a header field.
    explicit HeaderBlockReader(bool withStartLine) : withStartLine_(withStartLine) {}

    // Takes bytes from the front of input; returns true once the empty line has been read
    // (input then starts after it). Throws EIdReadLnMaxLineLengthExceeded or EIdResponseTooLarge.
    bool Feed(std::string_view& input);

    bool Complete() const { return complete_; }
    const std::string& StartLine() const { return startLine_; }
    const HeaderList& Headers() const { return headers_; }
    HeaderList TakeHeaders() { return std::move(headers_); }

private:
    bool withStartLine_;
    bool haveStartLine_ = false;
    bool complete_ = false;
    std::size_t bytes_ = 0;
    std::size_t fieldLines_ = 0;
    LineReader lines_;
    std::string startLine_;
    HeaderList headers_;
};

} // namespace http
