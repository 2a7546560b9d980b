#include "crypt/cast128.h"

#include "crypt/cast_sboxes.h"
#include "crypt/cipher_words.h"

#include <bit>
#include <cstring>

namespace {
const auto& S1 = kCastS[0];
const auto& S2 = kCastS[1];
const auto& S3 = kCastS[2];
const auto& S4 = kCastS[3];
const auto& S5 = kCastS[4];
const auto& S6 = kCastS[5];
const auto& S7 = kCastS[6];
const auto& S8 = kCastS[7];

// The three round functions; round i (from 0) uses type i mod 3.
inline std::uint32_t F1(std::uint32_t D, std::uint32_t Km, std::uint32_t Kr) {
    const std::uint32_t I = std::rotl(Km + D, static_cast<int>(Kr));
    return ((S1[I >> 24] ^ S2[(I >> 16) & 0xFF]) - S3[(I >> 8) & 0xFF]) + S4[I & 0xFF];
}
inline std::uint32_t F2(std::uint32_t D, std::uint32_t Km, std::uint32_t Kr) {
    const std::uint32_t I = std::rotl(Km ^ D, static_cast<int>(Kr));
    return ((S1[I >> 24] - S2[(I >> 16) & 0xFF]) + S3[(I >> 8) & 0xFF]) ^ S4[I & 0xFF];
}
inline std::uint32_t F3(std::uint32_t D, std::uint32_t Km, std::uint32_t Kr) {
    const std::uint32_t I = std::rotl(Km - D, static_cast<int>(Kr));
    return ((S1[I >> 24] + S2[(I >> 16) & 0xFF]) ^ S3[(I >> 8) & 0xFF]) - S4[I & 0xFF];
}
} // namespace

TCrypt_cast128::~TCrypt_cast128() {
    if (Initialized()) {
        Burn();
    }
}

bool TCrypt_cast128::SelfTest() {
    // RFC 2144 appendix B.1, 128-bit key.
    static constexpr std::uint8_t key[16] = {0x01, 0x23, 0x45, 0x67, 0x12, 0x34, 0x56, 0x78,
                                             0x23, 0x45, 0x67, 0x89, 0x34, 0x56, 0x78, 0x9A};
    static constexpr std::uint8_t plain[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    static constexpr std::uint8_t expected[8] = {0x23, 0x8B, 0x4F, 0xE5, 0x84, 0x7E, 0x44, 0xB2};
    TCrypt_cast128 probe;
    return BlockKnownAnswer(probe, key, 128, plain, expected);
}

void TCrypt_cast128::Burn() {
    CryptWipe(KeyData, sizeof KeyData);
    Rounds = 0;
    TCrypt_blockcipher64::Burn();
}

void TCrypt_cast128::ScheduleKey(const void* Key, unsigned Size) {
    const std::size_t k = Size / 8;
    std::uint8_t padded[16] = {};
    std::memcpy(padded, Key, k);
    Rounds = k <= 10 ? 12 : 16;

    std::uint32_t x[4];
    std::uint32_t z[4];
    for (int i = 0; i < 4; ++i) {
        x[i] = LoadBE32(padded + 4 * i);
    }
    CryptWipe(padded, sizeof padded);
    // Byte n of x0..xF and z0..zF, numbered as the key schedule numbers them.
    auto xb = [&x](unsigned n) { return ByteBE(x[n >> 2], n & 3); };
    auto zb = [&z](unsigned n) { return ByteBE(z[n >> 2], n & 3); };

    std::uint32_t* K = KeyData;
    for (int half = 0; half < 2; ++half) {
        z[0] = x[0] ^ S5[xb(0xD)] ^ S6[xb(0xF)] ^ S7[xb(0xC)] ^ S8[xb(0xE)] ^ S7[xb(0x8)];
        z[1] = x[2] ^ S5[zb(0x0)] ^ S6[zb(0x2)] ^ S7[zb(0x1)] ^ S8[zb(0x3)] ^ S8[xb(0xA)];
        z[2] = x[3] ^ S5[zb(0x7)] ^ S6[zb(0x6)] ^ S7[zb(0x5)] ^ S8[zb(0x4)] ^ S5[xb(0x9)];
        z[3] = x[1] ^ S5[zb(0xA)] ^ S6[zb(0x9)] ^ S7[zb(0xB)] ^ S8[zb(0x8)] ^ S6[xb(0xB)];
        *K++ = S5[zb(0x8)] ^ S6[zb(0x9)] ^ S7[zb(0x7)] ^ S8[zb(0x6)] ^ S5[zb(0x2)];
        *K++ = S5[zb(0xA)] ^ S6[zb(0xB)] ^ S7[zb(0x5)] ^ S8[zb(0x4)] ^ S6[zb(0x6)];
        *K++ = S5[zb(0xC)] ^ S6[zb(0xD)] ^ S7[zb(0x3)] ^ S8[zb(0x2)] ^ S7[zb(0x9)];
        *K++ = S5[zb(0xE)] ^ S6[zb(0xF)] ^ S7[zb(0x1)] ^ S8[zb(0x0)] ^ S8[zb(0xC)];
        x[0] = z[2] ^ S5[zb(0x5)] ^ S6[zb(0x7)] ^ S7[zb(0x4)] ^ S8[zb(0x6)] ^ S7[zb(0x0)];
        x[1] = z[0] ^ S5[xb(0x0)] ^ S6[xb(0x2)] ^ S7[xb(0x1)] ^ S8[xb(0x3)] ^ S8[zb(0x2)];
        x[2] = z[1] ^ S5[xb(0x7)] ^ S6[xb(0x6)] ^ S7[xb(0x5)] ^ S8[xb(0x4)] ^ S5[zb(0x1)];
        x[3] = z[3] ^ S5[xb(0xA)] ^ S6[xb(0x9)] ^ S7[xb(0xB)] ^ S8[xb(0x8)] ^ S6[zb(0x3)];
        *K++ = S5[xb(0x3)] ^ S6[xb(0x2)] ^ S7[xb(0xC)] ^ S8[xb(0xD)] ^ S5[xb(0x8)];
        *K++ = S5[xb(0x1)] ^ S6[xb(0x0)] ^ S7[xb(0xE)] ^ S8[xb(0xF)] ^ S6[xb(0xD)];
        *K++ = S5[xb(0x7)] ^ S6[xb(0x6)] ^ S7[xb(0x8)] ^ S8[xb(0x9)] ^ S7[xb(0x3)];
        *K++ = S5[xb(0x5)] ^ S6[xb(0x4)] ^ S7[xb(0xA)] ^ S8[xb(0xB)] ^ S8[xb(0x7)];
        z[0] = x[0] ^ S5[xb(0xD)] ^ S6[xb(0xF)] ^ S7[xb(0xC)] ^ S8[xb(0xE)] ^ S7[xb(0x8)];
        z[1] = x[2] ^ S5[zb(0x0)] ^ S6[zb(0x2)] ^ S7[zb(0x1)] ^ S8[zb(0x3)] ^ S8[xb(0xA)];
        z[2] = x[3] ^ S5[zb(0x7)] ^ S6[zb(0x6)] ^ S7[zb(0x5)] ^ S8[zb(0x4)] ^ S5[xb(0x9)];
        z[3] = x[1] ^ S5[zb(0xA)] ^ S6[zb(0x9)] ^ S7[zb(0xB)] ^ S8[zb(0x8)] ^ S6[xb(0xB)];
        *K++ = S5[zb(0x3)] ^ S6[zb(0x2)] ^ S7[zb(0xC)] ^ S8[zb(0xD)] ^ S5[zb(0x9)];
        *K++ = S5[zb(0x1)] ^ S6[zb(0x0)] ^ S7[zb(0xE)] ^ S8[zb(0xF)] ^ S6[zb(0xC)];
        *K++ = S5[zb(0x7)] ^ S6[zb(0x6)] ^ S7[zb(0x8)] ^ S8[zb(0x9)] ^ S7[zb(0x2)];
        *K++ = S5[zb(0x5)] ^ S6[zb(0x4)] ^ S7[zb(0xA)] ^ S8[zb(0xB)] ^ S8[zb(0x6)];
        x[0] = z[2] ^ S5[zb(0x5)] ^ S6[zb(0x7)] ^ S7[zb(0x4)] ^ S8[zb(0x6)] ^ S7[zb(0x0)];
        x[1] = z[0] ^ S5[xb(0x0)] ^ S6[xb(0x2)] ^ S7[xb(0x1)] ^ S8[xb(0x3)] ^ S8[zb(0x2)];
        x[2] = z[1] ^ S5[xb(0x7)] ^ S6[xb(0x6)] ^ S7[xb(0x5)] ^ S8[xb(0x4)] ^ S5[zb(0x1)];
        x[3] = z[3] ^ S5[xb(0xA)] ^ S6[xb(0x9)] ^ S7[xb(0xB)] ^ S8[xb(0x8)] ^ S6[zb(0x3)];
        *K++ = S5[xb(0x8)] ^ S6[xb(0x9)] ^ S7[xb(0x7)] ^ S8[xb(0x6)] ^ S5[xb(0x3)];
        *K++ = S5[xb(0xA)] ^ S6[xb(0xB)] ^ S7[xb(0x5)] ^ S8[xb(0x4)] ^ S6[xb(0x7)];
        *K++ = S5[xb(0xC)] ^ S6[xb(0xD)] ^ S7[xb(0x3)] ^ S8[xb(0x2)] ^ S7[xb(0x8)];
        *K++ = S5[xb(0xE)] ^ S6[xb(0xF)] ^ S7[xb(0x1)] ^ S8[xb(0x0)] ^ S8[xb(0xD)];
    }
    // Only the low five bits of a rotation subkey count.
    for (int i = 16; i < 32; ++i) {
        KeyData[i] &= 31;
    }
    CryptWipe(x, sizeof x);
    CryptWipe(z, sizeof z);
}

void TCrypt_cast128::EncryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    const auto* in = static_cast<const std::uint8_t*>(Indata);
    auto* out = static_cast<std::uint8_t*>(Outdata);
    std::uint32_t L = LoadBE32(in);
    std::uint32_t R = LoadBE32(in + 4);
    const std::uint32_t* Km = KeyData;
    const std::uint32_t* Kr = KeyData + 16;
    for (unsigned i = 0;;) {
        std::uint32_t t = L ^ F1(R, Km[i], Kr[i]);
        L = R;
        R = t;
        if (++i == Rounds) {
            break;
        }
        t = L ^ F2(R, Km[i], Kr[i]);
        L = R;
        R = t;
        if (++i == Rounds) {
            break;
        }
        t = L ^ F3(R, Km[i], Kr[i]);
        L = R;
        R = t;
        if (++i == Rounds) {
            break;
        }
    }
    StoreBE32(out, R);
    StoreBE32(out + 4, L);
}

void TCrypt_cast128::DecryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    const auto* in = static_cast<const std::uint8_t*>(Indata);
    auto* out = static_cast<std::uint8_t*>(Outdata);
    // The ciphertext is (R, L) of the last round; run the rounds backwards.
    std::uint32_t R = LoadBE32(in);
    std::uint32_t L = LoadBE32(in + 4);
    const std::uint32_t* Km = KeyData;
    const std::uint32_t* Kr = KeyData + 16;
    for (unsigned i = Rounds; i-- > 0;) {
        // Round i computed R_i = L_{i-1} ^ f(R_{i-1}) and L_i = R_{i-1}.
        const std::uint32_t prevR = L;
        std::uint32_t f = 0;
        switch (i % 3) {
        case 0: f = F1(prevR, Km[i], Kr[i]); break;
        case 1: f = F2(prevR, Km[i], Kr[i]); break;
        default: f = F3(prevR, Km[i], Kr[i]); break;
        }
        L = R ^ f;
        R = prevR;
    }
    StoreBE32(out, L);
    StoreBE32(out + 4, R);
}
