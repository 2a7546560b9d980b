#pragma once
// Windows only: an owned registry key handle, closed when it goes out of scope. Every key is
// opened with full access and no registry view flag.

#include "core/text.h"

#include <windows.h>

class RegKey final {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            key_ = other.key_;
            other.key_ = nullptr;
        }
        return *this;
    }

    // Opens the key, creating every missing level; the result code of the attempt.
    LSTATUS Create(HKEY root, const UString& path);
    // Opens an existing key; the result code of the attempt.
    LSTATUS Open(HKEY root, const UString& path);

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    void Close();

    HKEY key_ = nullptr;
};
