#pragma once
// Owners of the GDI and window handles the layer creates: each is released exactly once,
// when its owner goes out of scope.

#include <windows.h>

#include <utility>

template <class Handle, class Deleter>
class UniqueGdi final {
public:
    UniqueGdi() = default;
    explicit UniqueGdi(Handle handle) : handle_(handle) {}
    ~UniqueGdi() { Reset(); }
    UniqueGdi(const UniqueGdi&) = delete;
    UniqueGdi& operator=(const UniqueGdi&) = delete;
    UniqueGdi(UniqueGdi&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueGdi& operator=(UniqueGdi&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            Deleter{}(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};

using UniqueFont = UniqueGdi<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueGdi<HBRUSH, GdiObjectDeleter>;
using UniqueBitmap = UniqueGdi<HBITMAP, GdiObjectDeleter>;
using UniqueIcon = UniqueGdi<HICON, IconDeleter>;
