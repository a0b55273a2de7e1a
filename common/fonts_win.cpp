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
    LOGFONTW lf{};
    lf.lfHeight = FontHeight(centiPoints, dpi);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
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
