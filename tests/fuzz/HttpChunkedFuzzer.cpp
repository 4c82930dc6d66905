// Fuzzes the chunked body decoder, fed in reads of a size set by the first byte. It must decode
// or throw one of the client's errors, the same however the bytes are cut, and keep the body
// within its bound.
#include "http/ChunkedDecoder.h"
#include "http/Errors.h"
#include "http/Limits.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "broken property: %s\n", what);
    std::abort();
}

std::string Decode(std::string_view bytes, std::size_t readSize) {
    http::ChunkedDecoder decoder;
    http::BodyBuffer body;
    std::size_t leftover = 0;
    try {
        while (!bytes.empty()) {
            std::string_view read = bytes.substr(0, readSize);
            bytes.remove_prefix(read.size());
            if (!decoder.Done()) {
                decoder.Feed(read, body);
            }
            leftover += read.size();
        }
    } catch (const rtl::Exception& error) {
        return std::string("error|") + error.what();
    }
    if (body.Bytes().size() > http::kMaxBodyBytes) {
        Broken("a body beyond its bound");
    }
    return (decoder.Done() ? "done|" : "open|") + body.Bytes() + "|" + std::to_string(leftover);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t readSize = data[0] % 32 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    if (Decode(bytes, readSize) != Decode(bytes, bytes.size() + 1)) {
        Broken("the outcome depends on how the bytes are cut into reads");
    }
    return 0;
}
