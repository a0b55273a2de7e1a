#include "store/settings_file.h"

#include <utility>

#include "store/codepage.h"
#include "store/file_io.h"
#include "store/ini_text.h"

namespace ts {
namespace {

const char kFileName[] = "timer.ini";
const char kUnwritableEntry[] = "设置项含有不能写入设置文件的字符";
const char kUnclearEncoding[] = "无法确定设置文件是 UTF-8 还是 GBK 编码，为免把两种编码混在一个文件里，没有改动它";
const char kCutUtf16[] = "设置文件的 UTF-16 文字不完整（字节数为奇数），为免损坏，没有改动它";

// A name or value in the form the file's text holds.
std::string InFileForm(const std::string& utf8, FileEncoding encoding) {
    return encoding == FileEncoding::Gbk ? Utf8ToGbk(utf8) : utf8;
}

bool WriteEntries(const std::string& path, const std::string& section, const IniEntries& entries,
                  std::string* errorReason) {
    auto fail = [errorReason](const std::string& reason) {
        if (errorReason) *errorReason = reason;
        return false;
    };
    std::string old;
    // A file that exists but cannot be read must not be replaced by one built from nothing.
    if (ReadWholeFile(path, &old) == FileRead::Failed) return fail(LastSystemErrorText());
    // Every save clears what interrupted ones left, even one that finds nothing to change.
    RemoveLeftoverTemporaries(path);
    SettingsText file = DecodeSettingsFile(std::move(old));
    if (file.refusal == SaveRefusal::UnclearEncoding) return fail(kUnclearEncoding);
    if (file.refusal == SaveRefusal::CutUtf16) return fail(kCutUtf16);
    IniEntries converted;
    converted.reserve(entries.size());
    for (const auto& entry : entries) {
        converted.emplace_back(InFileForm(entry.first, file.encoding), InFileForm(entry.second, file.encoding));
    }
    std::optional<std::string> changed =
        IniSetValues(file.text, InFileForm(section, file.encoding), converted, CharsOf(file.encoding));
    if (!changed) return fail(kUnwritableEntry);
    // Every value already in place: leave the file alone, as the profile functions do.
    if (*changed == file.text) return true;
    return SaveWholeFile(path, EncodeSettingsFile(*changed, file.encoding), errorReason);
}

}  // namespace

std::string SettingsFilePath(const std::string& exeDir) {
    // A drive root already ends in a separator (C:\).
    if (!exeDir.empty() && exeDir.back() == '\\') return exeDir + kFileName;
    return exeDir + "\\" + kFileName;
}

namespace {

SettingsText ReadSettingsText(const std::string& path) {
    std::string bytes;
    if (ReadWholeFile(path, &bytes) != FileRead::Read) return SettingsText();
    return DecodeSettingsFile(std::move(bytes));
}

}  // namespace

SettingsSnapshot::SettingsSnapshot(const std::string& path)
    : file_(ReadSettingsText(path)), reader_(file_.text, CharsOf(file_.encoding)) {}

std::string SettingsSnapshot::Get(const std::string& section, const std::string& key) const {
    const FileEncoding encoding = file_.encoding;
    std::string value = reader_.Get(InFileForm(section, encoding), InFileForm(key, encoding));
    return encoding == FileEncoding::Gbk ? GbkToUtf8(value) : value;
}

std::string GetIniString(const std::string& path, const std::string& section, const std::string& key) {
    return SettingsSnapshot(path).Get(section, key);
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
