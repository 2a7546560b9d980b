#pragma once
// Base64 with the standard alphabet and "=" padding, no line breaks. Decoding is lenient in
// the way protected strings need: it works in groups of four characters, drops a last
// incomplete group and goes on past pad characters.

#include "core/text.h"

#include <cstddef>
#include <string>
#include <string_view>

// Writes 4 * ((Size + 2) / 3) characters; returns that count.
std::size_t EncodeBase64(const void* Input, void* Output, std::size_t Size);
// Decodes Size characters into at most (Size / 4) * 3 bytes; returns the bytes written.
std::size_t DecodeBase64(const void* Input, void* Output, std::size_t Size);

std::string EncodeBase64Text(std::string_view Str);
// Encodes the code units low byte first; the characters come back one code unit each.
UString EncodeBase64Text(UStringView Str);
std::string DecodeBase64Text(std::string_view Str);
// Converts to the ANSI code page first; the bytes become code units, an odd last byte dropped.
UString DecodeBase64Text(UStringView Str);

// UTF-16 text as bytes, each code unit low byte first, and back (an odd last byte dropped).
std::string CodeUnitBytes(UStringView Text);
UString CodeUnitsFromBytes(std::string_view Bytes);
// Base64 of raw bytes, as UTF-16 characters.
UString EncodeBase64Units(std::string_view Bytes);
