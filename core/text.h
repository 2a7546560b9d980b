#pragma once
// Text as the installer sees it: UTF-16 code units on every platform (wchar_t is 32-bit on
// Linux, so the portable core never uses it), and 8-bit strings as raw bytes.

#include <string>
#include <string_view>

using UString = std::u16string;
using UStringView = std::u16string_view;

// Lossless conversions for messages, command lines and tests. Invalid UTF-8 bytes and
// unpaired surrogates become U+FFFD.
UString Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(UStringView text);
