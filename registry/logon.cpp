#include "registry/logon.h"

#include "common/text.h"
#include "registry/regdata.h"

namespace ts {

namespace {

std::string ExePath(const std::string& exeDir, const std::string& exeFileName) {
    std::string path = exeDir;
    if (Utf8Length(exeDir) != 3) path += '\\';
    std::size_t dot = exeFileName.rfind('.');
    path += dot == std::string::npos ? exeFileName : exeFileName.substr(0, dot);
    path += ".exe";
    return path;
}

}  // namespace

std::string LogonCommandLine(const std::string& exeDir, const std::string& exeFileName) {
    return '"' + ExePath(exeDir, exeFileName) + "\" /s";
}

bool LogonEntryMatches(const std::string& entryText, const std::string& exeDir, const std::string& exeFileName) {
    std::string text = CutAtNul(TrimBlanks(entryText));
    return text == LogonCommandLine(exeDir, exeFileName) || text == ExePath(exeDir, exeFileName) + " /s";
}

}  // namespace ts
