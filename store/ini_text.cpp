#include "store/ini_text.h"

#include <algorithm>

namespace ts {
namespace {

const char kNewLine[] = "\r\n";

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Length of the character at `i`: two bytes for a lead byte with a valid trail byte, else one. A lead
// byte before anything else stands alone, so a stray byte can never swallow a line break.
std::size_t CharLength(const std::string& s, std::size_t i) {
    if (i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])) &&
        IsTrailByte(static_cast<unsigned char>(s[i + 1]))) {
        return 2;
    }
    return 1;
}

// Ctrl-Z counts as a blank too: the profile functions trim it under code page 936.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

// No blank is ever part of a two-byte character, so trimming byte by byte is safe.
std::string Trim(const std::string& s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Case is folded only for single-byte ASCII letters: a trail byte that looks like a letter belongs to
// a Chinese character and must match exactly.
bool NamesEqual(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        std::size_t n = CharLength(a, i);
        if (n != CharLength(b, i)) return false;
        if (n == 1) {
            if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
        } else if (a.compare(i, n, b, i, n) != 0) {
            return false;
        }
        i += n;
    }
    return true;
}

// A name as the A functions see it: a C string, without blanks around it.
std::string QueryName(const std::string& name) { return Trim(name.substr(0, name.find('\0'))); }

// At most `limit` bytes, never half a two-byte character.
std::string CutWhole(const std::string& s, std::size_t limit) {
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t n = CharLength(s, i);
        if (i + n > limit) break;
        i += n;
    }
    return s.substr(0, i);
}

struct Line {
    std::string content;
    std::string end;  // "\r\n", "\n", "\r" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t brk = text.find_first_of("\r\n", i);
        if (brk == std::string::npos) {
            lines.push_back({text.substr(i), ""});
            break;
        }
        std::size_t endLength = text.compare(brk, 2, kNewLine) == 0 ? 2 : 1;
        lines.push_back({text.substr(i, brk - i), text.substr(brk, endLength)});
        i = brk + endLength;
    }
    return lines;
}

std::string JoinLines(const std::vector<Line>& lines) {
    std::string text;
    for (const Line& line : lines) text += line.content + line.end;
    return text;
}

enum class LineKind { Blank, Header, Entry, Other };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string name;   // section of a header, key of an entry
    std::string value;  // an entry's value without blanks around it
    bool hasEquals = false;
};

ParsedLine ParseLine(const std::string& content) {
    ParsedLine parsed;
    std::string text = Trim(content);
    if (text.empty()) return parsed;
    if (text[0] == '[') {
        // The section name runs to the last ']' of the line; anything after it is ignored.
        std::size_t close = std::string::npos;
        for (std::size_t i = 1; i < text.size(); i += CharLength(text, i)) {
            if (text[i] == ']') close = i;
        }
        if (close == std::string::npos) {
            parsed.kind = LineKind::Other;
        } else {
            parsed.kind = LineKind::Header;
            parsed.name = Trim(text.substr(1, close - 1));
        }
        return parsed;
    }
    parsed.kind = LineKind::Entry;
    std::size_t equals = text.find('=');  // '=' is never a trail byte
    if (equals == std::string::npos) {
        parsed.name = text;
    } else {
        parsed.hasEquals = true;
        parsed.name = Trim(text.substr(0, equals));
        parsed.value = Trim(text.substr(equals + 1));
    }
    return parsed;
}

// Body of the first section of that name: lines [begin, end). The lines before the first header form
// the section with the empty name; a header "[]" names a section that no query finds.
struct SectionRange {
    bool found = false;
    std::size_t header = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

SectionRange FindSection(const std::vector<Line>& lines, const std::string& section) {
    SectionRange range;
    std::size_t i = 0;
    if (section.empty()) {
        range.found = true;
    } else {
        for (; i < lines.size(); ++i) {
            ParsedLine parsed = ParseLine(lines[i].content);
            if (parsed.kind == LineKind::Header && !parsed.name.empty() && NamesEqual(parsed.name, section)) {
                range.found = true;
                range.header = i;
                ++i;
                break;
            }
        }
        if (!range.found) return range;
    }
    range.begin = i;
    while (i < lines.size() && ParseLine(lines[i].content).kind != LineKind::Header) ++i;
    range.end = i;
    return range;
}

std::string ReadableValue(const std::string& stored) {
    std::string value = stored;
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
        value = value.substr(1, value.size() - 2);
    }
    value = value.substr(0, value.find('\0'));
    return CutWhole(value, kIniValueMaxBytes);
}

// Such a name would pair with the closing ']' of its header, which then never closes.
bool EndsInLoneLeadByte(const std::string& name) {
    std::size_t i = 0;
    std::size_t last = 0;
    while (i < name.size()) {
        last = CharLength(name, i);
        i += last;
    }
    return last == 1 && IsLeadByte(static_cast<unsigned char>(name.back()));
}

bool HasLineBreakOrZero(const std::string& s) { return s.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

// Sets one key inside a section already present in `lines`; the section's end moves with an insertion.
void SetInSection(std::vector<Line>& lines, SectionRange& range, const std::string& key, const std::string& value) {
    for (std::size_t i = range.begin; i < range.end; ++i) {
        ParsedLine parsed = ParseLine(lines[i].content);
        if (parsed.kind != LineKind::Entry || !NamesEqual(parsed.name, key)) continue;
        // A line that already holds the value stays as it is, however it is spaced.
        if (parsed.hasEquals && parsed.value == value) return;
        lines[i].content = parsed.name + "=" + value;
        return;
    }
    // After the section's last non-blank line, so blank lines that part it from the next stay there.
    std::size_t after = range.header;
    for (std::size_t i = range.begin; i < range.end; ++i) {
        if (ParseLine(lines[i].content).kind != LineKind::Blank) after = i;
    }
    if (lines[after].end.empty()) lines[after].end = kNewLine;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after) + 1, Line{key + "=" + value, kNewLine});
    ++range.end;
}

}  // namespace

std::string IniGetValue(const std::string& text, const std::string& section, const std::string& key) {
    std::vector<Line> lines = SplitLines(text);
    SectionRange range = FindSection(lines, QueryName(section));
    if (!range.found) return std::string();
    std::string name = QueryName(key);
    for (std::size_t i = range.begin; i < range.end; ++i) {
        ParsedLine parsed = ParseLine(lines[i].content);
        if (parsed.kind == LineKind::Entry && NamesEqual(parsed.name, name)) return ReadableValue(parsed.value);
    }
    return std::string();
}

bool IniCanWrite(const std::string& section, const std::string& key, const std::string& value) {
    if (HasLineBreakOrZero(section) || HasLineBreakOrZero(key) || HasLineBreakOrZero(value)) return false;
    std::string sectionName = Trim(section);
    std::string keyName = Trim(key);
    return !sectionName.empty() && !EndsInLoneLeadByte(sectionName) && !keyName.empty() &&
           keyName.find('=') == std::string::npos && keyName[0] != '[';
}

std::optional<std::string> IniSetValue(const std::string& text, const std::string& section, const std::string& key,
                                       const std::string& value) {
    return IniSetValues(text, section, IniEntries{{key, value}});
}

std::optional<std::string> IniSetValues(const std::string& text, const std::string& section,
                                        const IniEntries& keysInOrder) {
    bool writable = std::all_of(keysInOrder.begin(), keysInOrder.end(), [&](const auto& entry) {
        return IniCanWrite(section, entry.first, entry.second);
    });
    if (!writable) return std::nullopt;
    if (keysInOrder.empty()) return text;

    std::string sectionName = Trim(section);
    std::vector<Line> lines = SplitLines(text);
    SectionRange range = FindSection(lines, sectionName);
    if (!range.found) {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = kNewLine;
        lines.push_back({"[" + sectionName + "]", kNewLine});
        range.found = true;
        range.header = lines.size() - 1;
        range.begin = range.end = lines.size();
    }
    for (const auto& entry : keysInOrder) SetInSection(lines, range, Trim(entry.first), entry.second);
    return JoinLines(lines);
}

}  // namespace ts
