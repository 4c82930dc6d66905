#include "ProcessResources.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// GetGuiResources, or -1 where the system does not keep the count (Wine 8 answers 0 with
// ERROR_CALL_NOT_IMPLEMENTED).
long GuiResources(DWORD kind) {
    SetLastError(ERROR_SUCCESS);
    const DWORD count = GetGuiResources(GetCurrentProcess(), kind);
    if (count == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        return -1;
    }
    return count == 0 ? -1 : static_cast<long>(count);
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

BOOL CALLBACK CountOwnTopLevel(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<long*>(count);
        EnumChildWindows(window, &CountChild, count);
    }
    return TRUE;
}

// The process's windows: its top-level windows and all their descendants.
long ProcessWindows() {
    long count = 0;
    EnumWindows(&CountOwnTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Wine keeps each process's GDI objects in a handle table of the process's own, shaped as on
// Windows and reached from the PEB; a live object has a non-zero type.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr int kGdiHandleTableEntries = 0x10000;
#ifdef _WIN64
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8;
#else
constexpr std::size_t kPebGdiSharedHandleTable = 0x94;
#endif

long GdiHandleTableObjects() {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic,
                                  sizeof basic, nullptr) != 0 ||
        basic.PebBaseAddress == nullptr) {
        return -1;
    }
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const GdiHandleEntry* table = nullptr;
    std::memcpy(&table, peb + kPebGdiSharedHandleTable, sizeof table);
    if (table == nullptr) {
        return -1;
    }
    long count = 0;
    for (int i = 0; i < kGdiHandleTableEntries; ++i) {
        if (table[i].type != 0) {
            ++count;
        }
    }
    return count;
}

// The system-wide handle list (SystemHandleInformation), this process's entries counted.
struct SystemHandleEntry {
    ULONG ownerProcessId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct SystemHandleList {
    ULONG count;
    SystemHandleEntry handles[1];
};
constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

long SystemListHandles() {
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG length = 0;
        const NTSTATUS status = NtQuerySystemInformation(
            kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length);
        if (status == kInfoLengthMismatch) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) {
            return -1;
        }
        break;
    }
    SystemHandleList list{};
    std::memcpy(&list.count, buffer.data(), sizeof list.count);
    const auto* entries = reinterpret_cast<const SystemHandleEntry*>(
        buffer.data() + offsetof(SystemHandleList, handles));
    long count = 0;
    for (ULONG i = 0; i < list.count; ++i) {
        if (entries[i].ownerProcessId == GetCurrentProcessId()) {
            ++count;
        }
    }
    return count;
}

// GetProcessHandleCount, or -1 where it answers nothing (Wine 8 says 0 handles).
long HandleCountOfProcess() {
    DWORD count = 0;
    if (!GetProcessHandleCount(GetCurrentProcess(), &count) || count == 0) {
        return -1;
    }
    return static_cast<long>(count);
}

// The process's Linux process id under Wine, or -1 elsewhere. Wine runs the program as a Linux
// process of its own whose code may make Linux system calls (getpid is call 39 on x86-64).
// Z:\proc\self will not do: Wine's server opens files for the program, so "self" is the server.
long LinuxProcessId() {
#if defined(__x86_64__)
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) {
        return -1;
    }
    long pid = 0;
    __asm__ volatile("syscall" : "=a"(pid) : "a"(39L) : "rcx", "r11", "memory");
    return pid;
#else
    return -1;
#endif
}

// The entries of the process's /proc/PID/fd, as Wine shows the Linux root as drive Z:. The
// listing's own descriptor is among them, every time.
long OpenFileDescriptors(long pid) {
    const std::wstring pattern = L"Z:\\proc\\" + std::to_wstring(pid) + L"\\fd\\*";
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return -1;
    }
    long count = 0;
    do {
        if (entry.cFileName[0] != L'.') {
            ++count;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return count;
}

// VmRSS of /proc/PID/status, in KiB.
long ResidentKiB(long pid) {
    const std::wstring path = L"Z:\\proc\\" + std::to_wstring(pid) + L"\\status";
    std::FILE* status = _wfopen(path.c_str(), L"r");
    if (status == nullptr) {
        return -1;
    }
    long kib = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1) {
            break;
        }
    }
    std::fclose(status);
    return kib;
}

} // namespace

ProcessResources MeasureProcessResources() {
    ProcessResources resources;
    resources.userObjects = GuiResources(GR_USEROBJECTS);
    resources.userSource = "GetGuiResources";
    if (resources.userObjects < 0) {
        resources.userObjects = ProcessWindows();
        resources.userSource = "windows of the process";
    }
    resources.gdiObjects = GuiResources(GR_GDIOBJECTS);
    resources.gdiSource = "GetGuiResources";
    if (resources.gdiObjects < 0) {
        resources.gdiObjects = GdiHandleTableObjects();
        resources.gdiSource = "live entries of the GDI handle table";
    }
    resources.kernelHandles = HandleCountOfProcess();
    resources.handleSource = "GetProcessHandleCount";
    if (resources.kernelHandles < 0) {
        resources.kernelHandles = SystemListHandles();
        resources.handleSource = "the system's handle list";
    }
    const long pid = LinuxProcessId();
    if (pid > 0) {
        resources.fileDescriptors = OpenFileDescriptors(pid);
        resources.residentKiB = ResidentKiB(pid);
    }
    return resources;
}

std::string Describe(const ProcessResources& r) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "user objects %ld (%s), GDI objects %ld (%s), handles %ld (%s), file "
                  "descriptors %ld, resident %ld KiB",
                  r.userObjects, r.userSource.c_str(), r.gdiObjects, r.gdiSource.c_str(),
                  r.kernelHandles, r.handleSource.c_str(), r.fileDescriptors, r.residentKiB);
    return text;
}
