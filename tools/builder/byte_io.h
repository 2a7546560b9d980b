#pragma once
// Little-endian reading and writing of the fixed-size fields of file formats (PE, BMP,
// ICO). Reads are bounds-checked: a field past the end is a format error, never a read past
// the buffer.

#include "core/exceptions.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// Thrown by the readers below, naming the structure that ends early; callers catch it and
// raise their own error class naming the file.
class ETruncated : public Exception {
public:
    explicit ETruncated(const std::string& what) : Exception(what + " is cut short") {}
};

inline void Require(ByteView data, std::size_t offset, std::size_t size, const char* what) {
    if (offset > data.size() || size > data.size() - offset) {
        throw ETruncated(what);
    }
}

inline std::uint8_t ReadU8(ByteView data, std::size_t offset, const char* what = "field") {
    Require(data, offset, 1, what);
    return data[offset];
}

inline std::uint16_t ReadU16(ByteView data, std::size_t offset, const char* what = "field") {
    Require(data, offset, 2, what);
    return static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8));
}

inline std::uint32_t ReadU32(ByteView data, std::size_t offset, const char* what = "field") {
    Require(data, offset, 4, what);
    return static_cast<std::uint32_t>(data[offset]) | (static_cast<std::uint32_t>(data[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(data[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(data[offset + 3]) << 24);
}

inline std::int32_t ReadI32(ByteView data, std::size_t offset, const char* what = "field") {
    return static_cast<std::int32_t>(ReadU32(data, offset, what));
}

inline void PutU16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void PutU32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

inline void WriteU16At(Bytes& out, std::size_t offset, std::uint16_t v) {
    out.at(offset) = static_cast<std::uint8_t>(v);
    out.at(offset + 1) = static_cast<std::uint8_t>(v >> 8);
}

inline void WriteU32At(Bytes& out, std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.at(offset + i) = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

inline std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
    return alignment == 0 ? value : (value + alignment - 1) / alignment * alignment;
}
