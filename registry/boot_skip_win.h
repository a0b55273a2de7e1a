// Skipped minutes-after-start requests, kept for the rest of this start of the system in a volatile
// key of the user's registry: a program started again meanwhile must not fire one unannounced, and
// the key is gone once the system starts again.
#pragma once

#include <windows.h>

#include <cstdint>

#include "schedule/schedule.h"

namespace ts {

inline const HKEY kBootSkipRootKey = HKEY_CURRENT_USER;
inline constexpr char kBootSkipSubkey[] = "Software\\松汐定时关机";

// Remembers that the action's schedule of `bootMinutes` was skipped in this start of the system.
bool RememberBootSkip(PowerAction action, std::int32_t bootMinutes);

// Whether such a skip is remembered for this start of the system and these minutes.
bool BootSkipRemembered(PowerAction action, std::int32_t bootMinutes);

}  // namespace ts
