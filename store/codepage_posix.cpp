#include "store/codepage.h"

#include <cerrno>
#include <cstddef>

#include <iconv.h>

namespace ts {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; on a sequence that does not convert, appends `replacement` and skips
    // `skip(rest)` bytes, so one bad byte costs one replacement and never the rest of the text.
    template <typename Skip>
    std::string Run(const std::string& in, const std::string& replacement, Skip skip) {
        std::string out;
        if (!ok()) {
            for (std::size_t i = 0; i < in.size(); i += skip(in.data() + i, in.size() - i)) out += replacement;
            return out;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            int err = errno;
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r != static_cast<std::size_t>(-1)) continue;
            if (err == E2BIG) continue;
            // EILSEQ or EINVAL (a cut sequence at the end): replace and go on.
            out += replacement;
            std::size_t n = skip(src, srcLeft);
            src += n;
            srcLeft -= n;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t cd_;
};

bool IsGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

std::size_t SkipGbk(const char* p, std::size_t left) {
    unsigned char lead = static_cast<unsigned char>(p[0]);
    if (lead >= 0x81 && lead <= 0xFE && left >= 2 && IsGbkTrail(static_cast<unsigned char>(p[1]))) return 2;
    return 1;
}

// One UTF-8 sequence, or its longest well-formed start, or one byte.
std::size_t SkipUtf8(const char* p, std::size_t left) {
    unsigned char c = static_cast<unsigned char>(p[0]);
    std::size_t n = 1;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) n = 3;
    else if (c >= 0xF0 && c <= 0xF4) n = 4;
    std::size_t i = 1;
    while (i < n && i < left && (static_cast<unsigned char>(p[i]) & 0xC0) == 0x80) ++i;
    return i;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    Converter c("CP936", "UTF-8");
    return c.Run(utf8, "?", SkipUtf8);
}

std::string GbkToUtf8(const std::string& gbk) {
    Converter c("UTF-8", "CP936");
    return c.Run(gbk, "\xEF\xBF\xBD", SkipGbk);
}

}  // namespace ts
