#include "crypt/cast256.h"

#include "crypt/cast_sboxes.h"
#include "crypt/cipher_words.h"

#include <array>
#include <bit>
#include <cstring>

namespace {
const auto& S1 = kCastS[0];
const auto& S2 = kCastS[1];
const auto& S3 = kCastS[2];
const auto& S4 = kCastS[3];

inline std::uint32_t F1(std::uint32_t D, std::uint32_t Km, unsigned Kr) {
    const std::uint32_t I = std::rotl(Km + D, static_cast<int>(Kr));
    return ((S1[I >> 24] ^ S2[(I >> 16) & 0xFF]) - S3[(I >> 8) & 0xFF]) + S4[I & 0xFF];
}
inline std::uint32_t F2(std::uint32_t D, std::uint32_t Km, unsigned Kr) {
    const std::uint32_t I = std::rotl(Km ^ D, static_cast<int>(Kr));
    return ((S1[I >> 24] - S2[(I >> 16) & 0xFF]) + S3[(I >> 8) & 0xFF]) ^ S4[I & 0xFF];
}
inline std::uint32_t F3(std::uint32_t D, std::uint32_t Km, unsigned Kr) {
    const std::uint32_t I = std::rotl(Km - D, static_cast<int>(Kr));
    return ((S1[I >> 24] + S2[(I >> 16) & 0xFF]) ^ S3[(I >> 8) & 0xFF]) - S4[I & 0xFF];
}

// The key schedule's masking and rotation constants Tm and Tr, 24 octaves of eight.
struct TKeyConstants {
    std::uint32_t Tm[24][8];
    std::uint8_t Tr[24][8];
};

constexpr TKeyConstants MakeKeyConstants() {
    TKeyConstants t{};
    std::uint32_t Cm = 0x5A827999;  // 2^30 * sqrt(2)
    const std::uint32_t Mm = 0x6ED9EBA1;  // 2^30 * sqrt(3)
    unsigned Cr = 19;
    const unsigned Mr = 17;
    for (int i = 0; i < 24; ++i) {
        for (int j = 0; j < 8; ++j) {
            t.Tm[i][j] = Cm;
            Cm += Mm;
            t.Tr[i][j] = static_cast<std::uint8_t>(Cr);
            Cr = (Cr + Mr) % 32;
        }
    }
    return t;
}
constexpr TKeyConstants kT = MakeKeyConstants();

// One forward octave of the key schedule on the eight key words A..H.
inline void Octave(std::uint32_t (&k)[8], int i) {
    const auto& m = kT.Tm[i];
    const auto& r = kT.Tr[i];
    k[6] ^= F1(k[7], m[0], r[0]);
    k[5] ^= F2(k[6], m[1], r[1]);
    k[4] ^= F3(k[5], m[2], r[2]);
    k[3] ^= F1(k[4], m[3], r[3]);
    k[2] ^= F2(k[3], m[4], r[4]);
    k[1] ^= F3(k[2], m[5], r[5]);
    k[0] ^= F1(k[1], m[6], r[6]);
    k[7] ^= F2(k[0], m[7], r[7]);
}
} // namespace

TCrypt_cast256::~TCrypt_cast256() {
    if (Initialized()) {
        Burn();
    }
}

bool TCrypt_cast256::SelfTest() {
    // RFC 2612 appendix, 128-bit key, zero plaintext.
    static constexpr std::uint8_t key[16] = {0x23, 0x42, 0xbb, 0x9e, 0xfa, 0x38, 0x54, 0x2c,
                                             0x0a, 0xf7, 0x56, 0x47, 0xf2, 0x9f, 0x61, 0x5d};
    static constexpr std::uint8_t plain[16] = {};
    static constexpr std::uint8_t expected[16] = {0xc8, 0x42, 0xa0, 0x89, 0x72, 0xb4, 0x3d, 0x20,
                                                  0x83, 0x6c, 0x91, 0xd1, 0xb7, 0x53, 0x0f, 0x6b};
    TCrypt_cast256 probe;
    return BlockKnownAnswer(probe, key, 128, plain, expected);
}

void TCrypt_cast256::Burn() {
    CryptWipe(Kr, sizeof Kr);
    CryptWipe(Km, sizeof Km);
    TCrypt_blockcipher128::Burn();
}

void TCrypt_cast256::ScheduleKey(const void* Key, unsigned Size) {
    std::uint8_t padded[32] = {};
    std::memcpy(padded, Key, Size / 8);
    std::uint32_t k[8];
    for (int i = 0; i < 8; ++i) {
        k[i] = LoadBE32(padded + 4 * i);
    }
    CryptWipe(padded, sizeof padded);
    for (int i = 0; i < 12; ++i) {
        Octave(k, 2 * i);
        Octave(k, 2 * i + 1);
        Kr[i][0] = static_cast<std::uint8_t>(k[0] & 31);
        Kr[i][1] = static_cast<std::uint8_t>(k[2] & 31);
        Kr[i][2] = static_cast<std::uint8_t>(k[4] & 31);
        Kr[i][3] = static_cast<std::uint8_t>(k[6] & 31);
        Km[i][0] = k[7];
        Km[i][1] = k[5];
        Km[i][2] = k[3];
        Km[i][3] = k[1];
    }
    CryptWipe(k, sizeof k);
}

void TCrypt_cast256::EncryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    const auto* in = static_cast<const std::uint8_t*>(Indata);
    auto* out = static_cast<std::uint8_t*>(Outdata);
    std::uint32_t A = LoadBE32(in);
    std::uint32_t B = LoadBE32(in + 4);
    std::uint32_t C = LoadBE32(in + 8);
    std::uint32_t D = LoadBE32(in + 12);
    for (int i = 0; i < 6; ++i) {
        C ^= F1(D, Km[i][0], Kr[i][0]);
        B ^= F2(C, Km[i][1], Kr[i][1]);
        A ^= F3(B, Km[i][2], Kr[i][2]);
        D ^= F1(A, Km[i][3], Kr[i][3]);
    }
    for (int i = 6; i < 12; ++i) {
        D ^= F1(A, Km[i][3], Kr[i][3]);
        A ^= F3(B, Km[i][2], Kr[i][2]);
        B ^= F2(C, Km[i][1], Kr[i][1]);
        C ^= F1(D, Km[i][0], Kr[i][0]);
    }
    StoreBE32(out, A);
    StoreBE32(out + 4, B);
    StoreBE32(out + 8, C);
    StoreBE32(out + 12, D);
}

void TCrypt_cast256::DecryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    const auto* in = static_cast<const std::uint8_t*>(Indata);
    auto* out = static_cast<std::uint8_t*>(Outdata);
    std::uint32_t A = LoadBE32(in);
    std::uint32_t B = LoadBE32(in + 4);
    std::uint32_t C = LoadBE32(in + 8);
    std::uint32_t D = LoadBE32(in + 12);
    for (int i = 11; i >= 6; --i) {
        C ^= F1(D, Km[i][0], Kr[i][0]);
        B ^= F2(C, Km[i][1], Kr[i][1]);
        A ^= F3(B, Km[i][2], Kr[i][2]);
        D ^= F1(A, Km[i][3], Kr[i][3]);
    }
    for (int i = 5; i >= 0; --i) {
        D ^= F1(A, Km[i][3], Kr[i][3]);
        A ^= F3(B, Km[i][2], Kr[i][2]);
        B ^= F2(C, Km[i][1], Kr[i][1]);
        C ^= F1(D, Km[i][0], Kr[i][0]);
    }
    StoreBE32(out, A);
    StoreBE32(out + 4, B);
    StoreBE32(out + 8, C);
    StoreBE32(out + 12, D);
}
