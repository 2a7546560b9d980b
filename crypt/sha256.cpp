#include "crypt/sha256.h"

#include <bit>

namespace {
// The first 32 bits of the fractional parts of the cube roots of the first 64 primes.
constexpr std::uint32_t kK[64] = {
    0x428A2F98, 0x71374491, 0xB5C0FBCF, 0xE9B5DBA5,
    0x3956C25B, 0x59F111F1, 0x923F82A4, 0xAB1C5ED5,
    0xD807AA98, 0x12835B01, 0x243185BE, 0x550C7DC3,
    0x72BE5D74, 0x80DEB1FE, 0x9BDC06A7, 0xC19BF174,
    0xE49B69C1, 0xEFBE4786, 0x0FC19DC6, 0x240CA1CC,
    0x2DE92C6F, 0x4A7484AA, 0x5CB0A9DC, 0x76F988DA,
    0x983E5152, 0xA831C66D, 0xB00327C8, 0xBF597FC7,
    0xC6E00BF3, 0xD5A79147, 0x06CA6351, 0x14292967,
    0x27B70A85, 0x2E1B2138, 0x4D2C6DFC, 0x53380D13,
    0x650A7354, 0x766A0ABB, 0x81C2C92E, 0x92722C85,
    0xA2BFE8A1, 0xA81A664B, 0xC24B8B70, 0xC76C51A3,
    0xD192E819, 0xD6990624, 0xF40E3585, 0x106AA070,
    0x19A4C116, 0x1E376C08, 0x2748774C, 0x34B0BCB5,
    0x391C0CB3, 0x4ED8AA4A, 0x5B9CCA4F, 0x682E6FF3,
    0x748F82EE, 0x78A5636F, 0x84C87814, 0x8CC70208,
    0x90BEFFFA, 0xA4506CEB, 0xBEF9A3F7, 0xC67178F2,
};

std::uint32_t Sigma0(std::uint32_t x) {
    return std::rotr(x, 2) ^ std::rotr(x, 13) ^ std::rotr(x, 22);
}
std::uint32_t Sigma1(std::uint32_t x) {
    return std::rotr(x, 6) ^ std::rotr(x, 11) ^ std::rotr(x, 25);
}
std::uint32_t sigma0(std::uint32_t x) {
    return std::rotr(x, 7) ^ std::rotr(x, 18) ^ (x >> 3);
}
std::uint32_t sigma1(std::uint32_t x) {
    return std::rotr(x, 17) ^ std::rotr(x, 19) ^ (x >> 10);
}
} // namespace

void TCrypt_sha256::LoadInitialValues() {
    CurrentHash = {0x6A09E667, 0xBB67AE85, 0x3C6EF372, 0xA54FF53A,
                   0x510E527F, 0x9B05688C, 0x1F83D9AB, 0x5BE0CD19};
}

void TCrypt_sha256::Compress(const std::uint8_t* Block) {
    // The schedule lives in a 16-word window: W[t] overwrites W[t - 16].
    std::uint32_t w[16];
    for (int i = 0; i < 16; ++i) {
        w[i] = hash_words::LoadBE32(Block + 4 * i);
    }
    // The eight registers rotate by name: in step i, "a" is r[-i mod 8], "b" r[1-i mod 8], ...
    std::uint32_t r[8];
    for (int i = 0; i < 8; ++i) {
        r[i] = CurrentHash[i];
    }
    hash_words::Unroll<64>([&](auto step) {
        constexpr int i = static_cast<int>(decltype(step)::value);
        constexpr int a = (64 - i) % 8, b = (65 - i) % 8, c = (66 - i) % 8, d = (67 - i) % 8,
                      e = (68 - i) % 8, f = (69 - i) % 8, g = (70 - i) % 8, h = (71 - i) % 8;
        if constexpr (i >= 16) {
            w[i % 16] += sigma1(w[(i - 2) % 16]) + w[(i - 7) % 16] + sigma0(w[(i - 15) % 16]);
        }
        const std::uint32_t t1 =
            r[h] + Sigma1(r[e]) + (r[g] ^ (r[e] & (r[f] ^ r[g]))) + kK[i] + w[i % 16];
        const std::uint32_t t2 = Sigma0(r[a]) + ((r[a] & r[b]) | (r[c] & (r[a] | r[b])));
        r[d] += t1;
        r[h] = t1 + t2;
    });
    for (int i = 0; i < 8; ++i) {
        CurrentHash[i] += r[i];
    }
}

bool TCrypt_sha256::SelfTest() const {
    TCrypt_sha256 fresh;
    return KnownAnswer(fresh, "abc",
                       "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}
