#include "common/dpi_win.h"

namespace ts {

namespace {

template <typename Fn>
Fn User32Proc(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    UINT dpi = screen ? static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY)) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi ? dpi : 96;
}

}  // namespace

UINT DpiForWindow(HWND hwnd) {
    using Fn = UINT(WINAPI*)(HWND);
    static const Fn fn = User32Proc<Fn>("GetDpiForWindow");
    UINT dpi = (fn && hwnd) ? fn(hwnd) : 0;
    return dpi ? dpi : SystemDpi();
}

BOOL AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, UINT dpi) {
    using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const Fn fn = User32Proc<Fn>("AdjustWindowRectExForDpi");
    if (fn) return fn(rect, style, FALSE, exStyle, dpi);
    return AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

RECT CenteredWindowRect(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle, UINT dpi) {
    RECT r{0, 0, TwipsToPixels(clientWidthTwips, dpi), TwipsToPixels(clientHeightTwips, dpi)};
    AdjustWindowRectForDpi(&r, style, exStyle, dpi);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    const RECT& work = mi.rcWork;
    const int x = work.left + ((work.right - work.left) - w) / 2;
    const int y = work.top + ((work.bottom - work.top) - h) / 2;
    return RECT{x, y, x + w, y + h};
}

LOGFONTW MessageFontForDpi(UINT dpi) {
    using Fn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const Fn fn = User32Proc<Fn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (fn && fn(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) return metrics.lfMessageFont;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    UINT system = SystemDpi();
    if (system != dpi) metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(system));
    return metrics.lfMessageFont;
}

}  // namespace ts
