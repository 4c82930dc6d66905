#include "TargetWindows.h"

#include "ProbeError.h"
#include "Utf8.h"

#include <algorithm>
#include <cwctype>

namespace probe {

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;
constexpr int kPollIntervalMs = 5;

bool sameTextIgnoringCase(const std::wstring& left, const std::wstring& right) {
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

template <typename Predicate> HWND poll(int timeoutMs, Predicate find) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (HWND found = find()) {
            return found;
        }
        if (GetTickCount64() >= deadline) {
            return nullptr;
        }
        Sleep(kPollIntervalMs);
    }
}

struct ChildSearch {
    std::wstring className;
    std::vector<WindowInfo> found;
};

BOOL CALLBACK collectChild(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ChildSearch*>(context);
    if (sameTextIgnoringCase(windowClass(window), search->className)) {
        search->found.push_back(describe(window));
    }
    return TRUE;
}

struct ProcessSearch {
    DWORD processId = 0;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProcessSearch*>(context);
    if (windowProcess(window) == search->processId) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> topWindowsOf(DWORD processId) {
    ProcessSearch search{processId, {}};
    EnumWindows(collectTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

std::wstring windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                             &length)) {
        throw ProbeError("the window does not answer WM_GETTEXTLENGTH");
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied)) {
        throw ProbeError("the window does not answer WM_GETTEXT");
    }
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::wstring windowClass(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<size_t>(std::max(length, 0)));
}

DWORD windowProcess(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

WindowInfo describe(HWND window) {
    WindowInfo info;
    info.handle = window;
    info.className = windowClass(window);
    info.text = windowText(window);
    GetWindowRect(window, &info.rect);
    info.visible = IsWindowVisible(window) != FALSE;
    return info;
}

HWND waitForTopWindow(const std::wstring& title, int timeoutMs) {
    return poll(timeoutMs, [&]() -> HWND {
        HWND window = FindWindowW(nullptr, title.c_str());
        return window != nullptr && IsWindowVisible(window) ? window : nullptr;
    });
}

bool waitForWindowGone(HWND window, int timeoutMs) {
    return poll(timeoutMs, [&]() -> HWND {
               return IsWindow(window) ? nullptr : reinterpret_cast<HWND>(1);
           }) != nullptr;
}

HWND visibleTopWindowOf(DWORD processId) {
    for (HWND window : topWindowsOf(processId)) {
        if (IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

std::vector<WindowInfo> childrenOfClass(HWND parent, const std::wstring& className) {
    ChildSearch search{className, {}};
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&search));
    std::stable_sort(search.found.begin(), search.found.end(),
                     [](const WindowInfo& a, const WindowInfo& b) {
                         if (a.rect.left != b.rect.left) {
                             return a.rect.left < b.rect.left;
                         }
                         return a.rect.top < b.rect.top;
                     });
    return search.found;
}

std::vector<WindowInfo> windowsOfProcess(DWORD processId) {
    std::vector<WindowInfo> windows;
    for (HWND window : topWindowsOf(processId)) {
        windows.push_back(describe(window));
    }
    // Message-only windows are children of HWND_MESSAGE and invisible to EnumWindows.
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr) {
        if (windowProcess(window) == processId) {
            windows.push_back(describe(window));
        }
    }
    return windows;
}

HWND waitForMessageBox(DWORD processId, int timeoutMs) {
    return poll(timeoutMs, [&]() -> HWND {
        for (HWND window : topWindowsOf(processId)) {
            if (IsWindowVisible(window) && windowClass(window) == L"#32770") {
                return window;
            }
        }
        return nullptr;
    });
}

std::wstring messageBoxText(HWND box) {
    std::wstring text;
    for (const WindowInfo& label : childrenOfClass(box, L"Static")) {
        if (label.text.empty()) {
            continue; // the icon
        }
        if (!text.empty()) {
            text += L'\n';
        }
        text += label.text;
    }
    return text;
}

} // namespace probe
