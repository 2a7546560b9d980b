#include "shell/RegKey.h"

#include "core/win_text.h"

// The handle is taken only on success: a failed call leaves its output undefined.
LSTATUS RegKey::Create(HKEY root, const UString& path) {
    Close();
    HKEY key = nullptr;
    const LSTATUS status = RegCreateKeyExW(root, WidePtr(path), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                           &key, nullptr);
    if (status == ERROR_SUCCESS) {
        key_ = key;
    }
    return status;
}

LSTATUS RegKey::Open(HKEY root, const UString& path) {
    Close();
    HKEY key = nullptr;
    const LSTATUS status = RegOpenKeyExW(root, WidePtr(path), 0, KEY_ALL_ACCESS, &key);
    if (status == ERROR_SUCCESS) {
        key_ = key;
    }
    return status;
}

void RegKey::Close() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}
