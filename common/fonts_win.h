// Interface fonts: 黑体 where it exists, else another font that has Chinese glyphs.
#pragma once

#include <windows.h>

#include "common/handles_win.h"

namespace ts {

// 黑体 (GB2312 character set) at a size in hundredths of a point, falling back to an installed CJK face.
UniqueFont CreateHeitiFont(int centiPoints, UINT dpi);
// The schedule lists' font: 黑体 where it exists, else a face whose Latin characters are exactly half as
// wide as its Chinese ones (the list lines line up on that ratio), else as CreateHeitiFont.
UniqueFont CreateListFont(int centiPoints, UINT dpi);
// Whether every Latin character of the font is drawn at one width and a Chinese character at exactly twice it.
bool HasHalfWidthLatin(HFONT font);
// The system's message font at `dpi`, with a CJK face when the system's own face may lack Chinese glyphs.
UniqueFont CreateDefaultUiFont(UINT dpi);
// Whether a font family of that name is installed (any character set).
bool FontFamilyExists(const wchar_t* face);

}  // namespace ts
