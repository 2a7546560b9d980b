#include "tools/builder/string_table.h"

#include "tools/builder/errors.h"

Bytes EncodeStringBlock(const StringBlock& block) {
    Bytes out;
    for (const auto& s : block) {
        if (s.size() > 0xFFFF) {
            throw EImageFormatError("a string resource holds at most 65535 UTF-16 units");
        }
        PutU16(out, static_cast<std::uint16_t>(s.size()));
        for (const char16_t c : s) {
            PutU16(out, static_cast<std::uint16_t>(c));
        }
    }
    return out;
}

StringBlock DecodeStringBlock(ByteView data) {
    StringBlock block;
    std::size_t pos = 0;
    try {
        for (auto& s : block) {
            const std::uint16_t length = ReadU16(data, pos, "string block");
            pos += 2;
            Require(data, pos, std::size_t{length} * 2, "string block");
            for (std::size_t i = 0; i < length; ++i) {
                s.push_back(static_cast<char16_t>(ReadU16(data, pos + 2 * i)));
            }
            pos += std::size_t{length} * 2;
        }
    } catch (const ETruncated& e) {
        throw EImageFormatError(std::string("the stub's string table: ") + e.what());
    }
    return block;
}

std::map<unsigned, StringBlock> GroupIntoBlocks(const std::map<unsigned, UString>& strings) {
    std::map<unsigned, StringBlock> blocks;
    for (const auto& [id, text] : strings) {
        if (id > 0xFFFF) {
            throw EImageFormatError("string id " + std::to_string(id) + " is above 65535");
        }
        if (text.size() > 0xFFFF) {
            throw EImageFormatError("string " + std::to_string(id) + " is longer than 65535 UTF-16 units");
        }
        blocks[StringBlockId(id)][id % 16] = text;
    }
    return blocks;
}
