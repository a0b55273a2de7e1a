// The INI reader on any bytes, and the writer's promises: a key set reads back as a clean file would
// give it, no other key changes, and a section written in one pass equals the key-by-key writes.
#include "store/ini_text.h"

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
    std::string text = in.ConsumeRemainingBytesAsString();

    std::string read = ts::IniGetValue(text, section, key);
    Check(read.size() <= ts::kIniValueMaxBytes);
    std::string otherBefore = ts::IniGetValue(text, otherSection, otherKey);

    std::optional<std::string> written = ts::IniSetValue(text, section, key, value);
    Check(written.has_value() == ts::IniCanWrite(section, key, value));
    if (!written) return 0;

    // Read back as from a file that holds nothing else; a plain value comes back unchanged.
    std::string expected = ts::IniGetValue("[s]\r\nk=" + value + "\r\n", "s", "k");
    Check(ts::IniGetValue(*written, section, key) == expected);
    bool plain = value.size() <= ts::kIniValueMaxBytes && (value.empty() || (!IsBlank(value.front()) &&
                 !IsBlank(value.back()) && value.front() != '"' && value.front() != '\''));
    if (plain) Check(expected == value);

    if (Folded(otherSection) != Folded(section) || Folded(otherKey) != Folded(key)) {
        Check(ts::IniGetValue(*written, otherSection, otherKey) == otherBefore);
    }

    // The one-pass section write against the same writes one by one, with a repeated key.
    ts::IniEntries entries = {{key, value}, {otherKey, "1"}, {key, ""}};
    std::optional<std::string> oneGo = ts::IniSetValues(text, section, entries);
    if (oneGo) {
        std::string stepwise = text;
        for (const auto& entry : entries) stepwise = *ts::IniSetValue(stepwise, section, entry.first, entry.second);
        Check(*oneGo == stepwise);
    }
    return 0;
}
