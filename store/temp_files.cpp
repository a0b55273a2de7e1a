#include "store/file_io.h"

#include <cstddef>

namespace ts {
namespace {

const char kTempMark[] = ".~";
const char kTempSuffix[] = ".tmp";

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const std::string& a, std::size_t at, const std::string& b) {
    if (at + b.size() > a.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (AsciiLower(a[at + i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

// One or more decimal digits from `i`; returns the position after them, or npos.
std::size_t SkipDigits(const std::string& s, std::size_t i) {
    std::size_t start = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    return i > start ? i : std::string::npos;
}

}  // namespace

std::string TempFileName(const std::string& fileName, unsigned long process, unsigned long n) {
    return fileName + kTempMark + std::to_string(process) + "-" + std::to_string(n) + kTempSuffix;
}

bool IsTempFileOf(const std::string& name, const std::string& fileName) {
    const std::string prefix = fileName + kTempMark;
    const std::string suffix = kTempSuffix;
    if (!SameIgnoringCase(name, 0, prefix)) return false;
    std::size_t i = SkipDigits(name, prefix.size());
    if (i == std::string::npos || i >= name.size() || name[i] != '-') return false;
    i = SkipDigits(name, i + 1);
    return i != std::string::npos && i + suffix.size() == name.size() && SameIgnoringCase(name, i, suffix);
}

}  // namespace ts
