#include "tray/tray_win.h"

#include <shellapi.h>

#include <cstddef>
#include <cwchar>

#include "common/wide_win.h"

namespace ts {

namespace {

// Timer on the main window that retries adding the icon while the taskbar is missing.
constexpr UINT_PTR kRetryTimerId = 0x7E9;
constexpr UINT kRetryIntervalMs = 2000;

// The Windows 2000 record: the first that carries a balloon, and it needs no version handshake. The
// shell reads only cbSize bytes, so every text field we fill must lie wholly inside them.
constexpr DWORD kRecordSize = NOTIFYICONDATAW_V2_SIZE;
constexpr bool FitsRecord(std::size_t offset, std::size_t size) { return offset + size <= kRecordSize; }
static_assert(FitsRecord(offsetof(NOTIFYICONDATAW, szTip), sizeof(NOTIFYICONDATAW::szTip)), "tip outside the record");
static_assert(FitsRecord(offsetof(NOTIFYICONDATAW, szInfo), sizeof(NOTIFYICONDATAW::szInfo)), "balloon outside the record");
static_assert(FitsRecord(offsetof(NOTIFYICONDATAW, szInfoTitle), sizeof(NOTIFYICONDATAW::szInfoTitle)),
              "balloon title outside the record");
static_assert(FitsRecord(offsetof(NOTIFYICONDATAW, dwInfoFlags), sizeof(NOTIFYICONDATAW::dwInfoFlags)),
              "balloon icon outside the record");

NOTIFYICONDATAW EmptyRecord() {
    NOTIFYICONDATAW data{};
    data.cbSize = kRecordSize;
    return data;
}

struct TrayState {
    HWND window = nullptr;
    WNDPROC previous = nullptr;
    const std::int16_t* lastState = nullptr;
    NOTIFYICONDATAW data = EmptyRecord();
    bool added = false;
    bool hasTip = false;
    UINT taskbarCreated = 0;
};

TrayState& State() {
    static TrayState state;
    return state;
}

// Copies UTF-8 text into a field of the record, ended by a NUL, cut to the field.
template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::string& utf8) {
    const std::wstring wide = Widen(utf8);
    std::size_t length = wide.size() < N - 1 ? wide.size() : N - 1;
    // Never leave half of a surrogate pair at the cut.
    if (length < wide.size() && length > 0 && IS_HIGH_SURROGATE(wide[length - 1])) --length;
    std::wmemcpy(field, wide.data(), length);
    field[length] = L'\0';
}

void ResetRecord(TrayState& s, HWND window, HICON icon) {
    s.data = EmptyRecord();
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
    CopyField(s.data.szTip, tip);
    s.hasTip = true;
    if (s.added) {
        s.data.uFlags = NIF_TIP;
        Shell_NotifyIconW(NIM_MODIFY, &s.data);
    }
}

bool ShowTrayBalloon(const std::string& title, const std::string& text) {
    TrayState& s = State();
    if (!s.added) return false;
    CopyField(s.data.szInfoTitle, title);
    CopyField(s.data.szInfo, text);
    s.data.dwInfoFlags = NIIF_WARNING;
    s.data.uTimeout = 30000;  // the longest a Windows 2000/XP shell keeps it; later ones decide themselves
    s.data.uFlags = NIF_INFO;
    return Shell_NotifyIconW(NIM_MODIFY, &s.data) != FALSE;
}

const NOTIFYICONDATAW& TrayIconRecord() { return State().data; }

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
