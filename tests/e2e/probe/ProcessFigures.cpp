#include "ProcessFigures.h"

#include "ProbeError.h"

#include <psapi.h>

namespace probe {

namespace {

struct ProcessHandle {
    HANDLE handle;
    explicit ProcessHandle(HANDLE h) : handle(h) {}
    ~ProcessHandle() {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
};

// Every process with a window holds GDI and USER objects, so 0 means the count is not told.
std::optional<std::uint64_t> guiResources(HANDLE process, DWORD kind) {
    const DWORD count = GetGuiResources(process, kind);
    if (count == 0) {
        return std::nullopt;
    }
    return count;
}

} // namespace

ProcessFigures readProcessFigures(DWORD processId) {
    ProcessHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (process.handle == nullptr) {
        throw ProbeError("cannot open process " + std::to_string(processId));
    }
    ProcessFigures figures;
    figures.gdiObjects = guiResources(process.handle, GR_GDIOBJECTS);
    figures.userObjects = guiResources(process.handle, GR_USEROBJECTS);
    DWORD handles = 0;
    if (GetProcessHandleCount(process.handle, &handles) && handles != 0) {
        figures.handles = handles;
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        if (memory.PrivateUsage != 0) {
            figures.privateBytes = memory.PrivateUsage;
        }
        if (memory.WorkingSetSize != 0) {
            figures.workingSetBytes = memory.WorkingSetSize;
        }
    }
    return figures;
}

} // namespace probe
