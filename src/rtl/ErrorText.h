// The texts of the default error display.
#pragma once

#include <string>

namespace rtl {

// The message as the error display shows it: a full stop is appended when the message is not
// empty and its last byte sorts after "." (any byte of a multi-byte character counts as after).
std::string MessageForDisplay(const std::string& message);

// The application's title from the executable's path (UTF-8): the file name without its
// directory, cut at its first ".", its first character unchanged and the rest in lower case.
std::string ApplicationTitleFromExeName(const std::string& exePath);

} // namespace rtl
