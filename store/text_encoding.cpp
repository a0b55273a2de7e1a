#include "store/text_encoding.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace ts {
namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16LeMark[] = "\xFF\xFE";
const char kUtf16BeMark[] = "\xFE\xFF";

// The program's section names in UTF-8: 关机, 重启.
const char kShutdownSection[] = "\xE5\x85\xB3\xE6\x9C\xBA";
const char kRestartSection[] = "\xE9\x87\x8D\xE5\x90\xAF";

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHighSurrogate(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Code units from `count` units of bytes in the given byte order.
template <typename Unit>
std::string DecodeUtf16(std::size_t count, Unit unit) {
    std::string out;
    out.reserve(count + count / 2);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t u = unit(i);
        if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(unit(i + 1))) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

// The code point of the UTF-8 sequence at `i` and its length; lone surrogates are accepted here (they
// stand for themselves in text decoded from UTF-16), anything else malformed is U+FFFD for one byte.
std::uint32_t NextCodePoint(const std::string& s, std::size_t i, std::size_t* length) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    *length = 1;
    if (c < 0x80) return c;
    std::size_t n = 0;
    std::uint32_t code = 0;
    std::uint32_t least = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2, code = c & 0x1F, least = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3, code = c & 0x0F, least = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4, code = c & 0x07, least = 0x10000;
    } else {
        return 0xFFFD;
    }
    if (i + n > s.size()) return 0xFFFD;
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char d = static_cast<unsigned char>(s[i + k]);
        if (!IsContinuation(d)) return 0xFFFD;
        code = (code << 6) | (d & 0x3F);
    }
    if (code < least || code > 0x10FFFF) return 0xFFFD;
    *length = n;
    return code;
}

}  // namespace

IniChars CharsOf(FileEncoding encoding) { return encoding == FileEncoding::Gbk ? IniChars::Gbk : IniChars::Utf8; }

bool IsValidUtf8(const std::string& bytes) {
    std::size_t i = 0;
    const std::size_t size = bytes.size();
    while (i < size) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = NextCodePoint(bytes, i, &length);
        if (code == 0xFFFD && length == 1) return false;
        if (code >= 0xD800 && code <= 0xDFFF) return false;
        i += length;
    }
    return true;
}

std::u16string Utf8ToUtf16(const std::string& utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 0;
        std::uint32_t code = NextCodePoint(utf8, i, &length);
        i += length;
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& utf16) {
    return DecodeUtf16(utf16.size(), [&](std::size_t i) { return static_cast<std::uint32_t>(utf16[i]); });
}

SettingsText DecodeSettingsFile(std::string bytes) {
    SettingsText file;
    if (StartsWith(bytes, kUtf8Mark)) {
        // Kept as it is, even where it is not well-formed UTF-8: only lines the program sets change.
        file.encoding = FileEncoding::Utf8Mark;
        file.text = bytes.substr(3);
        return file;
    }
    const bool littleEndian = StartsWith(bytes, kUtf16LeMark);
    if (littleEndian || StartsWith(bytes, kUtf16BeMark)) {
        file.encoding = littleEndian ? FileEncoding::Utf16LeMark : FileEncoding::Utf16BeMark;
        const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + 2;
        const std::size_t count = (bytes.size() - 2) / 2;
        file.text = DecodeUtf16(count, [p, littleEndian](std::size_t i) {
            std::uint32_t first = p[2 * i];
            std::uint32_t second = p[2 * i + 1];
            return littleEndian ? first | (second << 8) : (first << 8) | second;
        });
        if (bytes.size() % 2 != 0) file.refusal = SaveRefusal::CutUtf16;
        return file;
    }
    file.text = std::move(bytes);
    bool ascii = true;
    for (char c : file.text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return file;
    const bool utf8Names = IniHasSection(file.text, {kShutdownSection, kRestartSection}, IniChars::Utf8);
    const bool valid = IsValidUtf8(file.text);
    if (valid && utf8Names) {
        file.encoding = FileEncoding::Utf8;
    } else if (valid || utf8Names) {
        // Either way a GBK section written into it would make a file of two encodings.
        file.refusal = SaveRefusal::UnclearEncoding;
    }
    return file;
}

std::string EncodeSettingsFile(const std::string& text, FileEncoding encoding) {
    switch (encoding) {
    case FileEncoding::Gbk:
    case FileEncoding::Utf8:
        return text;
    case FileEncoding::Utf8Mark:
        return kUtf8Mark + text;
    case FileEncoding::Utf16LeMark:
    case FileEncoding::Utf16BeMark:
        break;
    }
    const bool littleEndian = encoding == FileEncoding::Utf16LeMark;
    std::u16string units = Utf8ToUtf16(text);
    std::string out = littleEndian ? kUtf16LeMark : kUtf16BeMark;
    out.reserve(2 + 2 * units.size());
    for (char16_t u : units) {
        const char low = static_cast<char>(u & 0xFF);
        const char high = static_cast<char>(u >> 8);
        out += littleEndian ? low : high;
        out += littleEndian ? high : low;
    }
    return out;
}

}  // namespace ts
