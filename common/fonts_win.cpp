#include "common/fonts_win.h"

#include <cwchar>

#include "common/dpi_win.h"

namespace ts {

namespace {

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FamilyHasCharSet(const wchar_t* face, BYTE charSet) {
    LOGFONTW lf{};
    lf.lfCharSet = charSet;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &lf, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

const wchar_t* const kHeitiFaces[] = {L"黑体", L"SimHei", L"Microsoft YaHei", L"微软雅黑", L"WenQuanYi Micro Hei",
                                      L"WenQuanYi Zen Hei", L"Noto Sans CJK SC", L"Droid Sans Fallback", L"宋体", L"SimSun"};
const wchar_t* const kUiFaces[] = {L"Microsoft YaHei UI", L"Microsoft YaHei", L"微软雅黑", L"SimSun", L"宋体",
                                   L"WenQuanYi Micro Hei", L"WenQuanYi Zen Hei", L"Noto Sans CJK SC"};

// Fixed-pitch CJK faces: a Latin character is half a Chinese one. Proportional faces come after them.
const wchar_t* const kListFaces[] = {L"黑体", L"SimHei", L"新宋体", L"NSimSun", L"Noto Sans Mono CJK SC",
                                     L"WenQuanYi Zen Hei Mono"};

LOGFONTW HeitiLogFont(const wchar_t* face, int centiPoints, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = FontHeight(centiPoints, dpi);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

// The face the font mapper really gave: a missing face is replaced without a word.
bool SelectsFace(HFONT font, const wchar_t* face) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    wchar_t selected[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, selected);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return _wcsicmp(selected, face) == 0;
}

template <std::size_t N>
const wchar_t* FirstInstalled(const wchar_t* const (&faces)[N]) {
    for (const wchar_t* face : faces) {
        if (FontFamilyExists(face)) return face;
    }
    return nullptr;
}

}  // namespace

bool FontFamilyExists(const wchar_t* face) { return FamilyHasCharSet(face, DEFAULT_CHARSET); }

UniqueFont CreateHeitiFont(int centiPoints, UINT dpi) {
    // Looked up once: the installed fonts do not change while the program runs.
    static const wchar_t* const face = [] {
        const wchar_t* f = FirstInstalled(kHeitiFaces);
        return f ? f : L"黑体";
    }();
    const LOGFONTW lf = HeitiLogFont(face, centiPoints, dpi);
    return UniqueFont(CreateFontIndirectW(&lf));
}

bool HasHalfWidthLatin(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    auto width = [screen](const wchar_t* text) {
        SIZE size{};
        GetTextExtentPoint32W(screen, text, static_cast<int>(wcslen(text)), &size);
        return size.cx;
    };
    const LONG latin = width(L"0");
    const bool half = latin > 0 && width(L"W") == latin && width(L"i") == latin && width(L" ") == latin &&
                      width(L"周") == 2 * latin && width(L"0123456789 :-()") == 15 * latin;
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return half;
}

UniqueFont CreateListFont(int centiPoints, UINT dpi) {
    // Chosen once, by measuring at a size where rounding cannot hide a wrong ratio.
    static const wchar_t* const face = []() -> const wchar_t* {
        for (const wchar_t* candidate : kListFaces) {
            if (!FontFamilyExists(candidate)) continue;
            const LOGFONTW lf = HeitiLogFont(candidate, 1200, 192);
            UniqueFont probe(CreateFontIndirectW(&lf));
            if (probe && SelectsFace(probe.get(), candidate) && HasHalfWidthLatin(probe.get())) return candidate;
        }
        return nullptr;
    }();
    if (!face) return CreateHeitiFont(centiPoints, dpi);
    const LOGFONTW lf = HeitiLogFont(face, centiPoints, dpi);
    return UniqueFont(CreateFontIndirectW(&lf));
}

UniqueFont CreateDefaultUiFont(UINT dpi) {
    LOGFONTW lf = MessageFontForDpi(dpi);
    // The system's face is kept when it has Chinese glyphs itself; otherwise a face that does.
    const wchar_t* cjkFace = FamilyHasCharSet(lf.lfFaceName, GB2312_CHARSET) ? nullptr : FirstInstalled(kUiFaces);
    if (cjkFace) {
        wcsncpy(lf.lfFaceName, cjkFace, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
        lf.lfCharSet = DEFAULT_CHARSET;
    }
    return UniqueFont(CreateFontIndirectW(&lf));
}

}  // namespace ts
