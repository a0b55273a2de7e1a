#include "common/message_loop_win.h"

#include <algorithm>
#include <vector>

namespace ts {

namespace {
std::vector<HWND>& NavigableWindows() {
    static std::vector<HWND> windows;
    return windows;
}
}  // namespace

void AddKeyboardNavigation(HWND hwnd) {
    auto& windows = NavigableWindows();
    if (std::find(windows.begin(), windows.end(), hwnd) == windows.end()) windows.push_back(hwnd);
}

void RemoveKeyboardNavigation(HWND hwnd) {
    auto& windows = NavigableWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), hwnd), windows.end());
}

void DialogKeyboard::OnActivate(HWND window, bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) focus_ = focus;
        return;
    }
    if (IsIconic(window)) return;
    if (focus_ && IsChild(window, focus_) && IsWindowEnabled(focus_) && IsWindowVisible(focus_)) {
        SetFocus(focus_);
    } else {
        HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
        SetFocus(first ? first : window);
    }
}

LRESULT DialogKeyboard::DefaultButtonId(HWND window, int fallbackId) {
    HWND focus = GetFocus();
    const bool pushButton = focus && IsChild(window, focus) &&
                            (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
    const int id = pushButton ? GetDlgCtrlID(focus) : fallbackId;
    return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        bool handled = false;
        for (HWND hwnd : NavigableWindows()) {
            if (IsWindow(hwnd) && (msg.hwnd == hwnd || IsChild(hwnd, msg.hwnd)) && IsDialogMessageW(hwnd, &msg)) {
                handled = true;
                break;
            }
        }
        if (!handled) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace ts
