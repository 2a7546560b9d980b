#include "crypt/md5.h"

#include <bit>

namespace {
// floor(2^32 * |sin(i)|) for i = 1 .. 64.
constexpr std::uint32_t kT[64] = {
    0xD76AA478, 0xE8C7B756, 0x242070DB, 0xC1BDCEEE, 0xF57C0FAF, 0x4787C62A, 0xA8304613,
    0xFD469501, 0x698098D8, 0x8B44F7AF, 0xFFFF5BB1, 0x895CD7BE, 0x6B901122, 0xFD987193,
    0xA679438E, 0x49B40821, 0xF61E2562, 0xC040B340, 0x265E5A51, 0xE9B6C7AA, 0xD62F105D,
    0x02441453, 0xD8A1E681, 0xE7D3FBC8, 0x21E1CDE6, 0xC33707D6, 0xF4D50D87, 0x455A14ED,
    0xA9E3E905, 0xFCEFA3F8, 0x676F02D9, 0x8D2A4C8A, 0xFFFA3942, 0x8771F681, 0x6D9D6122,
    0xFDE5380C, 0xA4BEEA44, 0x4BDECFA9, 0xF6BB4B60, 0xBEBFBC70, 0x289B7EC6, 0xEAA127FA,
    0xD4EF3085, 0x04881D05, 0xD9D4D039, 0xE6DB99E5, 0x1FA27CF8, 0xC4AC5665, 0xF4292244,
    0x432AFF97, 0xAB9423A7, 0xFC93A039, 0x655B59C3, 0x8F0CCC92, 0xFFEFF47D, 0x85845DD1,
    0x6FA87E4F, 0xFE2CE6E0, 0xA3014314, 0x4E0811A1, 0xF7537E82, 0xBD3AF235, 0x2AD7D2BB,
    0xEB86D391,
};

// Per round: the four rotation amounts, and the message word of step i as (a + b*i) mod 16.
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};
constexpr int kWordStart[4] = {0, 1, 5, 0};
constexpr int kWordStep[4] = {1, 5, 3, 7};

template <int Round>
std::uint32_t Mix(std::uint32_t x, std::uint32_t y, std::uint32_t z) {
    if constexpr (Round == 0) {
        return z ^ (x & (y ^ z));
    } else if constexpr (Round == 1) {
        return y ^ (z & (x ^ y));
    } else if constexpr (Round == 2) {
        return x ^ y ^ z;
    } else {
        return y ^ (x | ~z);
    }
}
} // namespace

void TCrypt_md5::LoadInitialValues() {
    CurrentHash = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
}

void TCrypt_md5::Compress(const std::uint8_t* Block) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = hash_words::LoadLE32(Block + 4 * i);
    }
    // The registers rotate by name: in step i, "a" is r[-i mod 4], "b" r[1-i mod 4], ...
    std::uint32_t r[4] = {CurrentHash[0], CurrentHash[1], CurrentHash[2], CurrentHash[3]};
    hash_words::Unroll<64>([&](auto step) {
        constexpr int i = static_cast<int>(decltype(step)::value);
        constexpr int round = i / 16;
        constexpr int a = (64 - i) % 4, b = (65 - i) % 4, c = (66 - i) % 4, d = (67 - i) % 4;
        constexpr int k = (kWordStart[round] + kWordStep[round] * (i % 16)) % 16;
        r[a] = r[b] + std::rotl(r[a] + Mix<round>(r[b], r[c], r[d]) + x[k] + kT[i],
                                kShift[round][i % 4]);
    });
    for (int i = 0; i < 4; ++i) {
        CurrentHash[i] += r[i];
    }
}

bool TCrypt_md5::SelfTest() const {
    TCrypt_md5 fresh;
    return KnownAnswer(fresh, "abc", "900150983cd24fb0d6963f7d28e17f72");
}
