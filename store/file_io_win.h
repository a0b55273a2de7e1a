// How a save puts its finished temporary file in place of an existing file. For the tests, which run
// under Wine and would otherwise never reach the Windows way.
#pragma once

#include <string>

namespace ts {

enum class Replacement {
    WithReplaceFile,  // ReplaceFileW: the file keeps its attributes, ACL and streams
    WithRename,       // MoveFileExW over it: the temporary file already carries the attributes
};

// ReplaceFileW, except under Wine: its ReplaceFileW moves the old file aside before it moves the new
// one in, so a crash between the two leaves no settings file at all, while its rename is atomic.
Replacement ReplacementOfThisSystem();

// SaveWholeFile with the given way of replacing an existing file.
bool SaveWholeFileWith(Replacement how, const std::string& path, const std::string& bytes, std::string* errorReason);

}  // namespace ts
