// Whole-file reads and atomic replacement. Paths are UTF-8.
#pragma once

#include <string>

namespace ts {

enum class FileRead { Read, Missing, Failed };

// Reads the whole file into *bytes (cleared first). Missing: there is no such file.
FileRead ReadWholeFile(const std::string& path, std::string* bytes);

// Puts `bytes` in place of the file, or creates it, through a temporary file in the same directory that
// is flushed and then renamed over the old one, so the file is always either wholly old or wholly new.
// On failure the temporary file is removed, the old file is left as it was, and *errorReason (if given)
// gets the system's message for the step that failed.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string* errorReason);

// The system's message for the last error of the calling thread (GetLastError or errno), as UTF-8.
std::string LastSystemErrorText();

}  // namespace ts
