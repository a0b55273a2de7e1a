#include "registry/logon_win.h"

#include "common/module_path_win.h"
#include "registry/logon.h"
#include "registry/reg_win.h"

namespace ts {

std::string CurrentLogonCommandLine() { return LogonCommandLine(ExecutableDirectory(), ExecutableFileName()); }

bool LogonEntryMatchesThisProgram() {
    DWORD type = REG_SZ;
    std::string entry = ReadRegValue(kLogonRootKey, kLogonSubkey, kLogonValueName, type);
    return LogonEntryMatches(entry, ExecutableDirectory(), ExecutableFileName());
}

bool WriteLogonEntry() {
    return WriteRegValue(kLogonRootKey, kLogonSubkey, kLogonValueName, CurrentLogonCommandLine(), REG_SZ);
}

bool DeleteLogonEntry() {
    if (DeleteRegValue(kLogonRootKey, kLogonSubkey, kLogonValueName)) return true;
    return RegValueIsAbsent(kLogonRootKey, kLogonSubkey, kLogonValueName);
}

}  // namespace ts
