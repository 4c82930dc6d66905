// The texts of the default error display.
#include "ErrorText.h"

namespace rtl {

std::string MessageForDisplay(const std::string& message) {
    // Compared as unsigned bytes: every byte of a multi-byte character is above '.'.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + ".";
    }
    return message;
}

std::string ApplicationTitleFromExeName(const std::string& exePath) {
    const std::size_t lastSeparator = exePath.find_last_of("\\/");
    std::string title =
        lastSeparator == std::string::npos ? exePath : exePath.substr(lastSeparator + 1);
    const std::size_t firstDot = title.find('.');
    if (firstDot != std::string::npos) {
        title.erase(firstDot);
    }
    // The first character stays as it is; ASCII letters after it go to lower case. Bytes of
    // multi-byte characters are all above 0x7F and are left alone.
    for (std::size_t i = 1; i < title.size(); ++i) {
        if (title[i] >= 'A' && title[i] <= 'Z') {
            title[i] = static_cast<char>(title[i] - 'A' + 'a');
        }
    }
    return title;
}

} // namespace rtl
