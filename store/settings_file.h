// timer.ini beside the program: read and write keys. A file the program makes is code page 936; a file
// in UTF-8 or UTF-16 (see store/text_encoding.h) is read and written in its own encoding.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "store/ini_text.h"
#include "store/text_encoding.h"

namespace ts {

// The settings file's path for the program's directory.
std::string SettingsFilePath(const std::string& exeDir);

// The file read once, for a caller that reads many keys at one moment (start-up, a dialog opening): one
// consistent reading, and a large file is read once instead of once per key.
class SettingsSnapshot {
public:
    explicit SettingsSnapshot(const std::string& path);
    SettingsSnapshot(const SettingsSnapshot&) = delete;
    SettingsSnapshot& operator=(const SettingsSnapshot&) = delete;
    // The key's value as UTF-8, or "" for anything missing.
    std::string Get(const std::string& section, const std::string& key) const;

private:
    SettingsText file_;
    IniReader reader_;  // views into file_.text
};

// The key's value as UTF-8, or "" for anything missing.
std::string GetIniString(const std::string& path, const std::string& section, const std::string& key);

// Writes one key; nonzero on success, 0 on failure with the old file intact.
std::int16_t WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& value);

// Writes several keys of one section in one replacement of the file (see SaveWholeFile).
bool WriteIniSection(const std::string& path, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& keysInOrder, std::string* errorReason);

}  // namespace ts
