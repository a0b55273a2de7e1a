// Start-up decisions that need no window.
#pragma once

#include <string>

namespace ts {

// The argument text: what follows the program's own path on the command line, without the blanks between.
std::string ArgumentText(const std::string& commandLine);

// Only the exact text "/s" (as the logon entry passes it) starts the program with just its icon.
bool StartsHidden(const std::string& argumentText);

}  // namespace ts
