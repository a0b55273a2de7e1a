// Registry data as bytes and as text, without the registry itself. Pure: no <windows.h>.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace ts {

// Eight uppercase hexadecimal digits, most significant first. The number is taken rounded down;
// only its lowest eight digits are kept, so -1 gives FFFFFFFF. Not a finite number: 00000000.
std::string ToHex8(double number);

// The four REG_DWORD data bytes of a number, least significant first. Nothing for a number outside
// 0 to 4294967295 or with a fraction: a DWORD holds whole numbers, and rounding would store another
// value than the one asked for.
std::optional<std::array<std::uint8_t, 4>> DwordBytes(double number);

// REG_DWORD data as an unsigned decimal number. Data that is not exactly 4 bytes is not a DWORD and
// gives empty text.
std::string DwordText(const std::uint8_t* data, std::size_t size);

// REG_BINARY data as "01 AB 00": two uppercase digits per byte, single spaces, nothing trailing.
std::string BinaryText(const std::uint8_t* data, std::size_t size);

// A stored text value as the reader returns it: one terminating NUL dropped when there is one (the
// NULs inside a multi-string stay), then the spaces at both ends. Other blanks stay.
std::string StoredTextValue(const std::string& stored);

// The text before its first NUL.
std::string CutAtNul(const std::string& text);

}  // namespace ts
