// Reading the URL and writing the request bytes.
#include "http/Errors.h"
#include "http/RequestWriter.h"
#include "http/Url.h"

#include <gtest/gtest.h>

namespace {

struct UrlCase {
    const char* text;
    const char* host;
    int port;
    const char* pathAndQuery;
    const char* hostField;
};

TEST(UrlTest, PartsAndHostField) {
    const UrlCase cases[] = {
        {"http://timeservice.internal/getSysTime.do", "timeservice.internal", 80, "/getSysTime.do",
         "timeservice.internal"},
        {"http://127.0.0.1:8080/getSysTime.do", "127.0.0.1", 8080, "/getSysTime.do",
         "127.0.0.1:8080"},
        {"HTTP://Host.Example:80/a?b=c#frag", "Host.Example", 80, "/a?b=c", "Host.Example"},
        {"http://host", "host", 80, "/", "host"},
        {"http://host:65535?x=1", "host", 65535, "/?x=1", "host:65535"},
    };
    for (const UrlCase& row : cases) {
        SCOPED_TRACE(row.text);
        const http::Url url = http::ParseUrl(row.text);
        EXPECT_EQ(url.host, row.host);
        EXPECT_EQ(url.port, row.port);
        EXPECT_EQ(url.pathAndQuery, row.pathAndQuery);
        EXPECT_EQ(http::HostFieldValue(url), row.hostField);
    }
}

TEST(UrlTest, RejectsWhatItCannotFetch) {
    for (const char* text : {"https://host/", "host/path", "http://", "http://:80/", "http://h:0/",
                             "http://h:65536/", "http://h:8x/", "http://h:/", "http://u@h/",
                             "http://[::1]/", "http://h/a b", "http://h/\r\nX: y"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(http::ParseUrl(text), http::EIdInvalidURL);
    }
}

TEST(RequestWriterTest, ExactBytesWithAndWithoutCookies) {
    const http::Url url = http::ParseUrl("http://timeservice.internal/getSysTime.do");
    const std::string head = "GET /getSysTime.do HTTP/1.1\r\n"
                             "Content-Type: text/html\r\n"
                             "Host: timeservice.internal\r\n"
                             "Accept: text/html, */*\r\n"
                             "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n";
    EXPECT_EQ(http::WriteGetRequest(url, ""), head + "\r\n");
    EXPECT_EQ(http::WriteGetRequest(url, "a=1; b=2"), head + "Cookie: a=1; b=2\r\n\r\n");
}

} // namespace
