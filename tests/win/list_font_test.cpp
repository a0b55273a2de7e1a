// The schedule lists pad their lines on the ratio of a Chinese character to two Latin ones: the face they
// are drawn in must keep that ratio, whatever fonts the system has.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/fonts_win.h"

namespace ts {
namespace {

TEST(ListFont, LatinCharactersAreHalfAChineseOneAtEveryScale) {
    for (UINT dpi : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE(testing::Message() << "dpi " << dpi);
        UniqueFont font = CreateListFont(1200, dpi);
        ASSERT_TRUE(font);
        HDC screen = GetDC(nullptr);
        HGDIOBJ old = SelectObject(screen, font.get());
        auto width = [screen](const wchar_t* text) {
            SIZE size{};
            GetTextExtentPoint32W(screen, text, static_cast<int>(wcslen(text)), &size);
            return size.cx;
        };
        const LONG digit = width(L"0");
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(screen, LF_FACESIZE, face);
        SCOPED_TRACE(testing::Message() << "face " << static_cast<int>(wcslen(face)) << " characters");
        EXPECT_GT(digit, 0);
        EXPECT_EQ(width(L"W"), digit);
        EXPECT_EQ(width(L"i"), digit);
        EXPECT_EQ(width(L" "), digit);
        EXPECT_EQ(width(L"关"), 2 * digit);
        // A whole line: its bracket stands at the same place whatever the lead part holds.
        EXPECT_EQ(width(L"周三 18:00"), width(L"07:30     "));
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
    }
}

}  // namespace
}  // namespace ts
