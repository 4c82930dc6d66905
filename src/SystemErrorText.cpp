#include "SystemErrorText.h"

#include "forms/WideText.h"

#include <memory>

namespace {

struct LocalMemoryRelease {
    void operator()(wchar_t* text) const { LocalFree(text); }
};

} // namespace

std::string SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalMemoryRelease> owned(buffer);
    std::wstring text =
        length != 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "System error " + std::to_string(code);
    }
    return forms::WideToUtf8(text);
}
