// The encodings timer.ini may be stored in, told apart by the file's first bytes and contents, and
// the file's text in the form the INI functions work on. Pure: no <windows.h>, no file access.
#pragma once

#include <string>

#include "store/ini_text.h"

namespace ts {

enum class FileEncoding {
    Gbk,           // code page 936, no mark: every file the program makes
    Utf8,          // UTF-8 without a mark, told by its section names (see DecodeSettingsFile)
    Utf8Mark,      // EF BB BF, then UTF-8
    Utf16LeMark,   // FF FE, then UTF-16 little-endian ("Unicode" in older Windows editors)
    Utf16BeMark,   // FE FF, then UTF-16 big-endian
};

// Why a file's text must not be written back.
enum class SaveRefusal {
    None,
    UnclearEncoding,  // no mark, and UTF-8 and code page 936 cannot be told apart safely
    CutUtf16,         // a UTF-16 file with an odd number of bytes
};

struct SettingsText {
    FileEncoding encoding = FileEncoding::Gbk;
    // GBK bytes for Gbk; UTF-8 for every other encoding. UTF-16 that is not well formed (a lone
    // surrogate) is kept as the three bytes UTF-8 would give it, so it is written back unchanged.
    std::string text;
    SaveRefusal refusal = SaveRefusal::None;
};

// How the INI functions must split the text into characters.
IniChars CharsOf(FileEncoding encoding);

// A file with a mark is read in the mark's encoding. A file without one is code page 936, except a
// file that is wholly valid UTF-8 and holds the section [关机] or [重启] in its UTF-8 form: that is
// UTF-8. A file without a mark that cannot be told apart safely is read as code page 936 and refused
// for writing: UTF-8 section names among bytes that are not UTF-8 (half of it one encoding, half the
// other), or valid UTF-8 beyond ASCII without any section name of the program's.
SettingsText DecodeSettingsFile(std::string bytes);

// The file's bytes for `text` in `encoding`, with the encoding's mark.
std::string EncodeSettingsFile(const std::string& text, FileEncoding encoding);

// UTF-8 and UTF-16 code units both ways; lone surrogates pass through as described above, bytes that
// are not UTF-8 become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);

// Whether the bytes are UTF-8 throughout: shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& bytes);

}  // namespace ts
