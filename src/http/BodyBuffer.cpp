#include "BodyBuffer.h"

#include "Errors.h"

namespace http {

namespace {

[[noreturn]] void ThrowTooLarge() {
    throw EIdResponseTooLarge("The time service's answer is too large");
}

} // namespace

void BodyBuffer::Append(std::string_view bytes) {
    const std::size_t room = limit_ - bytes_.size();
    if (bytes.size() > room) {
        if (overflow_ == Overflow::Fail) {
            ThrowTooLarge();
        }
        bytes = bytes.substr(0, room);
    }
    bytes_.append(bytes);
}

void BodyBuffer::Expect(std::uint64_t length) const {
    if (overflow_ == Overflow::Fail && length > limit_ - bytes_.size()) {
        ThrowTooLarge();
    }
}

} // namespace http
