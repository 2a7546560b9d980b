#include "crypt/sha512.h"

#include <bit>

namespace {
// The first 64 bits of the fractional parts of the cube roots of the first 80 primes.
constexpr std::uint64_t kK[80] = {
    0x428A2F98D728AE22ULL, 0x7137449123EF65CDULL,
    0xB5C0FBCFEC4D3B2FULL, 0xE9B5DBA58189DBBCULL,
    0x3956C25BF348B538ULL, 0x59F111F1B605D019ULL,
    0x923F82A4AF194F9BULL, 0xAB1C5ED5DA6D8118ULL,
    0xD807AA98A3030242ULL, 0x12835B0145706FBEULL,
    0x243185BE4EE4B28CULL, 0x550C7DC3D5FFB4E2ULL,
    0x72BE5D74F27B896FULL, 0x80DEB1FE3B1696B1ULL,
    0x9BDC06A725C71235ULL, 0xC19BF174CF692694ULL,
    0xE49B69C19EF14AD2ULL, 0xEFBE4786384F25E3ULL,
    0x0FC19DC68B8CD5B5ULL, 0x240CA1CC77AC9C65ULL,
    0x2DE92C6F592B0275ULL, 0x4A7484AA6EA6E483ULL,
    0x5CB0A9DCBD41FBD4ULL, 0x76F988DA831153B5ULL,
    0x983E5152EE66DFABULL, 0xA831C66D2DB43210ULL,
    0xB00327C898FB213FULL, 0xBF597FC7BEEF0EE4ULL,
    0xC6E00BF33DA88FC2ULL, 0xD5A79147930AA725ULL,
    0x06CA6351E003826FULL, 0x142929670A0E6E70ULL,
    0x27B70A8546D22FFCULL, 0x2E1B21385C26C926ULL,
    0x4D2C6DFC5AC42AEDULL, 0x53380D139D95B3DFULL,
    0x650A73548BAF63DEULL, 0x766A0ABB3C77B2A8ULL,
    0x81C2C92E47EDAEE6ULL, 0x92722C851482353BULL,
    0xA2BFE8A14CF10364ULL, 0xA81A664BBC423001ULL,
    0xC24B8B70D0F89791ULL, 0xC76C51A30654BE30ULL,
    0xD192E819D6EF5218ULL, 0xD69906245565A910ULL,
    0xF40E35855771202AULL, 0x106AA07032BBD1B8ULL,
    0x19A4C116B8D2D0C8ULL, 0x1E376C085141AB53ULL,
    0x2748774CDF8EEB99ULL, 0x34B0BCB5E19B48A8ULL,
    0x391C0CB3C5C95A63ULL, 0x4ED8AA4AE3418ACBULL,
    0x5B9CCA4F7763E373ULL, 0x682E6FF3D6B2B8A3ULL,
    0x748F82EE5DEFB2FCULL, 0x78A5636F43172F60ULL,
    0x84C87814A1F0AB72ULL, 0x8CC702081A6439ECULL,
    0x90BEFFFA23631E28ULL, 0xA4506CEBDE82BDE9ULL,
    0xBEF9A3F7B2C67915ULL, 0xC67178F2E372532BULL,
    0xCA273ECEEA26619CULL, 0xD186B8C721C0C207ULL,
    0xEADA7DD6CDE0EB1EULL, 0xF57D4F7FEE6ED178ULL,
    0x06F067AA72176FBAULL, 0x0A637DC5A2C898A6ULL,
    0x113F9804BEF90DAEULL, 0x1B710B35131C471BULL,
    0x28DB77F523047D84ULL, 0x32CAAB7B40C72493ULL,
    0x3C9EBE0A15C9BEBCULL, 0x431D67C49C100D4CULL,
    0x4CC5D4BECB3E42B6ULL, 0x597F299CFC657E2AULL,
    0x5FCB6FAB3AD6FAECULL, 0x6C44198C4A475817ULL,
};

std::uint64_t Sigma0(std::uint64_t x) {
    return std::rotr(x, 28) ^ std::rotr(x, 34) ^ std::rotr(x, 39);
}
std::uint64_t Sigma1(std::uint64_t x) {
    return std::rotr(x, 14) ^ std::rotr(x, 18) ^ std::rotr(x, 41);
}
std::uint64_t sigma0(std::uint64_t x) {
    return std::rotr(x, 1) ^ std::rotr(x, 8) ^ (x >> 7);
}
std::uint64_t sigma1(std::uint64_t x) {
    return std::rotr(x, 19) ^ std::rotr(x, 61) ^ (x >> 6);
}
} // namespace

void TCrypt_sha512base::Compress(const std::uint8_t* Block) {
    // The schedule lives in a 16-word window: W[t] overwrites W[t - 16].
    std::uint64_t w[16];
    for (int i = 0; i < 16; ++i) {
        w[i] = hash_words::LoadBE64(Block + 8 * i);
    }
    // The eight registers rotate by name: in step i, "a" is r[-i mod 8], "b" r[1-i mod 8], ...
    std::uint64_t r[8];
    for (int i = 0; i < 8; ++i) {
        r[i] = CurrentHash[i];
    }
    hash_words::Unroll<80>([&](auto step) {
        constexpr int i = static_cast<int>(decltype(step)::value);
        constexpr int a = (80 - i) % 8, b = (81 - i) % 8, c = (82 - i) % 8, d = (83 - i) % 8,
                      e = (84 - i) % 8, f = (85 - i) % 8, g = (86 - i) % 8, h = (87 - i) % 8;
        if constexpr (i >= 16) {
            w[i % 16] += sigma1(w[(i - 2) % 16]) + w[(i - 7) % 16] + sigma0(w[(i - 15) % 16]);
        }
        const std::uint64_t t1 =
            r[h] + Sigma1(r[e]) + (r[g] ^ (r[e] & (r[f] ^ r[g]))) + kK[i] + w[i % 16];
        const std::uint64_t t2 = Sigma0(r[a]) + ((r[a] & r[b]) | (r[c] & (r[a] | r[b])));
        r[d] += t1;
        r[h] = t1 + t2;
    });
    for (int i = 0; i < 8; ++i) {
        CurrentHash[i] += r[i];
    }
}

void TCrypt_sha512::LoadInitialValues() {
    CurrentHash = {0x6A09E667F3BCC908ULL, 0xBB67AE8584CAA73BULL, 0x3C6EF372FE94F82BULL,
                   0xA54FF53A5F1D36F1ULL, 0x510E527FADE682D1ULL, 0x9B05688C2B3E6C1FULL,
                   0x1F83D9ABFB41BD6BULL, 0x5BE0CD19137E2179ULL};
}

bool TCrypt_sha512::SelfTest() const {
    TCrypt_sha512 fresh;
    return KnownAnswer(fresh, "abc",
                       "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
                       "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f");
}
