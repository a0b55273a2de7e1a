// Whole-file reads and saves. Paths are UTF-8.
#pragma once

#include <string>

namespace ts {

enum class FileRead { Read, Missing, Failed };

// Reads the whole file into *bytes (cleared first). Missing: there is no such file.
FileRead ReadWholeFile(const std::string& path, std::string* bytes);

// Puts `bytes` in place of the file, or creates it. The new contents go to a temporary file beside it
// (see TempFileName), flushed, which then takes the file's place, so the file is always either wholly
// old or wholly new; an existing file keeps its attributes, permissions and streams. Two cases are
// written in place instead, flushed, as the profile functions would write them: a file with other
// hard links (a replacement would part them from it), and a folder where no new file can be made but
// the file itself may be written. A read-only file is refused. On failure the old file is left as it was, no temporary file stays,
// and *errorReason (if given) gets the system's message for the step that failed.
bool SaveWholeFile(const std::string& path, const std::string& bytes, std::string* errorReason);

// Removes the temporary files that saves interrupted by a crash or a power cut left beside the file.
void RemoveLeftoverTemporaries(const std::string& path);

// The system's message for the last error of the calling thread (GetLastError or errno), as UTF-8.
std::string LastSystemErrorText();

// The name of a save's temporary file beside `fileName`: "timer.ini.~<process>-<n>.tmp".
std::string TempFileName(const std::string& fileName, unsigned long process, unsigned long n);

// Whether `name` is such a temporary file of `fileName`, made by any process (ASCII case ignored).
bool IsTempFileOf(const std::string& name, const std::string& fileName);

}  // namespace ts
