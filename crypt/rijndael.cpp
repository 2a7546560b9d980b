#include "crypt/rijndael.h"

#include "crypt/cipher_words.h"

#include <array>
#include <bit>
#include <cstring>

namespace {
constexpr std::uint8_t XTime(std::uint8_t x) {
    return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0));
}

constexpr std::uint8_t GfMul(std::uint8_t a, std::uint8_t b) {
    std::uint8_t r = 0;
    while (b != 0) {
        if (b & 1) {
            r ^= a;
        }
        a = XTime(a);
        b >>= 1;
    }
    return r;
}

// The S-box: multiplicative inverse in GF(2^8) followed by the affine map of FIPS 197 5.1.1.
constexpr std::array<std::uint8_t, 256> MakeSBox() {
    std::array<std::uint8_t, 256> s{};
    for (int x = 0; x < 256; ++x) {
        std::uint8_t inv = 0;
        for (int y = 1; y < 256 && x != 0; ++y) {
            if (GfMul(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) == 1) {
                inv = static_cast<std::uint8_t>(y);
                break;
            }
        }
        std::uint8_t b = inv;
        std::uint8_t r = 0x63;
        for (int i = 0; i < 5; ++i) {
            r ^= b;
            b = static_cast<std::uint8_t>((b << 1) | (b >> 7));
        }
        s[x] = r;
    }
    return s;
}
constexpr auto kSBox = MakeSBox();

constexpr std::array<std::uint8_t, 256> MakeInvSBox() {
    std::array<std::uint8_t, 256> s{};
    for (int x = 0; x < 256; ++x) {
        s[kSBox[x]] = static_cast<std::uint8_t>(x);
    }
    return s;
}
constexpr auto kInvSBox = MakeInvSBox();

constexpr std::uint32_t Word(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    return (std::uint32_t{a} << 24) | (std::uint32_t{b} << 16) | (std::uint32_t{c} << 8) | d;
}

// Round tables: SubBytes and MixColumns (or their inverses) for one byte of a column, in
// the four rotations.
using TTables = std::array<std::array<std::uint32_t, 256>, 4>;

constexpr TTables MakeEncTables() {
    TTables t{};
    for (int x = 0; x < 256; ++x) {
        const std::uint8_t s = kSBox[x];
        const std::uint32_t w = Word(GfMul(s, 2), s, s, GfMul(s, 3));
        for (int i = 0; i < 4; ++i) {
            t[i][x] = std::rotr(w, 8 * i);
        }
    }
    return t;
}

constexpr TTables MakeDecTables() {
    TTables t{};
    for (int x = 0; x < 256; ++x) {
        const std::uint8_t s = kInvSBox[x];
        const std::uint32_t w = Word(GfMul(s, 14), GfMul(s, 9), GfMul(s, 13), GfMul(s, 11));
        for (int i = 0; i < 4; ++i) {
            t[i][x] = std::rotr(w, 8 * i);
        }
    }
    return t;
}

constexpr TTables kTe = MakeEncTables();
constexpr TTables kTd = MakeDecTables();

inline std::uint32_t SubWord(std::uint32_t w) {
    return Word(kSBox[w >> 24], kSBox[(w >> 16) & 0xFF], kSBox[(w >> 8) & 0xFF], kSBox[w & 0xFF]);
}

inline std::uint32_t InvMixColumn(std::uint32_t w) {
    // Td applies InvSubBytes first, so feed it SubBytes of the word.
    return kTd[0][kSBox[w >> 24]] ^ kTd[1][kSBox[(w >> 16) & 0xFF]] ^ kTd[2][kSBox[(w >> 8) & 0xFF]] ^
           kTd[3][kSBox[w & 0xFF]];
}
} // namespace

TCrypt_rijndael::~TCrypt_rijndael() {
    if (Initialized()) {
        Burn();
    }
}

bool TCrypt_rijndael::SelfTest() {
    // FIPS 197 appendix C.1.
    static constexpr std::uint8_t key[16] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                             0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f};
    static constexpr std::uint8_t plain[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                               0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
    static constexpr std::uint8_t expected[16] = {0x69, 0xc4, 0xe0, 0xd8, 0x6a, 0x7b, 0x04, 0x30,
                                                  0xd8, 0xcd, 0xb7, 0x80, 0x70, 0xb4, 0xc5, 0x5a};
    TCrypt_rijndael probe;
    return BlockKnownAnswer(probe, key, 128, plain, expected);
}

void TCrypt_rijndael::Burn() {
    CryptWipe(rk, sizeof rk);
    CryptWipe(drk, sizeof drk);
    numrounds = 0;
    TCrypt_blockcipher128::Burn();
}

void TCrypt_rijndael::ScheduleKey(const void* Key, unsigned Size) {
    const std::size_t k = Size / 8;
    const unsigned Nk = k <= 16 ? 4 : k <= 24 ? 6 : 8;
    numrounds = Nk + 6;
    std::uint8_t padded[32] = {};
    std::memcpy(padded, Key, k);
    const unsigned total = 4 * (numrounds + 1);
    for (unsigned i = 0; i < Nk; ++i) {
        rk[i] = LoadBE32(padded + 4 * i);
    }
    CryptWipe(padded, sizeof padded);
    std::uint8_t rcon = 1;
    for (unsigned i = Nk; i < total; ++i) {
        std::uint32_t t = rk[i - 1];
        if (i % Nk == 0) {
            t = SubWord(std::rotl(t, 8)) ^ (std::uint32_t{rcon} << 24);
            rcon = XTime(rcon);
        } else if (Nk > 6 && i % Nk == 4) {
            t = SubWord(t);
        }
        rk[i] = rk[i - Nk] ^ t;
    }
    // The equivalent inverse cipher uses the round keys in reverse, with InvMixColumns on
    // all but the first and last.
    for (unsigned r = 0; r <= numrounds; ++r) {
        for (unsigned c = 0; c < 4; ++c) {
            const std::uint32_t w = rk[4 * (numrounds - r) + c];
            drk[4 * r + c] = (r == 0 || r == numrounds) ? w : InvMixColumn(w);
        }
    }
}

void TCrypt_rijndael::EncryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    const auto* in = static_cast<const std::uint8_t*>(Indata);
    auto* out = static_cast<std::uint8_t*>(Outdata);
    const std::uint32_t* k = rk;
    std::uint32_t s0 = LoadBE32(in) ^ k[0];
    std::uint32_t s1 = LoadBE32(in + 4) ^ k[1];
    std::uint32_t s2 = LoadBE32(in + 8) ^ k[2];
    std::uint32_t s3 = LoadBE32(in + 12) ^ k[3];
    for (unsigned r = 1; r < numrounds; ++r) {
        k += 4;
        const std::uint32_t t0 = kTe[0][s0 >> 24] ^ kTe[1][(s1 >> 16) & 0xFF] ^ kTe[2][(s2 >> 8) & 0xFF] ^ kTe[3][s3 & 0xFF] ^ k[0];
        const std::uint32_t t1 = kTe[0][s1 >> 24] ^ kTe[1][(s2 >> 16) & 0xFF] ^ kTe[2][(s3 >> 8) & 0xFF] ^ kTe[3][s0 & 0xFF] ^ k[1];
        const std::uint32_t t2 = kTe[0][s2 >> 24] ^ kTe[1][(s3 >> 16) & 0xFF] ^ kTe[2][(s0 >> 8) & 0xFF] ^ kTe[3][s1 & 0xFF] ^ k[2];
        const std::uint32_t t3 = kTe[0][s3 >> 24] ^ kTe[1][(s0 >> 16) & 0xFF] ^ kTe[2][(s1 >> 8) & 0xFF] ^ kTe[3][s2 & 0xFF] ^ k[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    k += 4;
    StoreBE32(out, Word(kSBox[s0 >> 24], kSBox[(s1 >> 16) & 0xFF], kSBox[(s2 >> 8) & 0xFF], kSBox[s3 & 0xFF]) ^ k[0]);
    StoreBE32(out + 4, Word(kSBox[s1 >> 24], kSBox[(s2 >> 16) & 0xFF], kSBox[(s3 >> 8) & 0xFF], kSBox[s0 & 0xFF]) ^ k[1]);
    StoreBE32(out + 8, Word(kSBox[s2 >> 24], kSBox[(s3 >> 16) & 0xFF], kSBox[(s0 >> 8) & 0xFF], kSBox[s1 & 0xFF]) ^ k[2]);
    StoreBE32(out + 12, Word(kSBox[s3 >> 24], kSBox[(s0 >> 16) & 0xFF], kSBox[(s1 >> 8) & 0xFF], kSBox[s2 & 0xFF]) ^ k[3]);
}

void TCrypt_rijndael::DecryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    const auto* in = static_cast<const std::uint8_t*>(Indata);
    auto* out = static_cast<std::uint8_t*>(Outdata);
    const std::uint32_t* k = drk;
    std::uint32_t s0 = LoadBE32(in) ^ k[0];
    std::uint32_t s1 = LoadBE32(in + 4) ^ k[1];
    std::uint32_t s2 = LoadBE32(in + 8) ^ k[2];
    std::uint32_t s3 = LoadBE32(in + 12) ^ k[3];
    for (unsigned r = 1; r < numrounds; ++r) {
        k += 4;
        const std::uint32_t t0 = kTd[0][s0 >> 24] ^ kTd[1][(s3 >> 16) & 0xFF] ^ kTd[2][(s2 >> 8) & 0xFF] ^ kTd[3][s1 & 0xFF] ^ k[0];
        const std::uint32_t t1 = kTd[0][s1 >> 24] ^ kTd[1][(s0 >> 16) & 0xFF] ^ kTd[2][(s3 >> 8) & 0xFF] ^ kTd[3][s2 & 0xFF] ^ k[1];
        const std::uint32_t t2 = kTd[0][s2 >> 24] ^ kTd[1][(s1 >> 16) & 0xFF] ^ kTd[2][(s0 >> 8) & 0xFF] ^ kTd[3][s3 & 0xFF] ^ k[2];
        const std::uint32_t t3 = kTd[0][s3 >> 24] ^ kTd[1][(s2 >> 16) & 0xFF] ^ kTd[2][(s1 >> 8) & 0xFF] ^ kTd[3][s0 & 0xFF] ^ k[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    k += 4;
    StoreBE32(out, Word(kInvSBox[s0 >> 24], kInvSBox[(s3 >> 16) & 0xFF], kInvSBox[(s2 >> 8) & 0xFF], kInvSBox[s1 & 0xFF]) ^ k[0]);
    StoreBE32(out + 4, Word(kInvSBox[s1 >> 24], kInvSBox[(s0 >> 16) & 0xFF], kInvSBox[(s3 >> 8) & 0xFF], kInvSBox[s2 & 0xFF]) ^ k[1]);
    StoreBE32(out + 8, Word(kInvSBox[s2 >> 24], kInvSBox[(s1 >> 16) & 0xFF], kInvSBox[(s0 >> 8) & 0xFF], kInvSBox[s3 & 0xFF]) ^ k[2]);
    StoreBE32(out + 12, Word(kInvSBox[s3 >> 24], kInvSBox[(s2 >> 16) & 0xFF], kInvSBox[(s1 >> 8) & 0xFF], kInvSBox[s0 & 0xFF]) ^ k[3]);
}
