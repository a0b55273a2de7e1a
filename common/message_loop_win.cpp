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
