#include "Url.h"

#include "Ascii.h"
#include "Errors.h"

#include <string_view>

namespace http {

namespace {

[[noreturn]] void ThrowInvalid(const std::string& text) {
    throw EIdInvalidURL("Invalid URL: " + text);
}

} // namespace

Url ParseUrl(const std::string& text) {
    constexpr std::string_view kScheme = "http://";
    std::string_view rest = text;
    if (rest.size() < kScheme.size() ||
        !EqualsIgnoreCase(rest.substr(0, kScheme.size()), kScheme)) {
        ThrowInvalid(text);
    }
    rest.remove_prefix(kScheme.size());
    rest = rest.substr(0, rest.find('#'));

    const std::size_t pathStart = rest.find_first_of("/?");
    const std::string_view authority = rest.substr(0, pathStart);
    Url url;
    if (pathStart != std::string_view::npos) {
        const std::string_view path = rest.substr(pathStart);
        url.pathAndQuery = path.front() == '?' ? "/" : "";
        url.pathAndQuery.append(path);
    }
    if (authority.find_first_of("@[]") != std::string_view::npos) {
        ThrowInvalid(text);
    }
    const std::size_t colon = authority.find(':');
    url.host = std::string(authority.substr(0, colon));
    if (url.host.empty()) {
        ThrowInvalid(text);
    }
    if (colon != std::string_view::npos) {
        const std::string_view digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) {
            ThrowInvalid(text);
        }
        unsigned port = 0;
        for (char c : digits) {
            if (!IsDigit(c)) {
                ThrowInvalid(text);
            }
            port = port * 10 + static_cast<unsigned>(c - '0');
        }
        if (port == 0 || port > 65535) {
            ThrowInvalid(text);
        }
        url.port = static_cast<std::uint16_t>(port);
        url.explicitPort = true;
    }
    for (char c : url.host + url.pathAndQuery) {
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f) {
            ThrowInvalid(text);
        }
    }
    return url;
}

std::string HostFieldValue(const Url& url) {
    if (url.explicitPort && url.port != 80) {
        return url.host + ":" + std::to_string(url.port);
    }
    return url.host;
}

} // namespace http
