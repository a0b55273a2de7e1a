#include "store/ini_text.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace ts {
namespace {

const char kCrLf[] = "\r\n";

bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Length of the character at `i`. GBK: two bytes for a lead byte with a valid trail byte, else one; a
// lead byte before anything else stands alone, so a stray byte can never swallow a line break. UTF-8:
// a lead byte and the continuation bytes that follow it, at most as many as it announces.
std::size_t CharLength(std::string_view s, std::size_t i, IniChars chars) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (chars == IniChars::Gbk) {
        return i + 1 < s.size() && IsGbkLead(c) && IsGbkTrail(static_cast<unsigned char>(s[i + 1])) ? 2 : 1;
    }
    std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    std::size_t length = 1;
    while (length < n && i + length < s.size() && (static_cast<unsigned char>(s[i + length]) & 0xC0) == 0x80) ++length;
    return length;
}

// Bytes the character takes in code page 936, where the A functions measure a value.
std::size_t AnsiWidth(std::string_view s, std::size_t i, std::size_t length, IniChars chars) {
    if (chars == IniChars::Gbk) return length;
    return static_cast<unsigned char>(s[i]) < 0x80 ? 1 : 2;
}

// Ctrl-Z counts as a blank too: the profile functions trim it under code page 936.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

// No blank is ever part of a two-byte character, so trimming byte by byte is safe.
std::string_view Trim(std::string_view s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Case is folded only for single-byte ASCII letters: a GBK trail byte that looks like a letter belongs
// to a Chinese character and must match exactly.
bool NamesEqual(std::string_view a, std::string_view b, IniChars chars) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        std::size_t n = CharLength(a, i, chars);
        if (n != CharLength(b, i, chars)) return false;
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
std::string_view QueryName(std::string_view name) { return Trim(name.substr(0, name.find('\0'))); }

// At most kIniValueMaxBytes in code page 936, never half a character.
std::string_view CutWhole(std::string_view s, IniChars chars) {
    std::size_t i = 0;
    std::size_t width = 0;
    while (i < s.size()) {
        std::size_t n = CharLength(s, i, chars);
        width += AnsiWidth(s, i, n, chars);
        if (width > kIniValueMaxBytes) break;
        i += n;
    }
    return s.substr(0, i);
}

struct Line {
    std::string_view content;
    std::string_view end;  // "\r\n", "\n", "\r" or "" for a last line without one
};

// Walks the lines of a text without copying them.
class LineReader {
public:
    explicit LineReader(std::string_view text, std::size_t from = 0) : text_(text), pos_(from) {}
    std::size_t position() const { return pos_; }
    bool Next(Line* line) {
        if (pos_ >= text_.size()) return false;
        // A plain loop: find_first_of tries each of the two characters at every byte.
        std::size_t brk = pos_;
        while (brk < text_.size() && text_[brk] != '\n' && text_[brk] != '\r') ++brk;
        if (brk == text_.size()) {
            *line = {text_.substr(pos_), std::string_view()};
            pos_ = text_.size();
            return true;
        }
        std::size_t endLength = text_.compare(brk, 2, kCrLf) == 0 ? 2 : 1;
        *line = {text_.substr(pos_, brk - pos_), text_.substr(brk, endLength)};
        pos_ = brk + endLength;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_;
};

enum class LineKind { Blank, Header, Entry, Other };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;   // section of a header, key of an entry
    std::string_view value;  // an entry's value without blanks around it
    bool hasEquals = false;
};

ParsedLine ParseLine(std::string_view content, IniChars chars) {
    ParsedLine parsed;
    std::string_view text = Trim(content);
    if (text.empty()) return parsed;
    if (text[0] == '[') {
        // The section name runs to the last ']' of the line; anything after it is ignored.
        std::size_t close = std::string_view::npos;
        for (std::size_t i = 1; i < text.size(); i += CharLength(text, i, chars)) {
            if (text[i] == ']') close = i;
        }
        if (close == std::string_view::npos) {
            parsed.kind = LineKind::Other;
        } else {
            parsed.kind = LineKind::Header;
            parsed.name = Trim(text.substr(1, close - 1));
        }
        return parsed;
    }
    parsed.kind = LineKind::Entry;
    std::size_t equals = text.find('=');  // '=' is never part of a longer character
    if (equals == std::string_view::npos) {
        parsed.name = text;
    } else {
        parsed.hasEquals = true;
        parsed.name = Trim(text.substr(0, equals));
        parsed.value = Trim(text.substr(equals + 1));
    }
    return parsed;
}

bool IsHeader(std::string_view content, IniChars chars) {
    // Most lines are entries: only a line that starts with '[' can be a header.
    std::string_view text = Trim(content);
    return !text.empty() && text[0] == '[' && ParseLine(text, chars).kind == LineKind::Header;
}

// The first section of that name, as byte offsets: its header line [header, begin) and its body
// [begin, end). The lines before the first header form the section with the empty name; a header "[]"
// names a section that no query finds.
struct SectionRange {
    bool found = false;
    std::size_t header = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

SectionRange FindSection(std::string_view text, std::string_view section, IniChars chars) {
    SectionRange range;
    LineReader reader(text);
    Line line;
    if (section.empty()) {
        range.found = true;
    } else {
        for (;;) {
            std::size_t start = reader.position();
            if (!reader.Next(&line)) return range;
            if (!IsHeader(line.content, chars)) continue;
            ParsedLine parsed = ParseLine(line.content, chars);
            if (!parsed.name.empty() && NamesEqual(parsed.name, section, chars)) {
                range.found = true;
                range.header = start;
                break;
            }
        }
    }
    range.begin = reader.position();
    range.end = range.begin;
    for (;;) {
        std::size_t start = reader.position();
        if (!reader.Next(&line) || IsHeader(line.content, chars)) {
            range.end = start;
            return range;
        }
    }
}

std::string ReadableValue(std::string_view stored, IniChars chars) {
    std::string_view value = stored;
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
        value = value.substr(1, value.size() - 2);
    }
    value = value.substr(0, value.find('\0'));
    return std::string(CutWhole(value, chars));
}

// Such a name would pair with the closing ']' of its header, which then never closes.
bool EndsInLoneLeadByte(std::string_view name) {
    std::size_t i = 0;
    std::size_t last = 0;
    while (i < name.size()) {
        last = CharLength(name, i, IniChars::Gbk);
        i += last;
    }
    return last == 1 && IsGbkLead(static_cast<unsigned char>(name.back()));
}

bool HasLineBreakOrZero(const std::string& s) { return s.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

// The line end of new lines: the one the text already uses, so an LF file stays an LF file.
std::string LineEndStyle(std::string_view text) {
    std::size_t brk = text.find_first_of("\r\n");
    if (brk == std::string_view::npos) return kCrLf;
    if (text[brk] == '\n') return "\n";
    // A lone CR written before a line that starts with LF would join with it into one CRLF: lone CRs
    // only for a file that has no LF at all.
    return text.compare(brk, 2, kCrLf) == 0 || text.find('\n') != std::string_view::npos ? kCrLf : "\r";
}

// One section's lines, owned, while keys are set in it.
struct OwnedLine {
    std::string content;
    std::string end;
};

// Sets one key in the section held by `lines`, whose first line is its header.
void SetInSection(std::vector<OwnedLine>& lines, const std::string& key, const std::string& value,
                  const std::string& newLine, IniChars chars) {
    for (std::size_t i = 1; i < lines.size(); ++i) {
        ParsedLine parsed = ParseLine(lines[i].content, chars);
        if (parsed.kind != LineKind::Entry || !NamesEqual(parsed.name, key, chars)) continue;
        // A line that already holds the value stays as it is, however it is spaced.
        if (parsed.hasEquals && parsed.value == value) return;
        lines[i].content = std::string(parsed.name) + "=" + value;
        return;
    }
    // After the section's last non-blank line, so blank lines that part it from the next stay there.
    std::size_t after = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (ParseLine(lines[i].content, chars).kind != LineKind::Blank) after = i;
    }
    if (lines[after].end.empty()) lines[after].end = newLine;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after) + 1, OwnedLine{key + "=" + value, newLine});
}

}  // namespace

std::string IniGetValue(const std::string& text, const std::string& section, const std::string& key, IniChars chars) {
    // One key: a scan that stops at its section is cheaper than taking the whole text apart.
    SectionRange range = FindSection(text, QueryName(section), chars);
    if (!range.found) return std::string();
    std::string_view name = QueryName(key);
    LineReader reader(std::string_view(text).substr(0, range.end), range.begin);
    Line line;
    while (reader.Next(&line)) {
        ParsedLine parsed = ParseLine(line.content, chars);
        if (parsed.kind == LineKind::Entry && NamesEqual(parsed.name, name, chars)) return ReadableValue(parsed.value, chars);
    }
    return std::string();
}

IniReader::IniReader(const std::string& text, IniChars chars) : chars_(chars) {
    // The lines before the first header form the section with the empty name.
    sections_.push_back(Section{});
    index_.emplace(std::string(), 0);
    Section* current = &sections_[0];
    LineReader reader(text);
    Line line;
    while (reader.Next(&line)) {
        ParsedLine parsed = ParseLine(line.content, chars);
        if (parsed.kind == LineKind::Header) {
            // Only the first section of a name counts; a header "[]" names a section that no query finds.
            current = nullptr;
            if (parsed.name.empty() || !index_.emplace(Folded(parsed.name), sections_.size()).second) continue;
            sections_.push_back(Section{parsed.name, {}});
            current = &sections_.back();
        } else if (parsed.kind == LineKind::Entry && current) {
            current->entries.push_back(Entry{parsed.name, parsed.value});
        }
    }
}

std::string IniReader::Get(const std::string& section, const std::string& key) const {
    std::string_view sectionName = QueryName(section);
    std::string_view keyName = QueryName(key);
    auto found = index_.find(Folded(sectionName));
    if (found == index_.end()) return std::string();
    // The first key of the name wins.
    for (const Entry& entry : sections_[found->second].entries) {
        if (NamesEqual(entry.name, keyName, chars_)) return ReadableValue(entry.value, chars_);
    }
    return std::string();
}

std::string IniReader::Folded(std::string_view name) const {
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size();) {
        std::size_t n = CharLength(folded, i, chars_);
        if (n == 1) folded[i] = AsciiLower(folded[i]);
        i += n;
    }
    return folded;
}

bool IniHasSection(const std::string& text, const std::vector<std::string>& sections, IniChars chars) {
    LineReader reader(text);
    Line line;
    while (reader.Next(&line)) {
        if (!IsHeader(line.content, chars)) continue;
        std::string_view name = ParseLine(line.content, chars).name;
        for (const std::string& section : sections) {
            std::string_view wanted = QueryName(section);
            if (!name.empty() && !wanted.empty() && NamesEqual(name, wanted, chars)) return true;
        }
    }
    return false;
}

bool IniCanWrite(const std::string& section, const std::string& key, const std::string& value, IniChars chars) {
    if (HasLineBreakOrZero(section) || HasLineBreakOrZero(key) || HasLineBreakOrZero(value)) return false;
    std::string_view sectionName = Trim(section);
    std::string_view keyName = Trim(key);
    return !sectionName.empty() && !(chars == IniChars::Gbk && EndsInLoneLeadByte(sectionName)) &&
           !keyName.empty() && keyName.find('=') == std::string_view::npos && keyName[0] != '[';
}

std::optional<std::string> IniSetValue(const std::string& text, const std::string& section, const std::string& key,
                                       const std::string& value, IniChars chars) {
    return IniSetValues(text, section, IniEntries{{key, value}}, chars);
}

std::optional<std::string> IniSetValues(const std::string& text, const std::string& section,
                                        const IniEntries& keysInOrder, IniChars chars) {
    bool writable = std::all_of(keysInOrder.begin(), keysInOrder.end(), [&](const auto& entry) {
        return IniCanWrite(section, entry.first, entry.second, chars);
    });
    if (!writable) return std::nullopt;
    if (keysInOrder.empty()) return text;

    // Only the section's own lines are taken apart; the text before and after it is copied whole.
    const std::string newLine = LineEndStyle(text);
    const std::string_view name = Trim(section);
    SectionRange range = FindSection(text, name, chars);
    std::string before;
    std::vector<OwnedLine> lines;
    if (range.found) {
        before = text.substr(0, range.header);
        LineReader reader(std::string_view(text).substr(0, range.end), range.header);
        Line line;
        while (reader.Next(&line)) lines.push_back({std::string(line.content), std::string(line.end)});
    } else {
        before = text;
        range.end = text.size();
        if (!before.empty() && before.back() != '\n' && before.back() != '\r') before += newLine;
        lines.push_back({"[" + std::string(name) + "]", newLine});
    }
    for (const auto& entry : keysInOrder) SetInSection(lines, std::string(Trim(entry.first)), entry.second, newLine, chars);

    std::string out = std::move(before);
    for (const OwnedLine& line : lines) out += line.content + line.end;
    out.append(text, range.end, std::string::npos);
    return out;
}

}  // namespace ts
