// The message loop, with keyboard navigation for the main window and the modeless dialogs.
#pragma once

#include <windows.h>

namespace ts {

// Windows whose Tab, Enter and Esc keys the loop routes through IsDialogMessage.
void AddKeyboardNavigation(HWND hwnd);
void RemoveKeyboardNavigation(HWND hwnd);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace ts
