#pragma once
// RT_STRING blocks: string id N lives in block N / 16 + 1 at index N % 16; a block holds
// its 16 strings in order, each as a 16-bit length followed by that many UTF-16 units (no
// terminator). An empty slot has length 0 and reads as the empty string.

#include "core/text.h"
#include "tools/builder/byte_io.h"

#include <array>
#include <map>

using StringBlock = std::array<UString, 16>;

inline unsigned StringBlockId(unsigned stringId) {
    return stringId / 16 + 1;
}

Bytes EncodeStringBlock(const StringBlock& block);
// Throws EImageFormatError when the data is not a string block.
StringBlock DecodeStringBlock(ByteView data);

// Groups strings by block; slots not given stay empty. Throws EImageFormatError for an id
// above 65535 or a text longer than a string entry holds.
std::map<unsigned, StringBlock> GroupIntoBlocks(const std::map<unsigned, UString>& strings);
