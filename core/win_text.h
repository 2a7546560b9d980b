#pragma once
// Windows only: the one meeting point of our UTF-16 text with the Win32 wide-string type.
// wchar_t is 16-bit there, so the conversion is a reinterpretation, not a copy of units.

#include "core/text.h"

#include <string>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline const wchar_t* WidePtr(const UString& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline UString FromWide(const wchar_t* text) {
    return text ? UString(reinterpret_cast<const char16_t*>(text)) : UString();
}

inline UString FromWide(const wchar_t* text, size_t count) {
    return UString(reinterpret_cast<const char16_t*>(text), count);
}
