#pragma once
// Word loads and stores in a fixed byte order, compile-time unrolling for the compression
// functions, and a wipe the optimiser cannot drop. Shared by the hash units only.

#include "crypt/wipe.h"
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

namespace hash_words {

inline std::uint32_t LoadLE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::uint32_t LoadBE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

inline std::uint64_t LoadBE64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(LoadBE32(p)) << 32 | LoadBE32(p + 4);
}

// Stores a whole word, most significant byte first (BE) or least significant first (LE).
template <typename Word>
void StoreBE(std::uint8_t* p, Word w) {
    for (std::size_t i = 0; i < sizeof(Word); ++i) {
        p[i] = static_cast<std::uint8_t>(w >> (8 * (sizeof(Word) - 1 - i)));
    }
}

template <typename Word>
void StoreLE(std::uint8_t* p, Word w) {
    for (std::size_t i = 0; i < sizeof(Word); ++i) {
        p[i] = static_cast<std::uint8_t>(w >> (8 * i));
    }
}

// Calls f(std::integral_constant<std::size_t, I>) for I = 0 .. N-1, so that every step of a
// compression function sees its indexes and constants at compile time.
template <std::size_t N, typename F>
inline void Unroll(F&& f) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (f(std::integral_constant<std::size_t, I>{}), ...);
    }(std::make_index_sequence<N>{});
}

} // namespace hash_words
