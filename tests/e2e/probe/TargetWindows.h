// Finding and reading the windows of another process from outside it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace probe {

struct WindowInfo {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring text;
    RECT rect{}; // screen coordinates
    bool visible = false;
};

// The text of a window of any process, asked with WM_GETTEXT (GetWindowText does not ask another
// process's controls). Throws when the window's thread does not answer within a few seconds.
std::wstring windowText(HWND window);
std::wstring windowClass(HWND window);
DWORD windowProcess(HWND window);
WindowInfo describe(HWND window);

// Waits until a visible top-level window with this title exists; returns nullptr on time-out.
HWND waitForTopWindow(const std::wstring& title, int timeoutMs);
// Waits until the window no longer exists; false on time-out.
bool waitForWindowGone(HWND window, int timeoutMs);

// The first visible top-level window of the process, or nullptr.
HWND visibleTopWindowOf(DWORD processId);

// The direct and indirect child windows of the given class (case ignored), ordered left to right
// and then top to bottom.
std::vector<WindowInfo> childrenOfClass(HWND parent, const std::wstring& className);

// Every window of the process's threads: top-level ones, hidden ones and message-only ones.
std::vector<WindowInfo> windowsOfProcess(DWORD processId);

// Waits until the process shows a message box (a visible dialog of class #32770); nullptr on
// time-out.
HWND waitForMessageBox(DWORD processId, int timeoutMs);
// The texts of the message box's static controls, joined by line breaks.
std::wstring messageBoxText(HWND box);

} // namespace probe
