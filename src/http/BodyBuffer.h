// The body bytes of an answer, kept up to a limit. Beyond it a body that is to be returned fails
// (it would be cut); the body of a failed answer, which is only read to keep the connection in
// step, drops the rest.
#pragma once

#include "Limits.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace http {

class BodyBuffer {
public:
    enum class Overflow { Fail, Drop };

    explicit BodyBuffer(Overflow overflow = Overflow::Fail, std::size_t limit = kMaxBodyBytes)
        : overflow_(overflow), limit_(limit) {}

    // Throws EIdResponseTooLarge when the body would pass the limit and overflow is Fail.
    void Append(std::string_view bytes);
    // Checks, before any byte comes, that a body of the announced length can be taken.
    void Expect(std::uint64_t length) const;

    const std::string& Bytes() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }

private:
    Overflow overflow_;
    std::size_t limit_;
    std::string bytes_;
};

} // namespace http
