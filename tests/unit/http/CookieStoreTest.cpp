// The cookie store: which cookies are kept, which replace which, when they lapse, and which
// go back to the service.
#include "http/CookieStore.h"
#include "http/Errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::int64_t kNow = 1'700'000'000;

http::HeaderList SetCookies(const std::vector<std::string>& values,
                            const char* fieldName = "Set-Cookie") {
    http::HeaderList headers;
    for (const std::string& value : values) {
        headers.Add({fieldName, value});
    }
    return headers;
}

struct DomainCase {
    const char* setCookie;
    bool kept;
};

TEST(CookieStoreTest, KeptOnlyForTheHostOrItsParentDomain) {
    const DomainCase cases[] = {
        {"a=1; Path=/", true},
        {"a=1; Path=/; Domain=www.example.com", true},
        {"a=1; Path=/; Domain=WWW.Example.COM", true},
        {"a=1; Path=/; Domain=example.com", true},
        {"a=1; Path=/; Domain=.example.com", true},
        {"a=1; Path=/; Domain=com", false},
        {"a=1; Path=/; Domain=other.com", false},
        {"a=1; Path=/; Domain=sub.www.example.com", false},
        {"a=1; Path=/; Domain=ample.com", false},
    };
    for (const DomainCase& row : cases) {
        SCOPED_TRACE(row.setCookie);
        http::CookieStore store;
        store.TakeFromAnswer(SetCookies({row.setCookie}), "www.example.com", kNow);
        EXPECT_EQ(store.Cookies().size(), row.kept ? 1u : 0u);
    }
}

TEST(CookieStoreTest, WhatGoesBackInTheCookieField) {
    http::CookieStore store;
    store.TakeFromAnswer(
        SetCookies({"first=1; Path=/", "nopath=2", "deep=3; Path=/x", "empty=; Path=/",
                    "parent=4; Path=/; Domain=example.com", "spaced = five ; Path = / "}),
        "www.example.com", kNow);
    EXPECT_EQ(store.CookieFieldFor("www.example.com"), "first=1; parent=4; spaced=five");
    // The domain must occur in the host name, case ignored.
    EXPECT_EQ(store.CookieFieldFor("WWW.EXAMPLE.COM"), "first=1; parent=4; spaced=five");
    EXPECT_EQ(store.CookieFieldFor("api.example.com"), "parent=4");
    EXPECT_EQ(store.CookieFieldFor("elsewhere.org"), "");
}

TEST(CookieStoreTest, SameNameAndDomainReplacesInPlace) {
    http::CookieStore store;
    const std::string host = "www.example.com";
    store.TakeFromAnswer(
        SetCookies({"a=1; Path=/", "b=2; Path=/", "a=3; Path=/; Domain=example.com"}), host, kNow);
    store.TakeFromAnswer(SetCookies({"a=9; Path=/; Domain=WWW.example.com", "A=10; Path=/"}), host,
                         kNow);
    EXPECT_EQ(store.CookieFieldFor(host), "a=9; b=2; a=3; A=10");
}

TEST(CookieStoreTest, ExpiredCookiesAreDropped) {
    http::CookieStore store;
    const std::string host = "h.example";
    store.TakeFromAnswer(
        SetCookies(
            {"session=s; Path=/", "short=1; Path=/; Max-Age=60",
             "dated=2; Path=/; Expires=Mon, 13 Nov 2023 00:00:00 GMT", // between the two drops
             "late=3; Path=/; Expires=Wed, 01 Jan 2200 00:00:00 GMT",
             "agewins=4; Path=/; Max-Age=10; Expires=Wed, 01 Jan 2200 00:00:00 GMT",
             "past=5; Path=/; Expires=Thu, 01 Jan 1970 00:00:00 GMT",
             "badDate=6; Path=/; Expires=someday"}),
        host, kNow - 2 * 86400);
    EXPECT_EQ(store.CookieFieldFor(host),
              "session=s; short=1; dated=2; late=3; agewins=4; badDate=6");
    store.DropExpired(kNow - 2 * 86400 + 10);
    EXPECT_EQ(store.CookieFieldFor(host), "session=s; short=1; dated=2; late=3; badDate=6");
    store.DropExpired(kNow);
    EXPECT_EQ(store.CookieFieldFor(host), "session=s; late=3; badDate=6");
    // Max-Age=0 deletes a kept cookie.
    store.TakeFromAnswer(SetCookies({"late=; Max-Age=0"}), host, kNow);
    EXPECT_EQ(store.CookieFieldFor(host), "session=s; badDate=6");
}

TEST(CookieStoreTest, SetCookie2CarriesSeveralCookies) {
    http::CookieStore store;
    store.TakeFromAnswer(
        SetCookies({"a=\"x,y\"; Version=1; Path=\"/\", b=2; Path=/; Version=1,  ,c"},
                   "Set-Cookie2"),
        "host", kNow);
    EXPECT_EQ(store.CookieFieldFor("host"), "a=\"x,y\"; b=2");
}

TEST(CookieStoreTest, SetCookieValueMayHoldCommasAndNoNamelessCookie) {
    http::CookieStore store;
    store.TakeFromAnswer(SetCookies({"list=a,b; Path=/", "=nameless; Path=/", "noequals; Path=/",
                                     "ctl=a\rb; Path=/"}),
                         "host", kNow);
    EXPECT_EQ(store.CookieFieldFor("host"), "list=a,b");
}

TEST(CookieStoreTest, BoundsFailTheWholeAnswer) {
    const std::string host = "host";
    auto many = [](int count, const std::string& prefix) {
        std::vector<std::string> values;
        for (int i = 0; i < count; ++i) {
            values.push_back(prefix + std::to_string(i) + "=v; Path=/");
        }
        return values;
    };
    http::CookieStore store;
    store.TakeFromAnswer(SetCookies(many(50, "a")), host, kNow);
    EXPECT_THROW(store.TakeFromAnswer(SetCookies(many(51, "b")), host, kNow),
                 http::EIdResponseTooLarge);
    store.TakeFromAnswer(SetCookies(many(50, "c")), host, kNow);
    store.TakeFromAnswer(SetCookies(many(50, "d")), host, kNow);
    EXPECT_EQ(store.Cookies().size(), 150u);
    EXPECT_THROW(store.TakeFromAnswer(SetCookies({"e=1; Path=/", "a0=new; Path=/"}), host, kNow),
                 http::EIdResponseTooLarge);
    EXPECT_EQ(store.Cookies().size(), 150u);
    EXPECT_EQ(store.Cookies().front().value, "v"); // nothing of the failed answer was taken
    // Replacing keeps the count, so it is still allowed.
    store.TakeFromAnswer(SetCookies({"a0=new; Path=/"}), host, kNow);
    EXPECT_EQ(store.Cookies().front().value, "new");

    http::CookieStore sizes;
    sizes.TakeFromAnswer(SetCookies({std::string(4096, 'n') + "=" + std::string(4096, 'v')}), host,
                         kNow);
    EXPECT_THROW(sizes.TakeFromAnswer(SetCookies({std::string(4097, 'n') + "=v"}), host, kNow),
                 http::EIdResponseTooLarge);
    EXPECT_THROW(sizes.TakeFromAnswer(SetCookies({"n=" + std::string(4097, 'v')}), host, kNow),
                 http::EIdResponseTooLarge);
    EXPECT_EQ(sizes.Cookies().size(), 1u);
}

} // namespace
