#include "registry/boot_skip_win.h"

#include "registry/reg_win.h"
#include "schedule/notice.h"

namespace ts {

namespace {

// The minute the system started, in minutes since 1601 (UTC, so a change of time zone does not move it).
std::int64_t SystemStartMinute() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const std::uint64_t nowMs = ticks / 10000;
    return static_cast<std::int64_t>((nowMs - GetTickCount64()) / 60000);
}

}  // namespace

bool RememberBootSkip(PowerAction action, std::int32_t bootMinutes) {
    return WriteVolatileRegValue(kBootSkipRootKey, kBootSkipSubkey, Info(action).section,
                                 BootSkipText(bootMinutes, SystemStartMinute()), REG_SZ);
}

bool BootSkipRemembered(PowerAction action, std::int32_t bootMinutes) {
    if (bootMinutes <= 0) return false;
    DWORD type = REG_NONE;
    const std::string text = ReadRegValue(kBootSkipRootKey, kBootSkipSubkey, Info(action).section, type);
    return type == REG_SZ && BootSkipCovers(text, bootMinutes, SystemStartMinute());
}

}  // namespace ts
