// The program as a whole, run as a child process: its exit code after each close command, and
// the "Application Error" box and exit code 1 when start-up fails.
//
// Usage: ProgramExitTests <TimeTool.exe> <copy of the program without timers>
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

using namespace std::chrono_literals;

namespace {

std::wstring programPath;
std::wstring failingProgramPath;

// A path given in the host's form (/dir/file) becomes one of Wine's drive Z:.
std::wstring WindowsPath(const char* path) {
    std::wstring result;
    for (const char* p = path; *p != '\0'; ++p) {
        result += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    return path[0] == '/' ? L"Z:" + result : result;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// WM_GETTEXT itself: GetWindowTextW does not ask the controls of another process.
std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        nullptr);
    return text;
}

// A child process, ended by force if a test leaves it running.
class ChildProcess {
public:
    explicit ChildProcess(const std::wstring& path) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + path + L"\"";
        started_ = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, nullptr, &startup, &info_) != 0;
    }
    ~ChildProcess() {
        if (started_) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 99);
                WaitForSingleObject(info_.hProcess, 5000);
            }
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return started_; }

    // The first visible top-level window of the process that satisfies `wanted`.
    HWND WaitForWindow(const std::function<bool(HWND)>& wanted,
                       std::chrono::milliseconds timeout) const {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            if (HWND found = FindWindow(wanted)) {
                return found;
            }
            if (WaitForSingleObject(info_.hProcess, 50) == WAIT_OBJECT_0) {
                return nullptr;
            }
        }
        return nullptr;
    }

    HWND FindWindow(const std::function<bool(HWND)>& wanted) const {
        struct Search {
            DWORD processId;
            const std::function<bool(HWND)>* wanted;
            HWND found;
        } search{info_.dwProcessId, &wanted, nullptr};
        EnumWindows(
            [](HWND window, LPARAM parameter) -> BOOL {
                auto* s = reinterpret_cast<Search*>(parameter);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == s->processId && IsWindowVisible(window) && (*s->wanted)(window)) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // The exit code, or -1 if the process is still running after the timeout.
    long WaitForExit(std::chrono::milliseconds timeout) const {
        if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) !=
            WAIT_OBJECT_0) {
            return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<long>(code);
    }

    DWORD ThreadId() const { return info_.dwThreadId; }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

struct CloseCommand {
    const char* name;
    std::function<void(const ChildProcess&, HWND window)> send;
};

void PrintTo(const CloseCommand& command, std::ostream* out) {
    *out << command.name;
}

class ProgramExitTest : public ::testing::TestWithParam<CloseCommand> {};

TEST_P(ProgramExitTest, ClosingTheWindowEndsTheProgramWithCode0) {
    ChildProcess program(programPath);
    ASSERT_TRUE(program.Started()) << "could not start the program";
    HWND window = program.WaitForWindow([](HWND w) { return ClassOf(w) == L"TForm1"; }, 20s);
    ASSERT_NE(window, nullptr) << "the window did not appear";
    EXPECT_EQ(TextOf(window), L"时间工具");

    // The year field shows this year (the child reads the same clock).
    SYSTEMTIME now{};
    GetLocalTime(&now);
    HWND yearField = FindWindowExW(window, nullptr, L"Edit", nullptr);
    std::wstring yearText;
    for (HWND field = yearField; field != nullptr;
         field = FindWindowExW(window, field, L"Edit", nullptr)) {
        if (TextOf(field).size() == 4) {
            yearText = TextOf(field);
        }
    }
    EXPECT_EQ(yearText, std::to_wstring(now.wYear));

    GetParam().send(program, window);
    EXPECT_EQ(program.WaitForExit(10s), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCloseCommand, ProgramExitTest,
    ::testing::Values(
        CloseCommand{"WM_CLOSE", [](const ChildProcess&,
                                    HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }},
        CloseCommand{"SystemMenuClose",
                     [](const ChildProcess&, HWND window) {
                         PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                     }},
        CloseCommand{"AltF4",
                     [](const ChildProcess& program, HWND window) {
                         GUITHREADINFO thread{};
                         thread.cbSize = sizeof thread;
                         GetGUIThreadInfo(program.ThreadId(), &thread);
                         HWND focus = thread.hwndFocus != nullptr ? thread.hwndFocus : window;
                         const UINT scan = MapVirtualKeyW(VK_F4, MAPVK_VK_TO_VSC);
                         PostMessageW(focus, WM_SYSKEYDOWN, VK_F4, 1 | (scan << 16) | (1u << 29));
                     }}),
    [](const ::testing::TestParamInfo<CloseCommand>& info) { return info.param.name; });

std::wstring BoxText(HWND box) {
    std::wstring texts;
    for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr); child != nullptr;
         child = FindWindowExW(box, child, L"Static", nullptr)) {
        texts += TextOf(child);
    }
    return texts;
}

TEST(StartupFailureTest, NoTimerLeftShowsApplicationErrorAndEndsWithCode1) {
    ChildProcess program(failingProgramPath);
    ASSERT_TRUE(program.Started()) << "could not start the program";
    HWND box = program.WaitForWindow([](HWND w) { return TextOf(w) == L"Application Error"; }, 20s);
    ASSERT_NE(box, nullptr) << "no Application Error box";
    EXPECT_NE(BoxText(box).find(L"Not enough timers available."), std::wstring::npos);
    EXPECT_EQ(program.FindWindow([](HWND w) { return ClassOf(w) == L"TForm1"; }), nullptr)
        << "the window must not be shown";

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.WaitForExit(10s), 1);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ProgramExitTests <program> <program without timers>\n");
        return 2;
    }
    programPath = WindowsPath(argv[1]);
    failingProgramPath = WindowsPath(argv[2]);
    return RUN_ALL_TESTS();
}
