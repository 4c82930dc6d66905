// winprobe: drives and reads the window of another program from outside its process, for the
// end-to-end tests and the benchmarks. Runs under Wine beside the program, in the same prefix.
//
//   winprobe wait          [target] [--timeout-ms N]   waits for the window; prints its process id
//   winprobe fields        [target]                    the texts of the EDIT controls, left to
//   right winprobe set-field     COLUMN TEXT [target]        writes an EDIT control's text
//   (WM_SETTEXT) winprobe click         CAPTION [COLUMN] [target] [--wait]
//                                                      BM_CLICK on the COLUMN-th button (counted
//                                                      left to right, from 1) with that caption;
//                                                      posted, or sent and waited for with --wait
//                              [--print-time]          prints clicked_at_us=T, the wall-clock time
//                                                      (Unix epoch, microseconds) taken right
//                                                      before the click is posted or sent
//                              [--await-log FILE --log-text TEXT]
//                                                      then waits (--timeout-ms) until TEXT is
//                                                      appended to FILE (a Windows path) and
//                                                      prints logged_at_us=T and
//                                                      click_to_log_us=N; exit code 2 if it is not
//   winprobe message-box   [target] [--timeout-ms N]   waits for a message box of the program;
//                                                      prints its caption, then its text
//   winprobe press-ok      [target] [--timeout-ms N]   presses the message box's OK button
//   winprobe close         [target] [--timeout-ms N]   WM_CLOSE to the window; waits until it is
//   gone winprobe windows       [target]                    every window of the program's process
//   winprobe figures       [target]                    GDI and USER objects, handles, memory
//   winprobe ticks         COUNT [target] [--timer-window main|CLASS] [--timer-id ID]
//                                 [--count-message MSG]
//                                                      sends COUNT WM_TIMER messages, each waited
//                                                      for, to the program's timer window
//   winprobe refresh-check [target] [--timer-window main|CLASS] [--timer-id ID]
//                                                      overwrites the last EDIT control, checks
//                                                      that it took the text, sends one WM_TIMER
//                                                      and checks that digits came back
//   winprobe startup       RUNS [--timeout-ms N] -- COMMAND-LINE...
//                                                      start-up time to the first shown window
//
// target: --title TITLE (default 时间工具) or --pid PID. Output is UTF-8. Exit codes: 0 done,
// 1 failed, 2 timed out.
#include "LogWatch.h"
#include "ProbeError.h"
#include "ProcessFigures.h"
#include "StartupTimer.h"
#include "TargetWindows.h"
#include "Utf8.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using probe::ProbeError;

constexpr int kExitFailed = 1;
constexpr int kExitTimedOut = 2;
constexpr UINT kAnswerTimeoutMs = 10000;

class TimedOut : public ProbeError {
public:
    using ProbeError::ProbeError;
};

// The command's words: positional ones in order, and --name value options.
struct Arguments {
    std::vector<std::wstring> positional;
    std::map<std::wstring, std::wstring> options;
    std::vector<std::wstring> flags;

    bool hasFlag(const std::wstring& name) const {
        for (const auto& flag : flags) {
            if (flag == name) {
                return true;
            }
        }
        return false;
    }
    std::wstring option(const std::wstring& name, const std::wstring& fallback) const {
        auto found = options.find(name);
        return found == options.end() ? fallback : found->second;
    }
    long number(const std::wstring& name, long fallback) const {
        auto found = options.find(name);
        return found == options.end() ? fallback : parseNumber(found->second);
    }
    static long parseNumber(const std::wstring& text) {
        wchar_t* end = nullptr;
        const long value = std::wcstol(text.c_str(), &end, 0);
        if (text.empty() || *end != L'\0') {
            throw ProbeError("not a number: " + probe::toUtf8(text));
        }
        return value;
    }
};

Arguments parseArguments(int argc, wchar_t** argv, int first) {
    static const std::vector<std::wstring> flagNames = {L"--wait", L"--print-time"};
    Arguments arguments;
    bool onlyPositional = false;
    for (int i = first; i < argc; ++i) {
        std::wstring word = argv[i];
        if (onlyPositional) {
            arguments.positional.push_back(word);
        } else if (word == L"--") {
            onlyPositional = true; // the rest is a command line of its own
        } else if (word.rfind(L"--", 0) == 0) {
            bool isFlag = false;
            for (const auto& name : flagNames) {
                isFlag = isFlag || name == word;
            }
            if (isFlag) {
                arguments.flags.push_back(word);
            } else if (i + 1 < argc) {
                arguments.options[word] = argv[++i];
            } else {
                throw ProbeError("option without value: " + probe::toUtf8(word));
            }
        } else {
            arguments.positional.push_back(word);
        }
    }
    return arguments;
}

int timeoutOf(const Arguments& arguments) {
    return static_cast<int>(arguments.number(L"--timeout-ms", 20000));
}

// The program's main window, by title or by process id.
HWND targetWindow(const Arguments& arguments, int timeoutMs) {
    HWND window = nullptr;
    const auto pid = arguments.options.find(L"--pid");
    if (pid != arguments.options.end()) {
        const DWORD processId = static_cast<DWORD>(Arguments::parseNumber(pid->second));
        const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
        while ((window = probe::visibleTopWindowOf(processId)) == nullptr &&
               GetTickCount64() < deadline) {
            Sleep(5);
        }
    } else {
        window = probe::waitForTopWindow(arguments.option(L"--title", L"时间工具"), timeoutMs);
    }
    if (window == nullptr) {
        throw TimedOut("the program's window did not show");
    }
    return window;
}

std::string hex(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(pointer)));
    return text;
}

HWND buttonAt(HWND window, const std::wstring& caption, long column) {
    std::vector<probe::WindowInfo> matching;
    for (const auto& button : probe::childrenOfClass(window, L"Button")) {
        if (button.text == caption) {
            matching.push_back(button);
        }
    }
    if (column < 1 || static_cast<size_t>(column) > matching.size()) {
        throw ProbeError("no button \"" + probe::toUtf8(caption) + "\" in column " +
                         std::to_string(column) + " (found " + std::to_string(matching.size()) +
                         ")");
    }
    return matching[static_cast<size_t>(column - 1)].handle;
}

HWND editAt(HWND window, long column) {
    const auto edits = probe::childrenOfClass(window, L"Edit");
    if (column < 1 || static_cast<size_t>(column) > edits.size()) {
        throw ProbeError("no text box in column " + std::to_string(column));
    }
    return edits[static_cast<size_t>(column - 1)].handle;
}

LRESULT sendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs,
                             &result)) {
        throw TimedOut("the program did not answer message " + std::to_string(message));
    }
    return static_cast<LRESULT>(result);
}

HWND timerWindow(HWND mainWindow, const Arguments& arguments) {
    const std::wstring which = arguments.option(L"--timer-window", L"main");
    if (which == L"main") {
        return mainWindow;
    }
    for (const auto& window : probe::windowsOfProcess(probe::windowProcess(mainWindow))) {
        if (window.className == which) {
            return window.handle;
        }
    }
    throw ProbeError("the program has no window of class " + probe::toUtf8(which));
}

int commandWait(const Arguments& arguments) {
    HWND window = targetWindow(arguments, timeoutOf(arguments));
    probe::printLine(std::to_string(probe::windowProcess(window)));
    return 0;
}

int commandFields(const Arguments& arguments) {
    HWND window = targetWindow(arguments, timeoutOf(arguments));
    for (const auto& edit : probe::childrenOfClass(window, L"Edit")) {
        probe::printLine(edit.text);
    }
    return 0;
}

int commandSetField(const Arguments& arguments) {
    if (arguments.positional.size() != 2) {
        throw ProbeError("usage: set-field COLUMN TEXT");
    }
    HWND window = targetWindow(arguments, timeoutOf(arguments));
    HWND edit = editAt(window, Arguments::parseNumber(arguments.positional[0]));
    sendAndWait(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arguments.positional[1].c_str()));
    return 0;
}

int commandClick(const Arguments& arguments) {
    if (arguments.positional.empty() || arguments.positional.size() > 2) {
        throw ProbeError("usage: click CAPTION [COLUMN]");
    }
    HWND window = targetWindow(arguments, timeoutOf(arguments));
    const long column =
        arguments.positional.size() == 2 ? Arguments::parseNumber(arguments.positional[1]) : 1;
    HWND button = buttonAt(window, arguments.positional[0], column);
    // The log's end is taken before the click, so that only what the click brings counts.
    std::unique_ptr<probe::LogWatch> watch;
    const std::wstring logPath = arguments.option(L"--await-log", L"");
    if (!logPath.empty()) {
        const std::wstring text = arguments.option(L"--log-text", L"");
        if (text.empty()) {
            throw ProbeError("--await-log needs --log-text");
        }
        watch = std::make_unique<probe::LogWatch>(logPath, probe::toUtf8(text));
    }
    LARGE_INTEGER frequency{};
    LARGE_INTEGER clickedTicks{};
    QueryPerformanceFrequency(&frequency);
    const std::int64_t clickedAt = probe::unixMicroseconds();
    QueryPerformanceCounter(&clickedTicks);
    if (arguments.hasFlag(L"--wait")) {
        sendAndWait(button, BM_CLICK, 0, 0);
    } else if (!PostMessageW(button, BM_CLICK, 0, 0)) {
        throw ProbeError("cannot post BM_CLICK");
    }
    // Printed only now, so that writing it is not part of the time it measures.
    if (arguments.hasFlag(L"--print-time")) {
        probe::printLine("clicked_at_us=" + std::to_string(clickedAt));
    }
    if (watch) {
        if (!watch->waitFor(timeoutOf(arguments))) {
            throw TimedOut("the log did not get the text after the click");
        }
        LARGE_INTEGER loggedTicks{};
        QueryPerformanceCounter(&loggedTicks);
        const std::int64_t loggedAt = probe::unixMicroseconds();
        const std::int64_t elapsed =
            (loggedTicks.QuadPart - clickedTicks.QuadPart) * 1000000 / frequency.QuadPart;
        probe::printLine("logged_at_us=" + std::to_string(loggedAt));
        probe::printLine("click_to_log_us=" + std::to_string(elapsed));
    }
    return 0;
}

int commandMessageBox(const Arguments& arguments) {
    const int timeoutMs = timeoutOf(arguments);
    HWND window = targetWindow(arguments, timeoutMs);
    HWND box = probe::waitForMessageBox(probe::windowProcess(window), timeoutMs);
    if (box == nullptr) {
        throw TimedOut("no message box showed");
    }
    probe::printLine(probe::windowText(box));
    probe::printLine(probe::messageBoxText(box));
    return 0;
}

int commandPressOk(const Arguments& arguments) {
    const int timeoutMs = timeoutOf(arguments);
    HWND window = targetWindow(arguments, timeoutMs);
    HWND box = probe::waitForMessageBox(probe::windowProcess(window), timeoutMs);
    if (box == nullptr) {
        throw TimedOut("no message box showed");
    }
    HWND ok = GetDlgItem(box, IDOK);
    if (ok != nullptr) {
        PostMessageW(ok, BM_CLICK, 0, 0);
    } else {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    if (!probe::waitForWindowGone(box, timeoutMs)) {
        throw TimedOut("the message box stayed after OK");
    }
    return 0;
}

int commandClose(const Arguments& arguments) {
    const int timeoutMs = timeoutOf(arguments);
    HWND window = targetWindow(arguments, timeoutMs);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!probe::waitForWindowGone(window, timeoutMs)) {
        throw TimedOut("the window stayed after WM_CLOSE");
    }
    return 0;
}

int commandWindows(const Arguments& arguments) {
    HWND window = targetWindow(arguments, timeoutOf(arguments));
    for (const auto& info : probe::windowsOfProcess(probe::windowProcess(window))) {
        probe::printLine(hex(info.handle) + " class=" + probe::toUtf8(info.className) +
                         " visible=" + (info.visible ? "1" : "0") +
                         " text=" + probe::toUtf8(info.text));
    }
    return 0;
}

int commandFigures(const Arguments& arguments) {
    HWND window = targetWindow(arguments, timeoutOf(arguments));
    const auto figures = probe::readProcessFigures(probe::windowProcess(window));
    const auto print = [](const char* name, const std::optional<std::uint64_t>& value) {
        probe::printLine(std::string(name) + "=" + (value ? std::to_string(*value) : "n/a"));
    };
    print("gdi_objects", figures.gdiObjects);
    print("user_objects", figures.userObjects);
    print("handles", figures.handles);
    print("private_bytes", figures.privateBytes);
    print("working_set_bytes", figures.workingSetBytes);
    return 0;
}

int commandTicks(const Arguments& arguments) {
    if (arguments.positional.size() != 1) {
        throw ProbeError("usage: ticks COUNT");
    }
    const long count = Arguments::parseNumber(arguments.positional[0]);
    HWND window = targetWindow(arguments, timeoutOf(arguments));
    HWND timer = timerWindow(window, arguments);
    const WPARAM timerId = static_cast<WPARAM>(arguments.number(L"--timer-id", 1));
    const UINT countMessage = static_cast<UINT>(arguments.number(L"--count-message", 0));
    const LRESULT before = countMessage != 0 ? sendAndWait(timer, countMessage, 0, 0) : 0;
    const ULONGLONG started = GetTickCount64();
    for (long i = 0; i < count; ++i) {
        sendAndWait(timer, WM_TIMER, timerId, 0);
    }
    const ULONGLONG elapsed = GetTickCount64() - started;
    probe::printLine("sent=" + std::to_string(count));
    probe::printLine("elapsed_ms=" + std::to_string(elapsed));
    if (countMessage != 0) {
        // The natural ticks of the elapsed time count too; the figure is at least the sent ones.
        probe::printLine("handled=" +
                         std::to_string(sendAndWait(timer, countMessage, 0, 0) - before));
    }
    return 0;
}

bool allDigits(const std::wstring& text) {
    if (text.empty()) {
        return false;
    }
    for (wchar_t c : text) {
        if (!std::iswdigit(c)) {
            return false;
        }
    }
    return true;
}

int commandRefreshCheck(const Arguments& arguments) {
    constexpr int kTries = 5;
    HWND window = targetWindow(arguments, timeoutOf(arguments));
    HWND timer = timerWindow(window, arguments);
    const WPARAM timerId = static_cast<WPARAM>(arguments.number(L"--timer-id", 1));
    const auto edits = probe::childrenOfClass(window, L"Edit");
    if (edits.empty()) {
        throw ProbeError("the window has no text box");
    }
    HWND edit = edits.back().handle;
    int refreshed = 0;
    for (int i = 0; i < kTries; ++i) {
        sendAndWait(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"--"));
        // Only a text that was really overwritten can show that the tick wrote it back.
        if (probe::windowText(edit) != L"--") {
            continue;
        }
        sendAndWait(timer, WM_TIMER, timerId, 0);
        if (allDigits(probe::windowText(edit))) {
            ++refreshed;
        }
    }
    probe::printLine("refreshed=" + std::to_string(refreshed) + "/" + std::to_string(kTries));
    return refreshed == kTries ? 0 : kExitFailed;
}

std::wstring quoted(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring::npos) {
        return word;
    }
    return L"\"" + word + L"\"";
}

int commandStartup(const Arguments& arguments) {
    if (arguments.positional.size() < 2) {
        throw ProbeError("usage: startup RUNS COMMAND-LINE...");
    }
    const long runs = Arguments::parseNumber(arguments.positional[0]);
    std::wstring commandLine;
    for (size_t i = 1; i < arguments.positional.size(); ++i) {
        commandLine += (i > 1 ? L" " : L"") + quoted(arguments.positional[i]);
    }
    std::vector<double> times;
    for (long run = 1; run <= runs; ++run) {
        const auto result = probe::timeStartup(commandLine, timeoutOf(arguments));
        char line[96];
        std::snprintf(line, sizeof line, "run=%ld startup_ms=%.1f exit_code=%lu", run,
                      result.milliseconds, result.exitCode);
        probe::printLine(line);
        times.push_back(result.milliseconds);
    }
    char line[64];
    std::snprintf(line, sizeof line, "median_ms=%.1f", probe::median(times));
    probe::printLine(line);
    return 0;
}

// A crash says what it was before the process ends: Wine itself stays silent about it while
// WINEDEBUG is -all.
LONG WINAPI reportCrash(EXCEPTION_POINTERS* exception) {
    char line[96];
    std::snprintf(line, sizeof line, "winprobe: crashed with exception 0x%08lx at %p",
                  static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode),
                  exception->ExceptionRecord->ExceptionAddress);
    probe::printError(line);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    static const std::map<std::wstring, int (*)(const Arguments&)> commands = {
        {L"wait", commandWait},
        {L"fields", commandFields},
        {L"set-field", commandSetField},
        {L"click", commandClick},
        {L"message-box", commandMessageBox},
        {L"press-ok", commandPressOk},
        {L"close", commandClose},
        {L"windows", commandWindows},
        {L"figures", commandFigures},
        {L"ticks", commandTicks},
        {L"refresh-check", commandRefreshCheck},
        {L"startup", commandStartup},
    };
    if (argc < 2 || commands.find(argv[1]) == commands.end()) {
        probe::printError("usage: winprobe COMMAND [ARGUMENTS] (see the head of WindowProbe.cpp)");
        return kExitFailed;
    }
    SetUnhandledExceptionFilter(reportCrash);
    try {
        return commands.at(argv[1])(parseArguments(argc, argv, 2));
    } catch (const TimedOut& error) {
        probe::printError(std::string("winprobe: ") + error.what());
        return kExitTimedOut;
    } catch (const std::exception& error) {
        probe::printError(std::string("winprobe: ") + error.what());
        return kExitFailed;
    }
}
