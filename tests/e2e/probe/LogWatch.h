// Watching a growing text file, such as a program's Wine log, for a line that is still to come,
// and the wall-clock time of those moments.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace probe {

// Microseconds since 1970-01-01 UTC, from the precise system clock (under Wine, the host's).
std::int64_t unixMicroseconds();

// Remembers where the file ends when it is made; waitFor then looks only at what is written
// after that point, so that an earlier occurrence of the text does not count.
class LogWatch {
public:
    // Throws ProbeError when the file cannot be opened.
    LogWatch(const std::wstring& path, std::string text);
    ~LogWatch();
    LogWatch(const LogWatch&) = delete;
    LogWatch& operator=(const LogWatch&) = delete;

    // Polls the file about every millisecond until the text has been appended; false on
    // time-out.
    bool waitFor(int timeoutMs);

private:
    bool readNewBytes();

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string text_;
    std::int64_t offset_ = 0;
    std::string tail_; // the last bytes read, so that a text split over two reads is found
};

} // namespace probe
