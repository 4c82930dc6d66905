// Fuzzes the answer parser. The first byte sets the size of the reads the answer is cut into,
// the rest is what the service sends; the connection then ends. The parser must give an answer
// or throw one of the client's errors, and the same one however the bytes are cut; the body
// stays within its bound, and every call to Feed makes progress.
#include "http/Errors.h"
#include "http/Limits.h"
#include "http/ResponseParser.h"

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

// The answer as text ("status|body|leftover") or the error's message.
std::string Parse(std::string_view bytes, std::size_t readSize) {
    http::ResponseParser parser;
    std::size_t leftover = 0;
    try {
        while (!bytes.empty()) {
            std::string_view read = bytes.substr(0, readSize);
            bytes.remove_prefix(read.size());
            while (!read.empty() && !parser.Complete()) {
                const std::size_t taken = parser.Feed(read);
                if (taken == 0 || taken > read.size()) {
                    Broken("Feed made no progress or took more than it was given");
                }
                read.remove_prefix(taken);
            }
            leftover += read.size();
        }
        if (!parser.Complete()) {
            parser.FeedEnd();
        }
    } catch (const rtl::Exception& error) {
        return std::string("error|") + error.what();
    }
    if (!parser.Complete() || parser.Body().size() > http::kMaxBodyBytes) {
        Broken("an answer that is not complete, or a body beyond its bound");
    }
    return std::to_string(parser.Head().statusCode) + "|" + parser.Head().statusLine + "|" +
           parser.Body() + "|" + std::to_string(leftover);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t readSize = data[0] % 64 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    if (Parse(bytes, readSize) != Parse(bytes, bytes.size() + 1)) {
        Broken("the outcome depends on how the bytes are cut into reads");
    }
    return 0;
}
