#include "crypt/twofish.h"

#include "crypt/cipher_words.h"

#include <array>
#include <bit>
#include <cstring>

namespace {
using TPermutation = std::array<std::uint8_t, 256>;

// q0 and q1 from their four 4-bit permutations each (Twofish paper, 4.3.5).
constexpr std::uint8_t kQ0t[4][16] = {{0x8, 0x1, 0x7, 0xD, 0x6, 0xF, 0x3, 0x2, 0x0, 0xB, 0x5, 0x9, 0xE, 0xC, 0xA, 0x4},
                                      {0xE, 0xC, 0xB, 0x8, 0x1, 0x2, 0x3, 0x5, 0xF, 0x4, 0xA, 0x6, 0x7, 0x0, 0x9, 0xD},
                                      {0xB, 0xA, 0x5, 0xE, 0x6, 0xD, 0x9, 0x0, 0xC, 0x8, 0xF, 0x3, 0x2, 0x4, 0x7, 0x1},
                                      {0xD, 0x7, 0xF, 0x4, 0x1, 0x2, 0x6, 0xE, 0x9, 0xB, 0x3, 0x0, 0x8, 0x5, 0xC, 0xA}};
constexpr std::uint8_t kQ1t[4][16] = {{0x2, 0x8, 0xB, 0xD, 0xF, 0x7, 0x6, 0xE, 0x3, 0x1, 0x9, 0x4, 0x0, 0xA, 0xC, 0x5},
                                      {0x1, 0xE, 0x2, 0xB, 0x4, 0xC, 0x3, 0x7, 0x6, 0xD, 0xA, 0x5, 0xF, 0x9, 0x0, 0x8},
                                      {0x4, 0xC, 0x7, 0x5, 0x1, 0x6, 0x9, 0xA, 0x0, 0xE, 0xD, 0x8, 0x2, 0xB, 0x3, 0xF},
                                      {0xB, 0x9, 0x5, 0x1, 0xC, 0x3, 0xD, 0xE, 0x6, 0x4, 0x7, 0xF, 0x2, 0x0, 0x8, 0xA}};

constexpr TPermutation MakeQ(const std::uint8_t (&t)[4][16]) {
    TPermutation q{};
    auto ror4 = [](unsigned x) { return ((x >> 1) | (x << 3)) & 0xF; };
    for (unsigned x = 0; x < 256; ++x) {
        unsigned a = x >> 4;
        unsigned b = x & 0xF;
        unsigned a1 = a ^ b;
        unsigned b1 = (a ^ ror4(b) ^ (8 * a)) & 0xF;
        a = t[0][a1];
        b = t[1][b1];
        a1 = a ^ b;
        b1 = (a ^ ror4(b) ^ (8 * a)) & 0xF;
        a = t[2][a1];
        b = t[3][b1];
        q[x] = static_cast<std::uint8_t>(16 * b + a);
    }
    return q;
}
constexpr TPermutation kQ0 = MakeQ(kQ0t);
constexpr TPermutation kQ1 = MakeQ(kQ1t);

// Multiplication in GF(2^8) modulo the given primitive polynomial.
constexpr std::uint8_t GfMul(std::uint8_t a, std::uint8_t b, unsigned poly) {
    unsigned r = 0;
    unsigned x = a;
    while (b != 0) {
        if (b & 1) {
            r ^= x;
        }
        x <<= 1;
        if (x & 0x100) {
            x ^= poly;
        }
        b >>= 1;
    }
    return static_cast<std::uint8_t>(r);
}

constexpr unsigned kMdsPoly = 0x169;  // x^8 + x^6 + x^5 + x^3 + 1
constexpr unsigned kRsPoly = 0x14D;   // x^8 + x^6 + x^3 + x^2 + 1
constexpr std::uint8_t kMds[4][4] = {
    {0x01, 0xEF, 0x5B, 0x5B}, {0x5B, 0xEF, 0xEF, 0x01}, {0xEF, 0x5B, 0x01, 0xEF}, {0xEF, 0x01, 0xEF, 0x5B}};
constexpr std::uint8_t kRs[4][8] = {{0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
                                    {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
                                    {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
                                    {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};

// Column j of the MDS matrix times each byte value, as a little-endian word; every key's
// S-boxes are built on it, so it is made once per process.
struct TMdsTable {
    std::uint32_t Column[4][256];
};

const TMdsTable& MdsTable() {
    static const TMdsTable table = [] {
        TMdsTable t{};
        for (int j = 0; j < 4; ++j) {
            for (int v = 0; v < 256; ++v) {
                std::uint32_t w = 0;
                for (int i = 0; i < 4; ++i) {
                    w |= std::uint32_t{GfMul(kMds[i][j], static_cast<std::uint8_t>(v), kMdsPoly)} << (8 * i);
                }
                t.Column[j][v] = w;
            }
        }
        return t;
    }();
    return table;
}

// The byte permutations of h for key length k words (2, 3 or 4): byte j of the input
// through its chain of q's with key bytes l[m] (byte j of word m) in between.
inline std::uint8_t HByte(unsigned j, std::uint8_t x, const std::uint32_t* L, unsigned k) {
    auto lb = [L, j](unsigned m) { return static_cast<std::uint8_t>(L[m] >> (8 * j)); };
    if (k == 4) {
        x = (j == 0 || j == 3 ? kQ1[x] : kQ0[x]) ^ lb(3);
    }
    if (k >= 3) {
        x = (j <= 1 ? kQ1[x] : kQ0[x]) ^ lb(2);
    }
    switch (j) {
    case 0: return kQ1[kQ0[kQ0[x] ^ lb(1)] ^ lb(0)];
    case 1: return kQ0[kQ0[kQ1[x] ^ lb(1)] ^ lb(0)];
    case 2: return kQ1[kQ1[kQ0[x] ^ lb(1)] ^ lb(0)];
    default: return kQ0[kQ1[kQ1[x] ^ lb(1)] ^ lb(0)];
    }
}

inline std::uint32_t H(std::uint32_t X, const std::uint32_t* L, unsigned k) {
    const TMdsTable& mds = MdsTable();
    std::uint32_t r = 0;
    for (unsigned j = 0; j < 4; ++j) {
        r ^= mds.Column[j][HByte(j, static_cast<std::uint8_t>(X >> (8 * j)), L, k)];
    }
    return r;
}
} // namespace

TCrypt_twofish::TCrypt_twofish() { MdsTable(); }

TCrypt_twofish::~TCrypt_twofish() {
    if (Initialized()) {
        Burn();
    }
}

bool TCrypt_twofish::SelfTest() {
    // Twofish paper, appendix A.1: 128-bit zero key, zero plaintext.
    static constexpr std::uint8_t key[16] = {};
    static constexpr std::uint8_t plain[16] = {};
    static constexpr std::uint8_t expected[16] = {0x9F, 0x58, 0x9F, 0x5C, 0xF6, 0x12, 0x2C, 0x32,
                                                  0xB6, 0xBF, 0xEC, 0x2F, 0x2A, 0xE8, 0xC3, 0x5A};
    TCrypt_twofish probe;
    return BlockKnownAnswer(probe, key, 128, plain, expected);
}

void TCrypt_twofish::Burn() {
    CryptWipe(SubKeys, sizeof SubKeys);
    CryptWipe(sbox, sizeof sbox);
    TCrypt_blockcipher128::Burn();
}

void TCrypt_twofish::ScheduleKey(const void* Key, unsigned Size) {
    const unsigned bits = Size <= 128 ? 128 : Size <= 192 ? 192 : 256;
    const unsigned k = bits / 64;
    std::uint8_t m[32] = {};
    std::memcpy(m, Key, Size / 8);

    std::uint32_t Me[4] = {};
    std::uint32_t Mo[4] = {};
    std::uint32_t S[4] = {};
    for (unsigned i = 0; i < k; ++i) {
        Me[i] = LoadLE32(m + 8 * i);
        Mo[i] = LoadLE32(m + 8 * i + 4);
        // S_i = RS times key bytes 8i..8i+7; the S words are used in reverse order.
        std::uint32_t s = 0;
        for (int row = 0; row < 4; ++row) {
            std::uint8_t acc = 0;
            for (int c = 0; c < 8; ++c) {
                acc ^= GfMul(kRs[row][c], m[8 * i + c], kRsPoly);
            }
            s |= std::uint32_t{acc} << (8 * row);
        }
        S[k - 1 - i] = s;
    }
    CryptWipe(m, sizeof m);

    constexpr std::uint32_t rho = 0x01010101;
    for (std::uint32_t i = 0; i < 20; ++i) {
        const std::uint32_t A = H(2 * i * rho, Me, k);
        const std::uint32_t B = std::rotl(H((2 * i + 1) * rho, Mo, k), 8);
        SubKeys[2 * i] = A + B;
        SubKeys[2 * i + 1] = std::rotl(A + 2 * B, 9);
    }

    const TMdsTable& mds = MdsTable();
    for (unsigned j = 0; j < 4; ++j) {
        for (unsigned x = 0; x < 256; ++x) {
            sbox[j][x] = mds.Column[j][HByte(j, static_cast<std::uint8_t>(x), S, k)];
        }
    }
    CryptWipe(Me, sizeof Me);
    CryptWipe(Mo, sizeof Mo);
    CryptWipe(S, sizeof S);
}

inline std::uint32_t TCrypt_twofish::G(std::uint32_t x) const {
    return sbox[0][x & 0xFF] ^ sbox[1][(x >> 8) & 0xFF] ^ sbox[2][(x >> 16) & 0xFF] ^ sbox[3][x >> 24];
}

void TCrypt_twofish::EncryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    const auto* in = static_cast<const std::uint8_t*>(Indata);
    auto* out = static_cast<std::uint8_t*>(Outdata);
    std::uint32_t R0 = LoadLE32(in) ^ SubKeys[0];
    std::uint32_t R1 = LoadLE32(in + 4) ^ SubKeys[1];
    std::uint32_t R2 = LoadLE32(in + 8) ^ SubKeys[2];
    std::uint32_t R3 = LoadLE32(in + 12) ^ SubKeys[3];
    for (int r = 0; r < 16; r += 2) {
        std::uint32_t T0 = G(R0);
        std::uint32_t T1 = G(std::rotl(R1, 8));
        R2 = std::rotr(R2 ^ (T0 + T1 + SubKeys[2 * r + 8]), 1);
        R3 = std::rotl(R3, 1) ^ (T0 + 2 * T1 + SubKeys[2 * r + 9]);
        T0 = G(R2);
        T1 = G(std::rotl(R3, 8));
        R0 = std::rotr(R0 ^ (T0 + T1 + SubKeys[2 * r + 10]), 1);
        R1 = std::rotl(R1, 1) ^ (T0 + 2 * T1 + SubKeys[2 * r + 11]);
    }
    StoreLE32(out, R2 ^ SubKeys[4]);
    StoreLE32(out + 4, R3 ^ SubKeys[5]);
    StoreLE32(out + 8, R0 ^ SubKeys[6]);
    StoreLE32(out + 12, R1 ^ SubKeys[7]);
}

void TCrypt_twofish::DecryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    const auto* in = static_cast<const std::uint8_t*>(Indata);
    auto* out = static_cast<std::uint8_t*>(Outdata);
    std::uint32_t R2 = LoadLE32(in) ^ SubKeys[4];
    std::uint32_t R3 = LoadLE32(in + 4) ^ SubKeys[5];
    std::uint32_t R0 = LoadLE32(in + 8) ^ SubKeys[6];
    std::uint32_t R1 = LoadLE32(in + 12) ^ SubKeys[7];
    for (int r = 14; r >= 0; r -= 2) {
        std::uint32_t T0 = G(R2);
        std::uint32_t T1 = G(std::rotl(R3, 8));
        R0 = std::rotl(R0, 1) ^ (T0 + T1 + SubKeys[2 * r + 10]);
        R1 = std::rotr(R1 ^ (T0 + 2 * T1 + SubKeys[2 * r + 11]), 1);
        T0 = G(R0);
        T1 = G(std::rotl(R1, 8));
        R2 = std::rotl(R2, 1) ^ (T0 + T1 + SubKeys[2 * r + 8]);
        R3 = std::rotr(R3 ^ (T0 + 2 * T1 + SubKeys[2 * r + 9]), 1);
    }
    StoreLE32(out, R0 ^ SubKeys[0]);
    StoreLE32(out + 4, R1 ^ SubKeys[1]);
    StoreLE32(out + 8, R2 ^ SubKeys[2]);
    StoreLE32(out + 12, R3 ^ SubKeys[3]);
}
