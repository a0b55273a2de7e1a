// The logon entry's command line and the start-up test whether an entry names this copy. Pure.
#pragma once

#include <string>

namespace ts {

// "<dir>\<name>.exe" /s for the program's directory and file name, e.g. "D:\Tools\TimedShutdown.exe" /s.
// The path is quoted: unquoted, a path with a space makes Windows try C:\Program.exe first at logon.
// A drive root (3 characters, such as D:\) already ends in a backslash; the extension is always .exe.
std::string LogonCommandLine(const std::string& exeDir, const std::string& exeFileName);

// Whether an entry's text names this copy: blanks at both ends and everything from the first NUL are
// ignored, the rest must equal the command line exactly (letter case counts). An entry in the older
// unquoted form, D:\Tools\TimedShutdown.exe /s, names this copy too, so it is kept and rewritten.
bool LogonEntryMatches(const std::string& entryText, const std::string& exeDir, const std::string& exeFileName);

}  // namespace ts
