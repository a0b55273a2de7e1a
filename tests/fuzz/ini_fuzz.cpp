// The settings file on any bytes: its encoding told from its mark or its contents, and its text written
// back unchanged; the INI reader on that text, and the writer's promises: a key set reads back as a
// clean file would give it, no other key changes, a section written in one pass equals the key-by-key
// writes, and a file with a mark keeps its encoding.
#include "store/ini_text.h"
#include "store/text_encoding.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

// Names as the reader compares them, folded byte by byte: names that read as one always fold alike, so
// different folds can never be the same key.
std::string Folded(const std::string& name) {
    std::string s = name.substr(0, name.find('\0'));
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    s = s.substr(begin, end - begin);
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::string section = in.ConsumeRandomLengthString(40);
    std::string key = in.ConsumeRandomLengthString(40);
    std::string value = in.ConsumeRandomLengthString(400);
    std::string otherSection = in.ConsumeRandomLengthString(40);
    std::string otherKey = in.ConsumeRandomLengthString(40);
    const std::string bytes = in.ConsumeRemainingBytesAsString();

    const ts::SettingsText file = ts::DecodeSettingsFile(bytes);
    const ts::IniChars chars = ts::CharsOf(file.encoding);
    if (file.refusal == ts::SaveRefusal::None) Check(ts::EncodeSettingsFile(file.text, file.encoding) == bytes);
    const std::string& text = file.text;

    std::string read = ts::IniGetValue(text, section, key, chars);
    Check(read.size() <= ts::kIniValueMaxBytes * (chars == ts::IniChars::Utf8 ? 2 : 1));
    std::string otherBefore = ts::IniGetValue(text, otherSection, otherKey, chars);
    // The reader that takes the text apart once agrees with the scan for one key.
    {
        const ts::IniReader reader(text, chars);
        Check(reader.Get(section, key) == read);
        Check(reader.Get(otherSection, otherKey) == otherBefore);
    }

    std::optional<std::string> written = ts::IniSetValue(text, section, key, value, chars);
    Check(written.has_value() == ts::IniCanWrite(section, key, value, chars));
    if (!written) return 0;

    // Read back as from a file that holds nothing else; a plain value comes back unchanged.
    std::string expected = ts::IniGetValue("[s]\r\nk=" + value + "\r\n", "s", "k", chars);
    Check(ts::IniGetValue(*written, section, key, chars) == expected);
    bool plain = value.size() <= ts::kIniValueMaxBytes && (value.empty() || (!IsBlank(value.front()) &&
                 !IsBlank(value.back()) && value.front() != '"' && value.front() != '\''));
    if (plain && chars == ts::IniChars::Gbk) Check(expected == value);

    if (Folded(otherSection) != Folded(section) || Folded(otherKey) != Folded(key)) {
        Check(ts::IniGetValue(*written, otherSection, otherKey, chars) == otherBefore);
    }

    // A file with a mark is written back in its encoding: the same text comes out of it again.
    const bool marked = file.encoding == ts::FileEncoding::Utf8Mark || file.encoding == ts::FileEncoding::Utf16LeMark ||
                        file.encoding == ts::FileEncoding::Utf16BeMark;
    const bool wellFormed = ts::IsValidUtf8(section) && ts::IsValidUtf8(key) && ts::IsValidUtf8(value);
    if (marked && file.refusal == ts::SaveRefusal::None &&
        (file.encoding == ts::FileEncoding::Utf8Mark || wellFormed)) {
        ts::SettingsText again = ts::DecodeSettingsFile(ts::EncodeSettingsFile(*written, file.encoding));
        Check(again.encoding == file.encoding);
        Check(again.text == *written);
    }

    // The one-pass section write against the same writes one by one, with a repeated key.
    ts::IniEntries entries = {{key, value}, {otherKey, "1"}, {key, ""}};
    std::optional<std::string> oneGo = ts::IniSetValues(text, section, entries, chars);
    if (oneGo) {
        std::string stepwise = text;
        for (const auto& entry : entries) stepwise = *ts::IniSetValue(stepwise, section, entry.first, entry.second, chars);
        Check(*oneGo == stepwise);
    }
    return 0;
}
