#include "CookieParser.h"

#include "Ascii.h"
#include "CookieDate.h"

namespace http {

namespace {

// The parts of text between separators; with honourQuotes, separators inside double quotes do
// not count.
std::vector<std::string_view> Split(std::string_view text, char separator, bool honourQuotes) {
    std::vector<std::string_view> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"' && honourQuotes) {
            quoted = !quoted;
        } else if (text[i] == separator && !quoted) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string_view Unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

bool HasControlCharacter(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

// "Max-Age": optional "-" and digits; a huge number saturates.
std::optional<std::int64_t> ParseMaxAge(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kCap = std::int64_t{1} << 40;
    for (char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value < kCap ? value * 10 + (c - '0') : kCap;
    }
    return negative ? -value : value;
}

std::optional<Cookie> ParseCookieParts(const std::vector<std::string_view>& parts,
                                       std::int64_t now) {
    const std::string_view pair = parts.front();
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    Cookie cookie;
    cookie.name = std::string(TrimBlanks(pair.substr(0, equals)));
    cookie.value = std::string(TrimBlanks(pair.substr(equals + 1)));
    if (cookie.name.empty() || HasControlCharacter(cookie.name) ||
        HasControlCharacter(cookie.value)) {
        return std::nullopt;
    }
    std::optional<std::int64_t> maxAge;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string_view attribute = parts[i];
        const std::size_t eq = attribute.find('=');
        const std::string_view name = TrimBlanks(attribute.substr(0, eq));
        const std::string_view value = eq == std::string_view::npos
                                           ? std::string_view{}
                                           : Unquoted(TrimBlanks(attribute.substr(eq + 1)));
        if (EqualsIgnoreCase(name, "Domain")) {
            std::string_view domain = value;
            if (!domain.empty() && domain.front() == '.') {
                domain.remove_prefix(1);
            }
            if (domain.empty()) {
                cookie.domain.reset();
            } else {
                cookie.domain = std::string(domain);
            }
        } else if (EqualsIgnoreCase(name, "Path")) {
            cookie.path = std::string(value);
        } else if (EqualsIgnoreCase(name, "Expires")) {
            if (const auto date = ParseCookieDate(value)) {
                cookie.expires = date;
            }
        } else if (EqualsIgnoreCase(name, "Max-Age")) {
            if (const auto seconds = ParseMaxAge(value)) {
                maxAge = seconds;
            }
        }
    }
    if (maxAge) {
        cookie.expires = now + *maxAge;
    }
    return cookie;
}

} // namespace

std::optional<Cookie> ParseSetCookie(std::string_view value, std::int64_t now) {
    return ParseCookieParts(Split(value, ';', false), now);
}

std::vector<Cookie> ParseSetCookie2(std::string_view value, std::int64_t now) {
    std::vector<Cookie> cookies;
    for (const std::string_view item : Split(value, ',', true)) {
        if (TrimBlanks(item).empty()) {
            continue;
        }
        if (auto cookie = ParseCookieParts(Split(item, ';', true), now)) {
            cookies.push_back(std::move(*cookie));
        }
    }
    return cookies;
}

} // namespace http
