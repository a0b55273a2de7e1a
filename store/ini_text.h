// Reading and writing profile (INI) text at the byte level, as the Windows profile functions do it.
// The text is either GBK bytes (a code page 936 file) or UTF-8 (a Unicode file, decoded by
// store/text_encoding.h); names and values are given in the same form. Pure: no file access.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// The same reading for many keys: the text is taken apart once. It keeps views into `text`, which must
// outlive it and stay unchanged.
class IniReader {
public:
    IniReader(const std::string& text, IniChars chars);
    IniReader(const IniReader&) = delete;
    IniReader& operator=(const IniReader&) = delete;
    std::string Get(const std::string& section, const std::string& key) const;

private:
    struct Entry {
        std::string_view name;
        std::string_view value;
    };
    struct Section {
        std::string_view name;
        std::vector<Entry> entries;
    };
    std::string Folded(std::string_view name) const;

    IniChars chars_;
    std::vector<Section> sections_;                         // the first of each name, in file order
    std::unordered_map<std::string, std::size_t> index_;  // folded name -> its place in sections_
};

// Whether a section of one of these names is present (any key in it or none).
bool IniHasSection(const std::string& text, const std::vector<std::string>& sections, IniChars chars = IniChars::Gbk);

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
