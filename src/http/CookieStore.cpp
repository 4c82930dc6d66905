#include "CookieStore.h"

#include "Ascii.h"
#include "Errors.h"
#include "Limits.h"

#include <algorithm>

namespace http {

namespace {

bool DomainAllowedFor(std::string_view domain, std::string_view host) {
    if (EqualsIgnoreCase(domain, host)) {
        return true;
    }
    const std::size_t dot = host.find('.');
    return dot != std::string_view::npos && EqualsIgnoreCase(domain, host.substr(dot + 1));
}

std::vector<Cookie> CookiesOf(const HeaderList& headers, std::int64_t now) {
    std::vector<Cookie> cookies;
    auto add = [&cookies](Cookie cookie) {
        if (cookies.size() == kMaxCookiesPerAnswer) {
            throw EIdResponseTooLarge("The time service set too many cookies");
        }
        if (cookie.name.size() > kMaxCookieNameOrValueBytes ||
            cookie.value.size() > kMaxCookieNameOrValueBytes) {
            throw EIdResponseTooLarge("The time service set too large a cookie");
        }
        cookies.push_back(std::move(cookie));
    };
    for (const HeaderField& field : headers.Fields()) {
        if (EqualsIgnoreCase(field.name, "Set-Cookie")) {
            if (auto cookie = ParseSetCookie(field.value, now)) {
                add(std::move(*cookie));
            }
        } else if (EqualsIgnoreCase(field.name, "Set-Cookie2")) {
            for (Cookie& cookie : ParseSetCookie2(field.value, now)) {
                add(std::move(cookie));
            }
        }
    }
    return cookies;
}

void Remove(std::vector<Cookie>& cookies, std::int64_t now) {
    cookies.erase(std::remove_if(cookies.begin(), cookies.end(),
                                 [now](const Cookie& c) { return c.expires && *c.expires <= now; }),
                  cookies.end());
}

} // namespace

void CookieStore::TakeFromAnswer(const HeaderList& headers, const std::string& requestHost,
                                 std::int64_t now) {
    std::vector<Cookie> kept = cookies_;
    for (Cookie& cookie : CookiesOf(headers, now)) {
        if (!cookie.domain) {
            cookie.domain = requestHost;
        }
        if (!DomainAllowedFor(*cookie.domain, requestHost)) {
            continue;
        }
        const auto same = std::find_if(kept.begin(), kept.end(), [&cookie](const Cookie& old) {
            return old.name == cookie.name && EqualsIgnoreCase(*old.domain, *cookie.domain);
        });
        if (same != kept.end()) {
            *same = std::move(cookie);
        } else {
            kept.push_back(std::move(cookie));
        }
    }
    Remove(kept, now);
    if (kept.size() > kMaxStoredCookies) {
        throw EIdResponseTooLarge("The time service set too many cookies");
    }
    cookies_ = std::move(kept);
}

void CookieStore::DropExpired(std::int64_t now) {
    Remove(cookies_, now);
}

std::string CookieStore::CookieFieldFor(const std::string& requestHost) const {
    std::string field;
    for (const Cookie& cookie : cookies_) {
        if (cookie.value.empty() || cookie.path != "/" ||
            !ContainsIgnoreCase(requestHost, *cookie.domain)) {
            continue;
        }
        if (!field.empty()) {
            field += "; ";
        }
        field += cookie.name + "=" + cookie.value;
    }
    return field;
}

} // namespace http
