// Error classes of the program. Errors travel as C++ exceptions whose message is UTF-8 text;
// the form layer shows them with the default error display.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace rtl {

// Base of every error the program raises itself.
// The message is kept whole, NUL bytes included (a date-time text from the network may hold them).
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A value could not be converted: a date or time out of range, or an unreadable date-time text.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An operating-system call failed; the message is the system's own text for the error.
class EOSError : public Exception {
public:
    EOSError(const std::string& message, unsigned long errorCode)
        : Exception(message), errorCode_(errorCode) {}
    unsigned long ErrorCode() const { return errorCode_; }

private:
    unsigned long errorCode_;
};

inline constexpr const char* kInvalidDateEncode = "Invalid argument to date encode";
inline constexpr const char* kInvalidTimeEncode = "Invalid argument to time encode";

} // namespace rtl
