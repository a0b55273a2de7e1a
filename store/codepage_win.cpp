#include "store/codepage.h"

#include <windows.h>

#include "common/wide_win.h"

namespace ts {
namespace {

const UINT kGbk = 936;

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    std::wstring wide = Widen(utf8);
    if (wide.empty()) return std::string();
    int size = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(kGbk, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kGbk, 0, wide.data(), size, &out[0], n, nullptr, nullptr);
    return out;
}

std::string GbkToUtf8(const std::string& gbk) {
    if (gbk.empty()) return std::string();
    int size = static_cast<int>(gbk.size());
    int n = MultiByteToWideChar(kGbk, 0, gbk.data(), size, nullptr, 0);
    if (n <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(kGbk, 0, gbk.data(), size, &wide[0], n);
    return Narrow(wide);
}

}  // namespace ts
