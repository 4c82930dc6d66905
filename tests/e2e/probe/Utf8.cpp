#include "Utf8.h"

#include <windows.h>

namespace probe {

std::string toUtf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::wstring fromUtf8(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

namespace {

void writeLine(DWORD stream, std::string_view line) {
    HANDLE handle = GetStdHandle(stream);
    std::string bytes(line);
    bytes += '\n';
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

void printLine(std::string_view line) {
    writeLine(STD_OUTPUT_HANDLE, line);
}

void printLine(std::wstring_view line) {
    writeLine(STD_OUTPUT_HANDLE, toUtf8(line));
}

void printError(std::string_view line) {
    writeLine(STD_ERROR_HANDLE, line);
}

} // namespace probe
