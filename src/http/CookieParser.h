// Reading the cookies that an answer sets: "Set-Cookie" fields (one cookie each, whose
// "Expires" date may hold commas) and "Set-Cookie2" fields (a comma-separated list). Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace http {

struct Cookie {
    std::string name;
    std::string value;
    std::optional<std::string> domain;   // the attribute, without a leading "."
    std::optional<std::string> path;     // the attribute as written
    std::optional<std::int64_t> expires; // Unix seconds; none for a cookie of the session
};

// The cookie of one "Set-Cookie" value: "name=value" and then attributes after ";". None when
// the value names no cookie (no "=", an empty name, or control characters that must never be
// sent back). "Max-Age" (seconds from now) wins over "Expires".
std::optional<Cookie> ParseSetCookie(std::string_view value, std::int64_t now);

// The cookies of one "Set-Cookie2" value; commas inside double quotes do not separate.
std::vector<Cookie> ParseSetCookie2(std::string_view value, std::int64_t now);

} // namespace http
