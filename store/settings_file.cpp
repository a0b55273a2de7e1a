#include "store/settings_file.h"

#include "store/codepage.h"
#include "store/file_io.h"
#include "store/ini_text.h"

namespace ts {
namespace {

const char kFileName[] = "timer.ini";
const char kUnwritableEntry[] = "设置项含有不能写入设置文件的字符";

bool WriteEntries(const std::string& path, const std::string& section, const IniEntries& entries,
                  std::string* errorReason) {
    std::string old;
    // A file that exists but cannot be read must not be replaced by one built from nothing.
    if (ReadWholeFile(path, &old) == FileRead::Failed) {
        if (errorReason) *errorReason = LastSystemErrorText();
        return false;
    }
    IniEntries gbkEntries;
    gbkEntries.reserve(entries.size());
    for (const auto& entry : entries) gbkEntries.emplace_back(Utf8ToGbk(entry.first), Utf8ToGbk(entry.second));
    std::optional<std::string> changed = IniSetValues(old, Utf8ToGbk(section), gbkEntries);
    if (!changed) {
        if (errorReason) *errorReason = kUnwritableEntry;
        return false;
    }
    // Every value already in place: leave the file alone, as the profile functions do.
    if (*changed == old) return true;
    return ReplaceFileAtomically(path, *changed, errorReason);
}

}  // namespace

std::string SettingsFilePath(const std::string& exeDir) {
    // A drive root already ends in a separator (C:\).
    if (!exeDir.empty() && exeDir.back() == '\\') return exeDir + kFileName;
    return exeDir + "\\" + kFileName;
}

std::string GetIniString(const std::string& path, const std::string& section, const std::string& key) {
    std::string bytes;
    if (ReadWholeFile(path, &bytes) != FileRead::Read) return std::string();
    return GbkToUtf8(IniGetValue(bytes, Utf8ToGbk(section), Utf8ToGbk(key)));
}

std::int16_t WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& value) {
    return WriteEntries(path, section, IniEntries{{key, value}}, nullptr) ? 1 : 0;
}

bool WriteIniSection(const std::string& path, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& keysInOrder, std::string* errorReason) {
    return WriteEntries(path, section, keysInOrder, errorReason);
}

}  // namespace ts
