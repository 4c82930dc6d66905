// The bytes of the client's GET request.
#pragma once

#include "Url.h"

#include <string>

namespace http {

// The request line, then "Content-Type", "Host", "Accept" and "User-Agent", then "Cookie" when
// cookieValue is not empty, then the empty line; every line ends with CR LF.
std::string WriteGetRequest(const Url& url, const std::string& cookieValue);

} // namespace http
