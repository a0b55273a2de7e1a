// Asking Windows to power off or restart, with the shutdown privilege enabled around the request.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ts {

// The Win32 calls power control makes; tests replace them to force failures.
struct PowerApi {
    BOOL(WINAPI* openProcessToken)(HANDLE, DWORD, PHANDLE) = &OpenProcessToken;
    BOOL(WINAPI* lookupPrivilegeValue)(LPCWSTR, LPCWSTR, PLUID) = &LookupPrivilegeValueW;
    BOOL(WINAPI* adjustTokenPrivileges)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD) =
        &AdjustTokenPrivileges;
    BOOL(WINAPI* exitWindowsEx)(UINT, DWORD) = &ExitWindowsEx;
    BOOL(WINAPI* closeHandle)(HANDLE) = &CloseHandle;
    int(WINAPI* messageBox)(HWND, LPCWSTR, LPCWSTR, UINT) = &MessageBoxW;
};

class clsShutdown {
public:
    explicit clsShutdown(const PowerApi& api = PowerApi()) : api_(api) {}

    // `mode` goes to ExitWindowsEx unchanged; true when Windows accepted the request.
    bool ShutDownNTbasedWindows(std::uint32_t mode);
    // The bare request, without the privilege step.
    bool ShutDownDOSbasedWindows(std::uint32_t mode);

private:
    friend class PowerTestAccess;
    bool EnableShutdownPrivilege(bool enable);
    void Tell(const wchar_t* message);

    PowerApi api_;
};

}  // namespace ts
