#include "registry/regdata.h"

#include <cmath>

#include "common/text.h"

namespace ts {

namespace {
const char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }
}  // namespace

std::string ToHex8(double number) {
    std::string out(8, '0');
    if (!std::isfinite(number)) return out;
    // Division by 16 and floor are exact in binary floating point, so no digit is lost to rounding.
    double n = std::floor(number);
    for (int pos = 7; pos >= 0; --pos) {
        double q = std::floor(n / 16);
        int digit = static_cast<int>(n - 16 * q);
        out[static_cast<std::size_t>(pos)] = kHexDigits[digit];
        n = q;
    }
    return out;
}

std::optional<std::array<std::uint8_t, 4>> DwordBytes(double number) {
    if (!std::isfinite(number) || number < 0 || number > 4294967295.0 || std::floor(number) != number) {
        return std::nullopt;
    }
    std::string hex = ToHex8(number);
    std::array<std::uint8_t, 4> bytes{};
    // Least significant pair (the last two digits) first.
    for (std::size_t i = 0; i < 4; ++i) {
        std::size_t pos = 6 - 2 * i;
        bytes[i] = static_cast<std::uint8_t>(HexValue(hex[pos]) * 16 + HexValue(hex[pos + 1]));
    }
    return bytes;
}

std::string DwordText(const std::uint8_t* data, std::size_t size) {
    if (size != 4) return std::string();
    std::uint32_t value = static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
                          (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    return std::to_string(value);
}

std::string BinaryText(const std::uint8_t* data, std::size_t size) {
    std::string out;
    if (size == 0) return out;
    out.reserve(size * 3 - 1);
    for (std::size_t i = 0; i < size; ++i) {
        if (i > 0) out += ' ';
        out += kHexDigits[data[i] >> 4];
        out += kHexDigits[data[i] & 0x0F];
    }
    return out;
}

std::string StoredTextValue(const std::string& stored) {
    std::string text = stored;
    // Only a NUL that is really there is dropped: a value stored without one keeps its last character.
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return TrimBlanks(text);
}

std::string CutAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace ts
