// Decodes a chunked body: chunks, each after its size in hexadecimal on a line of its own, up to
// a chunk of size 0, then trailer fields up to an empty line.
#pragma once

#include "BodyBuffer.h"
#include "HeaderBlockReader.h"
#include "LineReader.h"

#include <cstdint>
#include <string_view>

namespace http {

// The size on a chunk-size line: 1 to 16 hex digits, then nothing or blanks, or ";" and
// extensions, which are ignored. Throws EIdMalformedResponse, or EIdResponseTooLarge for more
// than 16 digits.
std::uint64_t ParseChunkSize(std::string_view line);

class ChunkedDecoder {
public:
    // Takes bytes from the front of input into body; returns true once the whole chunked body
    // has been read, leaving input at the first byte after it.
    bool Feed(std::string_view& input, BodyBuffer& body);
    bool Done() const { return state_ == State::Done; }

private:
    enum class State { SizeLine, Data, DataEnd, Trailers, Done };
    State state_ = State::SizeLine;
    std::uint64_t remaining_ = 0;
    LineReader lines_;
    HeaderBlockReader trailers_{false};
};

} // namespace http
