// Cookie expiry dates in the forms services write them.
#include "http/CookieDate.h"

#include <gtest/gtest.h>

namespace {

// 1994-11-06 08:49:37 UTC
constexpr std::int64_t k1994 = 784111777;

TEST(CookieDateTest, FormsInUse) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", k1994},
        {"Sunday, 06-Nov-94 08:49:37 GMT", k1994},
        {"Sun Nov  6 08:49:37 1994", k1994},
        {"Sun, 06-Nov-1994 08:49:37 GMT", k1994},
        {"06 nov 1994 8:49:37", k1994},
        {"Thu, 01 Jan 1970 00:00:00 GMT", 0},
        {"Thu, 01 Jan 70 00:00:01 GMT", 1},
        {"Tue, 01 Jan 2069 00:00:00 GMT", 3124224000},
        {"Tue, 01 Jan 69 00:00:00 GMT", 3124224000},
        {"Tue, 29 Feb 2000 23:59:59 GMT", 951868799},
        {"Fri, 31 Dec 9999 23:59:59 GMT", 253402300799},
    };
    for (const auto& [text, seconds] : cases) {
        EXPECT_EQ(http::ParseCookieDate(text), seconds) << text;
    }
}

TEST(CookieDateTest, NoDate) {
    for (const char* text :
         {"", "tomorrow", "Sun, 06 Nov 1994", "06 Nov 1994 25:00:00", "31 Feb 2021 00:00:00",
          "29 Feb 2100 00:00:00", "06 Xyz 1994 08:49:37", "06 Nov 1600 08:49:37",
          "06 Nov 19945 08:49:37", "123 Nov 1994 08:49:37", "06 Nov 1994 08:60:00"}) {
        EXPECT_EQ(http::ParseCookieDate(text), std::nullopt) << text;
    }
}

} // namespace
