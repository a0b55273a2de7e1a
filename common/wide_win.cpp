#include "common/wide_win.h"

#include <windows.h>

namespace ts {

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
    return out;
}

std::string Narrow(const wchar_t* utf16, std::size_t count) {
    if (count == 0) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(count), &out[0], n, nullptr, nullptr);
    return out;
}

std::string Narrow(const std::wstring& utf16) { return Narrow(utf16.data(), utf16.size()); }

}  // namespace ts
