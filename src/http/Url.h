// The parts of an "http://host[:port][/path[?query]][#fragment]" URL that a GET needs.
#pragma once

#include <cstdint>
#include <string>

namespace http {

struct Url {
    std::string host;
    std::uint16_t port = 80;
    bool explicitPort = false;
    std::string pathAndQuery = "/"; // what the request line asks for; the fragment is dropped
};

// Throws EIdInvalidURL for another scheme, an empty host, user information, an IPv6 literal or
// a port that is not a number from 1 to 65535.
Url ParseUrl(const std::string& text);

// The value of the "Host" field: the host name, with ":port" only when the URL names a port
// other than 80.
std::string HostFieldValue(const Url& url);

} // namespace http
