#include "LogWatch.h"

#include "ProbeError.h"
#include "Utf8.h"

#include <vector>

namespace probe {

std::int64_t unixMicroseconds() {
    // FILETIME counts 100 ns steps since 1601-01-01; 11644473600 s lie between that and 1970.
    constexpr std::int64_t kUnixEpochInFileTime = 116444736000000000LL;
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const std::int64_t ticks =
        (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - kUnixEpochInFileTime) / 10;
}

LogWatch::LogWatch(const std::wstring& path, std::string text) : text_(std::move(text)) {
    if (text_.empty()) {
        throw ProbeError("nothing to watch the log for");
    }
    // The program keeps writing the file: share everything.
    file_ = CreateFileW(path.c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        throw ProbeError("cannot open the log " + toUtf8(path));
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size)) {
        CloseHandle(file_);
        throw ProbeError("cannot read the size of the log " + toUtf8(path));
    }
    offset_ = size.QuadPart;
}

LogWatch::~LogWatch() {
    CloseHandle(file_);
}

bool LogWatch::readNewBytes() {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size) || size.QuadPart <= offset_) {
        return false;
    }
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart - offset_));
    LARGE_INTEGER at{};
    at.QuadPart = offset_;
    DWORD read = 0;
    if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) ||
        !ReadFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return false;
    }
    offset_ += read;
    tail_.append(bytes.data(), read);
    if (tail_.find(text_) != std::string::npos) {
        return true;
    }
    if (tail_.size() >= text_.size()) {
        tail_.erase(0, tail_.size() - (text_.size() - 1));
    }
    return false;
}

bool LogWatch::waitFor(int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!readNewBytes()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

} // namespace probe
