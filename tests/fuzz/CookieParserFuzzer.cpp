// Fuzzes reading cookies and keeping them. The input is lines: the first is the request's host,
// each further line a header value, "Set-Cookie2" when it starts with "2", else "Set-Cookie";
// a line "--" ends one answer and starts the next. The store must keep within its bounds, send
// back only what it may, and never put a line break into the Cookie field.
#include "http/CookieDate.h"
#include "http/CookieStore.h"
#include "http/Errors.h"
#include "http/Limits.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "broken property: %s\n", what);
    std::abort();
}

constexpr std::int64_t kNow = 1'700'000'000;

void Check(const http::CookieStore& store, const std::string& host) {
    if (store.Cookies().size() > http::kMaxStoredCookies) {
        Broken("more cookies kept than allowed");
    }
    for (const http::Cookie& cookie : store.Cookies()) {
        if (cookie.name.empty() || cookie.name.size() > http::kMaxCookieNameOrValueBytes ||
            cookie.value.size() > http::kMaxCookieNameOrValueBytes || !cookie.domain) {
            Broken("a kept cookie without a name or domain, or too large");
        }
        if (cookie.expires && *cookie.expires <= kNow) {
            Broken("an expired cookie was kept");
        }
    }
    const std::string field = store.CookieFieldFor(host);
    if (field.find_first_of("\r\n") != std::string::npos || field.find('\0') != std::string::npos) {
        Broken("a control character in the Cookie field");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t firstEnd = input.find('\n');
    const std::string host(input.substr(0, firstEnd));
    input = firstEnd == std::string_view::npos ? std::string_view{} : input.substr(firstEnd + 1);

    http::CookieStore store;
    http::HeaderList answer;
    auto take = [&] {
        const std::size_t before = store.Cookies().size();
        try {
            store.TakeFromAnswer(answer, host, kNow);
        } catch (const http::EIdResponseTooLarge&) {
            if (store.Cookies().size() != before) {
                Broken("a failed answer changed the store");
            }
        }
        Check(store, host);
        answer = http::HeaderList();
    };
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view{} : input.substr(end + 1);
        if (line == "--") {
            take();
        } else if (!line.empty() && line.front() == '2') {
            answer.Add({"Set-Cookie2", std::string(line.substr(1))});
        } else {
            answer.Add({"Set-Cookie", std::string(line)});
        }
        (void)http::ParseCookieDate(line);
    }
    take();
    store.DropExpired(kNow + 86400);
    Check(store, host);
    return 0;
}
