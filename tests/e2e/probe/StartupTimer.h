// Times how long a program takes from the start of its process to its first shown window.
#pragma once

#include <string>
#include <vector>

namespace probe {

struct StartupRun {
    double milliseconds = 0;
    unsigned long exitCode = 0;
};

// Starts the command line, waits until the process shows a top-level window, closes that window
// with WM_CLOSE and waits for the process to end. Throws ProbeError when no window shows within
// the time-out or the process does not end after the close.
StartupRun timeStartup(const std::wstring& commandLine, int timeoutMs);

double median(std::vector<double> values);

} // namespace probe
