// UTF-8 <-> UTF-16 at the Win32 boundary.
#pragma once

#include <string>

namespace ts {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
std::string Narrow(const wchar_t* utf16, std::size_t count);

}  // namespace ts
