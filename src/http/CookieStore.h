// The client's cookies, in memory for the life of the client. Cookies are taken from the
// "Set-Cookie" and "Set-Cookie2" fields of every answer and sent back in a "Cookie" field.
#pragma once

#include "CookieParser.h"
#include "HeaderList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace http {

class CookieStore {
public:
    // Takes the cookies that an answer to a request for requestHost sets. A cookie is kept only
    // when its domain (its own, else the host) is the host or the host without its first label;
    // it replaces a kept cookie of the same name and domain. Throws EIdResponseTooLarge, taking
    // none of them, for more than 50 cookies in the answer, a name or value over 4 KiB, or more
    // than 150 cookies kept.
    void TakeFromAnswer(const HeaderList& headers, const std::string& requestHost,
                        std::int64_t now);

    // Forgets the cookies whose time has come.
    void DropExpired(std::int64_t now);

    // The "Cookie" value for a request to requestHost: "name=value" pairs joined by "; " of every
    // cookie with a value, whose domain occurs in the host name and whose path is "/". Empty
    // when none applies.
    std::string CookieFieldFor(const std::string& requestHost) const;

    // Every kept cookie, its domain filled in.
    const std::vector<Cookie>& Cookies() const { return cookies_; }

private:
    std::vector<Cookie> cookies_;
};

} // namespace http
