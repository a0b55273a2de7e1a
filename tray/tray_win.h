// The notification-area icon of the main window, and the subclass that answers its clicks.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>

namespace ts {

// The icon's callback message: WM_USER + 1001.
constexpr UINT kTrayCallbackMessage = 2025;

// Subclasses `window` and adds its icon. `lastState` (0 normal, 2 maximized) is read at each restore.
// When the taskbar is not there yet, adding is retried until it is.
void AddTrayIcon(HWND window, HICON icon, const std::int16_t* lastState);
// Sets the icon's tooltip (UTF-8); cut to what the record that is sent carries.
void SetTrayTip(const std::string& tip);
// Shows a balloon with the warning icon at the icon (UTF-8 texts, cut like the tip). False, and
// nothing shown, while there is no icon (no notification area).
bool ShowTrayBalloon(const std::string& title, const std::string& text);
// The record as it was last sent; its cbSize bytes are what the shell reads.
const NOTIFYICONDATAW& TrayIconRecord();
// Deletes the icon and puts the window's own procedure back. Does nothing if no icon was added.
void RemoveTrayIcon();

LRESULT CALLBACK TrayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace ts
