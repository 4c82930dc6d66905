#include "MessagePump.h"

#include "forms/Application.h"

#include <map>

namespace {

bool DispatchPending() {
    bool quit = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        if (forms::Application != nullptr) {
            forms::Application->ProcessMessage(message);
        } else {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return quit;
}

std::map<UINT_PTR, std::function<void()>>& LaterActions() {
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
}

void CALLBACK RunLaterAction(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto found = LaterActions().find(id);
    if (found != LaterActions().end()) {
        std::function<void()> action = std::move(found->second);
        LaterActions().erase(found);
        action();
    }
}

} // namespace

bool PumpFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    bool quit = false;
    for (;;) {
        quit = DispatchPending() || quit;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return quit;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        PumpFor(std::chrono::milliseconds(10));
    }
    return true;
}

void RunLater(std::chrono::milliseconds delay, std::function<void()> action) {
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(delay.count()), &RunLaterAction);
    LaterActions()[id] = std::move(action);
}

void CancelRunLater() {
    for (const auto& [id, action] : LaterActions()) {
        KillTimer(nullptr, id);
    }
    LaterActions().clear();
}
