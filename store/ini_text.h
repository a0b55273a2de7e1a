// Reading and writing profile (INI) text at the byte level, as the Windows profile functions do it
// for an ANSI file in code page 936. Every text here is GBK bytes. Pure: no file access.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ts {

using IniEntries = std::vector<std::pair<std::string, std::string>>;

// A value read back fits GetPrivateProfileStringA's 255-byte buffer less its terminating zero.
constexpr std::size_t kIniValueMaxBytes = 254;

// What GetPrivateProfileStringA(section, key, "", buffer, 255, file) gives for a file holding `text`:
// names match without regard to ASCII case and to blanks around them, the first section and the first
// key of a name win, the value loses its surrounding blanks and one pair of enclosing quotes, and a
// value longer than 254 bytes is cut before the character that would cross that limit.
std::string IniGetValue(const std::string& text, const std::string& section, const std::string& key);

// Whether the entry can be stored so that it reads back under the same names: no line breaks or zero
// bytes anywhere, names not blank, no '=' in the key and no '[' at its start, and no section name ending
// in half a character.
bool IniCanWrite(const std::string& section, const std::string& key, const std::string& value);

// The text with one key set, as WritePrivateProfileStringA sets it: an existing key's line is rewritten
// in place, a new key goes after the last non-blank line of its section, a new section goes at the end.
// Every other line stays byte for byte. nullopt when IniCanWrite says no.
std::optional<std::string> IniSetValue(const std::string& text, const std::string& section, const std::string& key,
                                       const std::string& value);

// Several keys of one section set in one pass, with the result of IniSetValue applied to each pair in
// order. nullopt, and nothing set, when any pair cannot be written.
std::optional<std::string> IniSetValues(const std::string& text, const std::string& section,
                                        const IniEntries& keysInOrder);

}  // namespace ts
