#pragma once
// Word access for the block transforms: every standard fixes its own byte order, and the
// buffers handed to a cipher need not be aligned.

#include <cstdint>

inline std::uint32_t LoadBE32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

inline void StoreBE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

inline std::uint32_t LoadLE32(const std::uint8_t* p) {
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

inline void StoreLE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

// Byte n of a word, 0 being the most significant.
constexpr std::uint8_t ByteBE(std::uint32_t v, unsigned n) { return static_cast<std::uint8_t>(v >> (24 - 8 * n)); }
