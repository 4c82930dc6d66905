#include "StartupTimer.h"

#include "ProbeError.h"
#include "TargetWindows.h"

#include <windows.h>

#include <algorithm>

namespace probe {

namespace {

class ProcessInfo {
public:
    PROCESS_INFORMATION info{};
    ProcessInfo() = default;
    ~ProcessInfo() {
        if (info.hThread != nullptr) {
            CloseHandle(info.hThread);
        }
        if (info.hProcess != nullptr) {
            CloseHandle(info.hProcess);
        }
    }
    ProcessInfo(const ProcessInfo&) = delete;
    ProcessInfo& operator=(const ProcessInfo&) = delete;
};

double elapsedMs(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

} // namespace

StartupRun timeStartup(const std::wstring& commandLine, int timeoutMs) {
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ProcessInfo process;
    LARGE_INTEGER started;
    QueryPerformanceCounter(&started);
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process.info)) {
        throw ProbeError("cannot start the program (error " + std::to_string(GetLastError()) + ")");
    }
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    HWND window = nullptr;
    LARGE_INTEGER shown;
    for (;;) {
        window = visibleTopWindowOf(process.info.dwProcessId);
        QueryPerformanceCounter(&shown);
        if (window != nullptr) {
            break;
        }
        if (WaitForSingleObject(process.info.hProcess, 0) == WAIT_OBJECT_0) {
            throw ProbeError("the program ended before it showed a window");
        }
        if (GetTickCount64() >= deadline) {
            TerminateProcess(process.info.hProcess, 1);
            throw ProbeError("the program showed no window in time");
        }
        Sleep(1);
    }
    StartupRun run;
    run.milliseconds = elapsedMs(started, shown);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.info.hProcess, static_cast<DWORD>(timeoutMs)) !=
        WAIT_OBJECT_0) {
        TerminateProcess(process.info.hProcess, 1);
        throw ProbeError("the program did not end after WM_CLOSE");
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.info.hProcess, &exitCode);
    run.exitCode = exitCode;
    return run;
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace probe
