// The answer parser as a pure function over bytes: the same answer however the bytes are cut
// into reads, what is left over, what the end of the connection means, and the small readers
// it is made of.
#include "http/ResponseParser.h"
#include "http/ChunkedDecoder.h"
#include "http/Errors.h"
#include "http/LineReader.h"
#include "http/ResponseHead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Feeds the pieces as reads from a socket would come; returns the bytes not taken.
std::string FeedPieces(http::ResponseParser& parser, const std::vector<std::string>& pieces) {
    std::string leftover;
    for (const std::string& piece : pieces) {
        std::string_view data = piece;
        while (!data.empty() && !parser.Complete()) {
            data.remove_prefix(parser.Feed(data));
        }
        leftover += data;
    }
    return leftover;
}

struct WholeAnswer {
    const char* name;
    std::string bytes;
    int status;
    std::string body;
};

TEST(ResponseParserTest, SameAnswerWhereverTheReadsAreCut) {
    const WholeAnswer answers[] = {
        {"length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nHello", 200, "Hello"},
        {"chunked with trailer",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
         "5\r\nHello\r\n1;x=y\r\n,\r\n6 \r\n world\r\n0\r\nT: 1\r\n\r\n",
         200, "Hello, world"},
        {"continue, then chunked",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 201 Created\r\nTransfer-Encoding: chunked\r\n\r\n"
         "3\r\nabc\r\n0\r\n\r\n",
         201, "abc"},
        {"bare LF line ends", "HTTP/1.1 404 Nope\nContent-Length: 2\n\nno", 404, "no"},
    };
    for (const WholeAnswer& answer : answers) {
        for (std::size_t cut = 0; cut <= answer.bytes.size(); ++cut) {
            SCOPED_TRACE(std::string(answer.name) + ", cut at " + std::to_string(cut));
            http::ResponseParser parser;
            const std::string leftover = FeedPieces(
                parser, {answer.bytes.substr(0, cut), answer.bytes.substr(cut) + "NEXT"});
            ASSERT_TRUE(parser.Complete());
            EXPECT_EQ(parser.Head().statusCode, answer.status);
            EXPECT_EQ(parser.Body(), answer.body);
            EXPECT_EQ(leftover, "NEXT");
        }
        SCOPED_TRACE(std::string(answer.name) + ", one byte at a time");
        std::vector<std::string> bytes;
        for (char c : answer.bytes) {
            bytes.emplace_back(1, c);
        }
        http::ResponseParser parser;
        EXPECT_EQ(FeedPieces(parser, bytes), "");
        ASSERT_TRUE(parser.Complete());
        EXPECT_EQ(parser.Body(), answer.body);
    }
}

TEST(ResponseParserTest, StopsAfterTheHeadSoThatItCanBeLookedAt) {
    http::ResponseParser parser;
    const std::string bytes = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc";
    const std::size_t taken = parser.Feed(bytes);
    EXPECT_EQ(taken, bytes.size() - 3);
    EXPECT_TRUE(parser.HeadComplete());
    EXPECT_FALSE(parser.Complete());
    EXPECT_EQ(parser.Feed(std::string_view(bytes).substr(taken)), 3u);
    EXPECT_TRUE(parser.Complete());
}

struct EndCase {
    const char* name;
    std::string bytes;
    bool fails; // with EIdConnClosedGracefully
    std::string body;
};

TEST(ResponseParserTest, WhatTheEndOfTheConnectionMeans) {
    const EndCase cases[] = {
        {"nothing", "", true, ""},
        {"half a status line", "HTTP/1.1 2", true, ""},
        {"status line without LF", "HTTP/1.1 200 OK", true, ""},
        {"headers not ended", "HTTP/1.1 200 OK\r\nA: b\r\n", true, ""},
        {"body until close", "HTTP/1.1 200 OK\r\n\r\nall of it", false, "all of it"},
        {"success cut short", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhalf", true, ""},
        {"chunked success cut short",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nhalf\r\n", true, ""},
        {"failure cut short", "HTTP/1.1 500 Oops\r\nContent-Length: 9\r\n\r\nhalf", false, "half"},
        {"complete answer", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", false, "ok"},
    };
    for (const EndCase& row : cases) {
        SCOPED_TRACE(row.name);
        http::ResponseParser parser;
        FeedPieces(parser, {row.bytes});
        if (row.fails) {
            EXPECT_THROW(parser.FeedEnd(), http::EIdConnClosedGracefully);
        } else {
            parser.FeedEnd();
            EXPECT_TRUE(parser.Complete());
            EXPECT_EQ(parser.Body(), row.body);
        }
    }
}

TEST(LineReaderTest, LimitCountsTheLineWithoutItsEnd) {
    const std::string atLimit(http::kMaxLineLength, 'x');
    {
        // The CR may arrive as the byte after the limit, and the LF in a later read.
        http::LineReader reader;
        std::string first = atLimit + "\r";
        std::string_view input = first;
        EXPECT_FALSE(reader.Take(input).has_value());
        std::string_view rest = "\nnext";
        EXPECT_EQ(reader.Take(rest), atLimit);
        EXPECT_EQ(rest, "next");
    }
    {
        // One byte more that is no CR fails at once, before any LF.
        http::LineReader reader;
        std::string over = atLimit + "y";
        std::string_view input = over;
        EXPECT_THROW(reader.Take(input), http::EIdReadLnMaxLineLengthExceeded);
    }
    {
        http::LineReader reader;
        std::string over = atLimit + "\r\r\n";
        std::string_view input = over;
        EXPECT_THROW(reader.Take(input), http::EIdReadLnMaxLineLengthExceeded);
    }
}

TEST(ResponseHeadTest, StatusCodeIsTheSecondWordReadAsANumber) {
    const std::pair<const char*, int> cases[] = {
        {"HTTP/1.1 200 OK", 200},      {"HTTP/1.0 404", 404},    {"  HTTP/1.1   302  x", 302},
        {"HTTP/1.1 2OO OK", -1},       {"HTTP/1.1", -1},         {"", -1},
        {"HTTP/1.1 -200 x", -1},       {"HTTP/1.1 +200 x", -1},  {"HTTP/1.1 0200 x", 200},
        {"HTTP/1.1 9999999999 x", -1}, {"HTTP/1.1\t200 OK", -1},
    };
    for (const auto& [line, code] : cases) {
        EXPECT_EQ(http::StatusCodeOf(line), code) << '"' << line << '"';
    }
}

TEST(ResponseHeadTest, ContentLength) {
    auto lengthOf = [](std::vector<std::string> values) {
        http::HeaderList headers;
        for (auto& value : values) {
            headers.Add({"content-length", value});
        }
        return http::ContentLengthOf(headers);
    };
    EXPECT_EQ(lengthOf({}), std::nullopt);
    EXPECT_EQ(lengthOf({" 42 "}), 42u);
    EXPECT_EQ(lengthOf({"7", "7"}), 7u);
    EXPECT_EQ(lengthOf({"18446744073709551615"}), UINT64_MAX);
    EXPECT_THROW(lengthOf({"18446744073709551616"}), http::EIdResponseTooLarge);
    for (const char* bad : {"", "4 2", "0x10", "-1", "+1", "1.0"}) {
        EXPECT_THROW(lengthOf({bad}), http::EIdMalformedResponse) << '"' << bad << '"';
    }
    EXPECT_THROW(lengthOf({"1", "2"}), http::EIdMalformedResponse);
}

TEST(ChunkedDecoderTest, ChunkSizeLines) {
    const std::pair<const char*, std::uint64_t> good[] = {
        {"0", 0},
        {"a", 10},
        {"Ff", 255},
        {"  1f  ", 31},
        {"10;name=value", 16},
        {"10 ; x", 16},
        {"FFFFFFFFFFFFFFFF", UINT64_MAX},
        {"0000000000000001", 1},
    };
    for (const auto& [line, size] : good) {
        EXPECT_EQ(http::ParseChunkSize(line), size) << line;
    }
    for (const char* bad : {"", ";x", "g", "1 2", "0x10", "-1"}) {
        EXPECT_THROW(http::ParseChunkSize(bad), http::EIdMalformedResponse) << '"' << bad << '"';
    }
    EXPECT_THROW(http::ParseChunkSize("00000000000000001"), http::EIdResponseTooLarge);
}

TEST(ChunkedDecoderTest, TrailersAreBounded) {
    http::ChunkedDecoder decoder;
    http::BodyBuffer body;
    std::string bytes = "0\r\n";
    for (int i = 0; i < 101; ++i) {
        bytes += "T: x\r\n";
    }
    std::string_view input = bytes;
    EXPECT_THROW(decoder.Feed(input, body), http::EIdResponseTooLarge);
}

} // namespace
