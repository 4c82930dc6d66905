// The smallest Win32 program with one shown window: the yardstick that the start-up and running
// costs of TimeTool.exe are measured against.
//
//   BareWindow.exe          one empty window, nothing else
//   BareWindow.exe --timer  the same window with a 200 ms timer whose ticks do nothing but count
//   BareWindow.exe --message-box
//                           the window, then an error message box (to try out the probe)
//
// The window answers WM_APP with the number of timer ticks it has handled, so that a probe can
// check that the ticks it drives from outside reach the handler.
#include <windows.h>

#include <cwchar>

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerIntervalMs = 200;
constexpr UINT kQueryTickCount = WM_APP;

LONG_PTR tickCount = 0;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimerId) {
            ++tickCount;
        }
        return 0;
    case kQueryTickCount:
        return tickCount;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool hasOption(const wchar_t* option) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    bool found = false;
    for (int i = 1; argv != nullptr && i < argc; ++i) {
        if (std::wcscmp(argv[i], option) == 0) {
            found = true;
        }
    }
    LocalFree(argv);
    return found;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    if (RegisterClassExW(&windowClass) == 0) {
        return 1;
    }
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Bare window",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 644,
                                  455, 442, 229, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    if (hasOption(L"--timer") && SetTimer(window, kTimerId, kTimerIntervalMs, nullptr) == 0) {
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    if (hasOption(L"--message-box")) {
        MessageBoxW(window, L"出错了。\r\n第二行", L"Bare", MB_OK | MB_ICONSTOP);
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
