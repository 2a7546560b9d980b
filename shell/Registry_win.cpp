#include "shell/Registry.h"

#include "core/win_text.h"
#include "shell/RegKey.h"
#include "shell/ShellErrors.h"

#include <vector>

namespace {
[[noreturn]] void ThrowInvalidType(const UString& valueName) {
    throw ERegistryException("Invalid data type for '" + Utf16ToUtf8(valueName) + "'");
}

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}
} // namespace

bool CreateRegKey(HKEY Root, const UString& KeyPath) {
    RegKey key;
    if (key.Create(Root, KeyPath) != ERROR_SUCCESS) {
        throw ERegistryException("Failed to create key " + Utf16ToUtf8(KeyPath));
    }
    return true;
}

bool WriteRegString(HKEY Root, const UString& KeyPath, const UString& ValueName,
                    const UString& Value) {
    RegKey key;
    if (key.Create(Root, KeyPath) != ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((Value.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(key.Get(), WidePtr(ValueName), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(WidePtr(Value)), bytes) != ERROR_SUCCESS) {
        throw ERegistryException("Failed to set data for '" + Utf16ToUtf8(ValueName) + "'");
    }
    return true;
}

UString ReadRegString(HKEY Root, const UString& KeyPath, const UString& ValueName) {
    RegKey key;
    if (key.Open(Root, KeyPath) != ERROR_SUCCESS) {
        return UString();
    }
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key.Get(), WidePtr(ValueName), nullptr, &type, nullptr,
                                      &size);
    if (status != ERROR_SUCCESS) {
        return UString();
    }
    if (!IsText(type)) {
        ThrowInvalidType(ValueName);
    }
    // The stored data need not end with a zero character nor have an even length: read into
    // a zeroed buffer one unit longer than the data, and again if the value grew meanwhile.
    std::vector<wchar_t> buffer;
    do {
        buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
        DWORD capacity = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        status = RegQueryValueExW(key.Get(), WidePtr(ValueName), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &capacity);
        size = capacity;
    } while (status == ERROR_MORE_DATA);
    if (status != ERROR_SUCCESS) {
        return UString();
    }
    if (!IsText(type)) {
        ThrowInvalidType(ValueName);
    }
    // A trailing odd byte is half a character: not part of the text.
    buffer[size / sizeof(wchar_t)] = L'\0';
    return FromWide(buffer.data());
}
