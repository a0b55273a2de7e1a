#include "power/shutdown_win.h"

namespace ts {

namespace {

constexpr wchar_t kTitle[] = L"定时关机";
constexpr std::uint32_t kPrivilegedBits = EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF;

// Closes the token through the same seam that opened it, on every path.
class TokenOwner {
public:
    TokenOwner(const PowerApi& api, HANDLE token) : api_(api), token_(token) {}
    ~TokenOwner() {
        if (token_) api_.closeHandle(token_);
    }
    TokenOwner(const TokenOwner&) = delete;
    TokenOwner& operator=(const TokenOwner&) = delete;

private:
    const PowerApi& api_;
    HANDLE token_;
};

}  // namespace

void clsShutdown::Tell(const wchar_t* message) {
    api_.messageBox(nullptr, message, kTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool clsShutdown::ShutDownNTbasedWindows(std::uint32_t mode) {
    const bool privileged = (mode & kPrivilegedBits) != 0;
    if (privileged && !EnableShutdownPrivilege(true)) {
        Tell(L"Das Privileg zum Herunterfahren/Neustarten des Systems konnte nicht aktiviert werden.");
        return false;
    }
    const bool accepted = ShutDownDOSbasedWindows(mode);
    if (privileged) EnableShutdownPrivilege(false);
    return accepted;
}

bool clsShutdown::ShutDownDOSbasedWindows(std::uint32_t mode) {
    if (api_.exitWindowsEx(mode, 0)) return true;
    Tell(L"Das System kann aufgrund eines Fehlers nicht heruntergefahren werden.");
    return false;
}

bool clsShutdown::EnableShutdownPrivilege(bool enable) {
    HANDLE token = nullptr;
    if (!api_.openProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
        Tell(L"Das Handle für den Accesstoken des aktuellen Prozesses konnte nicht erlangt werden.");
        return false;
    }
    TokenOwner owner(api_, token);
    TOKEN_PRIVILEGES privileges{};
    if (!api_.lookupPrivilegeValue(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        Tell(L"Der aktuelle LUID für das SE_SHUTDOWN-Privileg konnte nicht ermittelt werden konnte.");
        return false;
    }
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    if (!api_.adjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) {
        Tell(L"Das Privileg zum Herunterfahren des Systems konnte aus unbekanntem Grund nicht modifiziert werden.");
        return false;
    }
    return true;
}

}  // namespace ts
