#include "common/text.h"

namespace ts {

namespace {
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

std::size_t Utf8Length(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) {
        if (!IsContinuation(c)) ++n;
    }
    return n;
}

std::string Utf8Left(const std::string& s, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!IsContinuation(static_cast<unsigned char>(s[i]))) {
            if (chars == count) return s.substr(0, i);
            ++chars;
        }
    }
    return s;
}

std::string PadOrCut(const std::string& s, std::size_t width) {
    std::string out = Utf8Left(s, width);
    std::size_t len = Utf8Length(out);
    if (len < width) out.append(width - len, ' ');
    return out;
}

std::string TrimBlanks(const std::string& s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return std::string();
    std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

}  // namespace ts
