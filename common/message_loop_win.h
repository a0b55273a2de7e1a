// The message loop, with keyboard navigation for the main window and the modeless dialogs.
#pragma once

#include <windows.h>

namespace ts {

// Windows whose Tab, Enter and Esc keys the loop routes through IsDialogMessage.
void AddKeyboardNavigation(HWND hwnd);
void RemoveKeyboardNavigation(HWND hwnd);

// What a dialog box does for the keyboard besides Tab, for a plain window in that list. One per window,
// made anew with it: it remembers a control of that window.
class DialogKeyboard {
public:
    // WM_ACTIVATE: the control that had the focus when the window was left gets it back; the first
    // control when there is none, as a plain window would otherwise keep the focus itself.
    void OnActivate(HWND window, bool active);
    // DM_GETDEFID: as in a dialog box, a focused push button is the one Enter presses; otherwise
    // `fallbackId` (0: Enter presses nothing).
    static LRESULT DefaultButtonId(HWND window, int fallbackId);

private:
    HWND focus_ = nullptr;
};

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace ts
