// DPI queries that fall back gracefully on systems older than Windows 10 1607.
#pragma once

#include <windows.h>

namespace ts {

UINT DpiForWindow(HWND hwnd);
BOOL AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, UINT dpi);
// The window rectangle for a client area given in twips, centred in the primary monitor's work area.
RECT CenteredWindowRect(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle, UINT dpi);
// The system's message font scaled to `dpi`.
LOGFONTW MessageFontForDpi(UINT dpi);
// Twips (1/1440 inch) to pixels at `dpi`.
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
// LOGFONT height for a size in hundredths of a point.
inline LONG FontHeight(int centiPoints, UINT dpi) { return -MulDiv(centiPoints, static_cast<int>(dpi), 7200); }

}  // namespace ts
