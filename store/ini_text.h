// Reading and writing profile (INI) text at the byte level, as the Windows profile functions do it.
// The text is either GBK bytes (a code page 936 file) or UTF-8 (a Unicode file, decoded by
// store/text_encoding.h); names and values are given in the same form. Pure: no file access.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ts {

using IniEntries = std::vector<std::pair<std::string, std::string>>;

// How the bytes of the text form characters: what may be cut, folded or paired.
enum class IniChars { Gbk, Utf8 };

// A value read back fits GetPrivateProfileStringA's 255-byte buffer less its terminating zero.
constexpr std::size_t kIniValueMaxBytes = 254;

// What GetPrivateProfileStringA(section, key, "", buffer, 255, file) gives for a file holding `text`:
// names match without regard to ASCII case and to blanks around them, the first section and the first
// key of a name win, the value loses its surrounding blanks and one pair of enclosing quotes, and a
// value longer than 254 bytes in code page 936 is cut before the character that would cross that limit
// (in UTF-8 text every character beyond ASCII counts as the two bytes it takes there).
std::string IniGetValue(const std::string& text, const std::string& section, const std::string& key,
                        IniChars chars = IniChars::Gbk);

// Whether a section of that name is present (any key in it or none).
bool IniHasSection(const std::string& text, const std::string& section, IniChars chars = IniChars::Gbk);

// Whether the entry can be stored so that it reads back under the same names: no line breaks or zero
// bytes anywhere, names not blank, no '=' in the key and no '[' at its start, and no GBK section name
// ending in half a character.
bool IniCanWrite(const std::string& section, const std::string& key, const std::string& value,
                 IniChars chars = IniChars::Gbk);

// The text with one key set, as WritePrivateProfileStringA sets it: an existing key's line is rewritten
// in place, a new key goes after the last non-blank line of its section, a new section goes at the end.
// New lines end as the text's first line does (CRLF in a text without one). Every other line stays
// byte for byte. nullopt when IniCanWrite says no.
std::optional<std::string> IniSetValue(const std::string& text, const std::string& section, const std::string& key,
                                       const std::string& value, IniChars chars = IniChars::Gbk);

// Several keys of one section set in one pass, with the result of IniSetValue applied to each pair in
// order. nullopt, and nothing set, when any pair cannot be written.
std::optional<std::string> IniSetValues(const std::string& text, const std::string& section,
                                        const IniEntries& keysInOrder, IniChars chars = IniChars::Gbk);

}  // namespace ts
