// UTF-8 text helpers for the logic layer. Pure: no <windows.h>.
#pragma once

#include <cstddef>
#include <string>

namespace ts {

// Number of characters (code points) in UTF-8 text; a Chinese character counts as one.
std::size_t Utf8Length(const std::string& s);

// The first `count` characters of UTF-8 text.
std::string Utf8Left(const std::string& s, std::size_t count);

// Cut to `width` characters, or pad on the right with blanks to exactly `width`.
std::string PadOrCut(const std::string& s, std::size_t width);

// Text without blanks at either end (only ' ', as the registry and list rules want).
std::string TrimBlanks(const std::string& s);

}  // namespace ts
