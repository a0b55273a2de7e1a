#include "tray/tray_win.h"

#include <shellapi.h>

#include <cwchar>

#include "common/wide_win.h"

namespace ts {

namespace {

// Timer on the main window that retries adding the icon while the taskbar is missing.
constexpr UINT_PTR kRetryTimerId = 0x7E9;
constexpr UINT kRetryIntervalMs = 2000;

struct TrayState {
    HWND window = nullptr;
    WNDPROC previous = nullptr;
    const std::int16_t* lastState = nullptr;
    NOTIFYICONDATAW data{};
    bool added = false;
    bool hasTip = false;
    UINT taskbarCreated = 0;
};

TrayState& State() {
    static TrayState state;
    return state;
}

// The first-version record: every shell since Windows 2000 takes it, and it needs no version handshake.
void ResetRecord(TrayState& s, HWND window, HICON icon) {
    s.data = NOTIFYICONDATAW{};
    s.data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    s.data.hWnd = window;
    s.data.uID = 0;
    s.data.uCallbackMessage = kTrayCallbackMessage;
    s.data.hIcon = icon;
}

bool AddIcon(TrayState& s) {
    s.data.uFlags = NIF_MESSAGE | NIF_ICON | (s.hasTip ? NIF_TIP : 0);
    // After a TaskbarCreated that did not come from a new taskbar the icon may still be there.
    s.added = Shell_NotifyIconW(NIM_ADD, &s.data) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &s.data) != FALSE;
    if (s.added) {
        KillTimer(s.window, kRetryTimerId);
    } else {
        SetTimer(s.window, kRetryTimerId, kRetryIntervalMs, nullptr);
    }
    return s.added;
}

void RestoreWindow(TrayState& s) {
    const bool maximized = s.lastState && *s.lastState == 2;
    ShowWindow(s.window, maximized ? SW_SHOWMAXIMIZED : SW_RESTORE);
    SetForegroundWindow(s.window);
    SetFocus(s.window);
}

}  // namespace

void AddTrayIcon(HWND window, HICON icon, const std::int16_t* lastState) {
    TrayState& s = State();
    if (s.previous) return;  // one window, one icon
    s.window = window;
    s.lastState = lastState;
    s.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    s.previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWndProc)));
    ResetRecord(s, window, icon);
    AddIcon(s);
}

void SetTrayTip(const std::string& tip) {
    TrayState& s = State();
    std::wstring wide = Widen(tip);
    const std::size_t room = sizeof(s.data.szTip) / sizeof(s.data.szTip[0]) - 1;
    std::size_t length = wide.size() < room ? wide.size() : room;
    // Never leave half of a surrogate pair at the cut.
    if (length < wide.size() && length > 0 && IS_HIGH_SURROGATE(wide[length - 1])) --length;
    std::wmemcpy(s.data.szTip, wide.data(), length);
    s.data.szTip[length] = L'\0';
    s.hasTip = true;
    if (s.added) {
        s.data.uFlags = NIF_TIP;
        Shell_NotifyIconW(NIM_MODIFY, &s.data);
    }
}

void RemoveTrayIcon() {
    TrayState& s = State();
    if (!s.previous) return;
    KillTimer(s.window, kRetryTimerId);
    if (s.added) {
        s.data.uFlags = 0;
        Shell_NotifyIconW(NIM_DELETE, &s.data);
        s.added = false;
    }
    SetWindowLongPtrW(s.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.previous));
    s.previous = nullptr;
}

LRESULT CALLBACK TrayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TrayState& s = State();
    if (msg == kTrayCallbackMessage && (lParam == WM_LBUTTONUP || lParam == WM_RBUTTONUP) && IsIconic(s.window)) {
        RestoreWindow(s);
        return 0;
    }
    if (msg == WM_TIMER && wParam == kRetryTimerId) {
        if (!s.added) AddIcon(s);
        return 0;
    }
    if (msg == s.taskbarCreated && s.taskbarCreated != 0) {
        // A new taskbar starts without our icon: add it again, tip included.
        AddIcon(s);
    }
    return CallWindowProcW(s.previous, hwnd, msg, wParam, lParam);
}

}  // namespace ts
