// Small owners for Win32 handles, so every early return releases what it holds.
#pragma once

#include <windows.h>

#include <utility>

namespace ts {

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Traits::Invalid()));
        return *this;
    }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle* put() {
        reset();
        return &handle_;
    }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = h;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct FontTraits {
    static HFONT Invalid() { return nullptr; }
    static void Close(HFONT h) { DeleteObject(h); }
};
struct BrushTraits {
    static HBRUSH Invalid() { return nullptr; }
    static void Close(HBRUSH h) { DeleteObject(h); }
};
struct BitmapTraits {
    static HBITMAP Invalid() { return nullptr; }
    static void Close(HBITMAP h) { DeleteObject(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueFont = UniqueHandle<HFONT, FontTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, BrushTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, BitmapTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;

}  // namespace ts
