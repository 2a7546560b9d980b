#include "crypt/sha1.h"

#include <bit>

namespace {
constexpr std::uint32_t kK[4] = {0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xCA62C1D6};

template <int Round>
std::uint32_t Mix(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    if constexpr (Round == 0) {
        return z ^ (x & (y ^ z)); // Ch
    } else if constexpr (Round == 2) {
        return (x & y) | (z & (x | y)); // Maj
    } else {
        return x ^ y ^ z; // Parity
    }
}
} // namespace

void TCrypt_sha1::LoadInitialValues() {
    CurrentHash = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
}

void TCrypt_sha1::Compress(const std::uint8_t* Block) {
    // The schedule lives in a 16-word window: W[t] overwrites W[t - 16].
    std::uint32_t w[16];
    for (int i = 0; i < 16; ++i) {
        w[i] = hash_words::LoadBE32(Block + 4 * i);
    }
    // The five registers rotate by name: in step i, "a" is r[-i mod 5], "b" r[1-i mod 5], ...
    std::uint32_t r[5] = {CurrentHash[0], CurrentHash[1], CurrentHash[2], CurrentHash[3],
                          CurrentHash[4]};
    hash_words::Unroll<80>([&](auto step) {
        constexpr int i = static_cast<int>(decltype(step)::value);
        constexpr int a = (80 - i) % 5, b = (81 - i) % 5, c = (82 - i) % 5, d = (83 - i) % 5,
                      e = (84 - i) % 5;
        if constexpr (i >= 16) {
            w[i % 16] = std::rotl(
                w[(i - 3) % 16] ^ w[(i - 8) % 16] ^ w[(i - 14) % 16] ^ w[i % 16], 1);
        }
        r[e] += std::rotl(r[a], 5) + Mix<i / 20>(r[b], r[c], r[d]) + w[i % 16] + kK[i / 20];
        r[b] = std::rotl(r[b], 30);
    });
    for (int i = 0; i < 5; ++i) {
        CurrentHash[i] += r[i];
    }
}

bool TCrypt_sha1::SelfTest() const {
    TCrypt_sha1 fresh;
    return KnownAnswer(fresh, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d");
}
