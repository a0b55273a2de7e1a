// The logon entry behind the main window's 开机自动运行 box: a string value in the machine's Run key.
#pragma once

#include <windows.h>

#include <string>

namespace ts {

inline const HKEY kLogonRootKey = HKEY_LOCAL_MACHINE;
inline constexpr char kLogonSubkey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kLogonValueName[] = "松汐定时关机";

// The command line that starts this copy of the program with /s, its path in quotation marks.
std::string CurrentLogonCommandLine();

// Whether the entry exists and names this copy (also in the older unquoted form).
bool LogonEntryMatchesThisProgram();

// Writes the entry (REG_SZ, quoted form), creating the Run key when missing. False when refused.
bool WriteLogonEntry();

// Deletes the entry; the key stays. True also when there was no entry to delete, since the goal
// (no entry) is reached; false when an entry remains.
bool DeleteLogonEntry();

}  // namespace ts
