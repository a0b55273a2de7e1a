// The settings file is always code page 936 (GBK), whatever the system's ANSI code page.
#pragma once

#include <string>

namespace ts {

// Text that has no GBK form becomes '?'; invalid UTF-8 too. Never throws.
std::string Utf8ToGbk(const std::string& utf8);

// Bytes that do not decode become U+FFFD (or the system's default character). Never throws.
std::string GbkToUtf8(const std::string& gbk);

}  // namespace ts
