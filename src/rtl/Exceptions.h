// Error classes of the program. Errors travel as C++ exceptions whose message is UTF-8 text;
// the form layer shows them with the default error display.
#pragma once

#include <stdexcept>
#include <string>

namespace rtl {

// Base of every error the program raises itself.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
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
