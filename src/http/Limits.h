// The client's bounds on what it reads from a service, so that no answer can make it wait or
// allocate without end.
#pragma once

#include <chrono>
#include <cstddef>

namespace http {

// A status, header or chunk-size line, without its CR LF.
inline constexpr std::size_t kMaxLineLength = 16384;
// One header block (status line and header lines, terminators included).
inline constexpr std::size_t kMaxHeaderBlockBytes = 64 * 1024;
inline constexpr std::size_t kMaxHeaderLines = 100;
// "100 Continue" answers skipped in a row before the final one.
inline constexpr int kMaxInterimAnswers = 5;
inline constexpr std::size_t kMaxChunkSizeDigits = 16;
// Body bytes kept in memory.
inline constexpr std::size_t kMaxBodyBytes = 64 * 1024;

inline constexpr std::size_t kMaxCookiesPerAnswer = 50;
inline constexpr std::size_t kMaxCookieNameOrValueBytes = 4096;
inline constexpr std::size_t kMaxStoredCookies = 150;

// The wait for the whole answer after the request went out.
inline constexpr std::chrono::milliseconds kDefaultAnswerDeadline{10'000};
// The longest silence while the body of a failed answer is read.
inline constexpr std::chrono::milliseconds kFailedBodySilenceLimit{2'000};
// How long an idle kept-alive connection is polled before it is used again.
inline constexpr std::chrono::milliseconds kReusePoll{1};

} // namespace http
