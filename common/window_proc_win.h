// The window procedure shared by the program's window classes: it finds the C++ object that
// created the window (passed as the creation parameter) and hands it every message. T needs a
// member `HWND hwnd_` and `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`, reachable by friendship.
#pragma once

#include <windows.h>

namespace ts {

template <typename T>
LRESULT CALLBACK WindowProcFor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    T* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // The object outlives its window: it must not keep a handle that may be reused.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->HandleMessage(msg, wParam, lParam);
}

}  // namespace ts
