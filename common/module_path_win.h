// Where the running program lies: its directory and file name, as UTF-8.
#pragma once

#include <string>

namespace ts {

// Full path of the running executable.
std::string ExecutablePath();
// Its directory, without a trailing backslash except for a drive root such as C:\.
std::string ExecutableDirectory();
// Its file name with extension.
std::string ExecutableFileName();

}  // namespace ts
