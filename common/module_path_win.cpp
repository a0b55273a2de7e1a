#include "common/module_path_win.h"

#include <windows.h>

#include <vector>

#include "common/wide_win.h"

namespace ts {

namespace {

std::wstring ModulePathW() {
    // Paths may exceed MAX_PATH with long-path support: grow until the name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::wstring();
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::size_t LastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/"); }

}  // namespace

std::string ExecutablePath() { return Narrow(ModulePathW()); }

std::string ExecutableDirectory() {
    std::wstring path = ModulePathW();
    std::size_t sep = LastSeparator(path);
    if (sep == std::wstring::npos) return std::string();
    // A drive root keeps its backslash (C:\); every other directory comes without one.
    std::wstring dir = path.substr(0, sep);
    if (dir.size() == 2 && dir[1] == L':') dir += L'\\';
    return Narrow(dir);
}

std::string ExecutableFileName() {
    std::wstring path = ModulePathW();
    std::size_t sep = LastSeparator(path);
    return Narrow(sep == std::wstring::npos ? path : path.substr(sep + 1));
}

}  // namespace ts
