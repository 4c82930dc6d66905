// Byte-wise text helpers for protocol text, which is ASCII: case folding touches A-Z only.
#pragma once

#include <string>
#include <string_view>

namespace http {

inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

inline bool ContainsIgnoreCase(std::string_view haystack, std::string_view needle) {
    if (needle.size() > haystack.size()) {
        return false;
    }
    for (std::size_t start = 0; start + needle.size() <= haystack.size(); ++start) {
        if (EqualsIgnoreCase(haystack.substr(start, needle.size()), needle)) {
            return true;
        }
    }
    return false;
}

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Without spaces and tabs at either end.
inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace http
