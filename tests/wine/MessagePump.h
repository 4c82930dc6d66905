// Running the thread's messages from a test, the way the application's loop does.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

// Dispatches messages for the given time. True if a quit request arrived meanwhile.
bool PumpFor(std::chrono::milliseconds duration);
// Dispatches messages until `done` holds or the time is up; returns whether it holds.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// Runs `action` once, `delay` from now, from whatever message loop the thread is in then (the
// application's, a modal box's or a test's own).
void RunLater(std::chrono::milliseconds delay, std::function<void()> action);
// Drops the actions that have not run yet.
void CancelRunLater();
