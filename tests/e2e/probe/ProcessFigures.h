// Resource figures of another process, read from outside it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace probe {

// A figure is empty where the system does not tell it (Wine answers some of these calls with a
// stub that returns 0 and sets ERROR_CALL_NOT_IMPLEMENTED, or with 0 for "unknown").
struct ProcessFigures {
    std::optional<std::uint64_t> gdiObjects;
    std::optional<std::uint64_t> userObjects;
    std::optional<std::uint64_t> handles;
    std::optional<std::uint64_t> privateBytes;
    std::optional<std::uint64_t> workingSetBytes;
};

// Throws ProbeError when the process cannot be opened.
ProcessFigures readProcessFigures(DWORD processId);

} // namespace probe
