#pragma once
// Windows only: sole owner of one reference to a COM interface, released when it goes out
// of scope, so every interface is given back on every path.

#include <windows.h>
#include <unknwn.h>

template <class Interface>
class ComPtr final {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = other.pointer_;
            other.pointer_ = nullptr;
        }
        return *this;
    }

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // The slot a creating call fills in; whatever was held before is released first.
    void** Put() {
        Reset();
        return reinterpret_cast<void**>(&pointer_);
    }

    // Asks the object for another of its interfaces.
    template <class Other>
    HRESULT As(REFIID iid, ComPtr<Other>& other) const {
        return pointer_->QueryInterface(iid, other.Put());
    }

    void Reset() {
        if (pointer_ != nullptr) {
            Interface* pointer = pointer_;
            pointer_ = nullptr;
            pointer->Release();
        }
    }

private:
    Interface* pointer_ = nullptr;
};
