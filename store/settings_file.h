// timer.ini beside the program: read and write keys, always in code page 936.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ts {

// The settings file's path for the program's directory.
std::string SettingsFilePath(const std::string& exeDir);

// The key's value as UTF-8, or "" for anything missing.
std::string GetIniString(const std::string& path, const std::string& section, const std::string& key);

// Writes one key; nonzero on success, 0 on failure with the old file intact.
std::int16_t WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& value);

// Writes several keys of one section in one atomic replacement of the file.
bool WriteIniSection(const std::string& path, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& keysInOrder, std::string* errorReason);

}  // namespace ts
