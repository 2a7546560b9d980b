#include "crypt/idea.h"

#include <cstring>

namespace {
// Multiplication modulo 2^16 + 1, where the value 0 stands for 2^16.
inline std::uint16_t Mul(std::uint32_t a, std::uint32_t b) {
    if (a == 0) {
        return static_cast<std::uint16_t>(0x10001 - b);
    }
    if (b == 0) {
        return static_cast<std::uint16_t>(0x10001 - a);
    }
    const std::uint32_t p = a * b;
    const std::uint32_t lo = p & 0xFFFF;
    const std::uint32_t hi = p >> 16;
    return static_cast<std::uint16_t>(lo - hi + (lo < hi ? 1 : 0));
}

// The multiplicative inverse modulo 2^16 + 1, by Fermat: x^(2^16 - 1).
std::uint16_t MulInverse(std::uint16_t x) {
    std::uint16_t result = 1;
    std::uint16_t base = x;
    for (std::uint32_t e = 0xFFFF; e != 0; e >>= 1) {
        if (e & 1) {
            result = Mul(result, base);
        }
        base = Mul(base, base);
    }
    return result;
}

inline std::uint16_t AddInverse(std::uint16_t x) { return static_cast<std::uint16_t>(0x10000 - x); }

void Crypt(const std::uint16_t* K, const std::uint8_t* in, std::uint8_t* out) {
    std::uint16_t x1 = static_cast<std::uint16_t>((in[0] << 8) | in[1]);
    std::uint16_t x2 = static_cast<std::uint16_t>((in[2] << 8) | in[3]);
    std::uint16_t x3 = static_cast<std::uint16_t>((in[4] << 8) | in[5]);
    std::uint16_t x4 = static_cast<std::uint16_t>((in[6] << 8) | in[7]);
    for (int r = 0; r < 8; ++r, K += 6) {
        const std::uint16_t a = Mul(x1, K[0]);
        const std::uint16_t b = static_cast<std::uint16_t>(x2 + K[1]);
        const std::uint16_t c = static_cast<std::uint16_t>(x3 + K[2]);
        const std::uint16_t d = Mul(x4, K[3]);
        const std::uint16_t e = Mul(a ^ c, K[4]);
        const std::uint16_t f = Mul(static_cast<std::uint16_t>((b ^ d) + e), K[5]);
        const std::uint16_t g = static_cast<std::uint16_t>(e + f);
        x1 = a ^ f;
        x4 = d ^ g;
        // The middle words change places every round.
        x2 = c ^ f;
        x3 = b ^ g;
    }
    // The output transformation undoes the last round's exchange.
    const std::uint16_t y1 = Mul(x1, K[0]);
    const std::uint16_t y2 = static_cast<std::uint16_t>(x3 + K[1]);
    const std::uint16_t y3 = static_cast<std::uint16_t>(x2 + K[2]);
    const std::uint16_t y4 = Mul(x4, K[3]);
    const std::uint16_t y[4] = {y1, y2, y3, y4};
    for (int i = 0; i < 4; ++i) {
        out[2 * i] = static_cast<std::uint8_t>(y[i] >> 8);
        out[2 * i + 1] = static_cast<std::uint8_t>(y[i]);
    }
}
} // namespace

TCrypt_idea::~TCrypt_idea() {
    if (Initialized()) {
        Burn();
    }
}

bool TCrypt_idea::SelfTest() {
    // Lai's thesis test data: key 0001 0002 ... 0008.
    static constexpr std::uint8_t key[16] = {0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8};
    static constexpr std::uint8_t plain[8] = {0, 0, 0, 1, 0, 2, 0, 3};
    static constexpr std::uint8_t expected[8] = {0x11, 0xFB, 0xED, 0x2B, 0x01, 0x98, 0x6D, 0xE5};
    TCrypt_idea probe;
    return BlockKnownAnswer(probe, key, 128, plain, expected);
}

void TCrypt_idea::Burn() {
    CryptWipe(EK, sizeof EK);
    CryptWipe(DK, sizeof DK);
    TCrypt_blockcipher64::Burn();
}

void TCrypt_idea::ScheduleKey(const void* Key, unsigned Size) {
    std::uint8_t padded[16] = {};
    std::memcpy(padded, Key, Size / 8);
    // Subkeys are consecutive 16-bit pieces of the key, rotated left by 25 bits after
    // every eight.
    std::uint64_t hi = 0;
    std::uint64_t lo = 0;
    for (int i = 0; i < 8; ++i) {
        hi = (hi << 8) | padded[i];
        lo = (lo << 8) | padded[8 + i];
    }
    CryptWipe(padded, sizeof padded);
    for (int i = 0; i < 52; ++i) {
        const int piece = i % 8;
        if (piece == 0 && i != 0) {
            const std::uint64_t newHi = (hi << 25) | (lo >> 39);
            const std::uint64_t newLo = (lo << 25) | (hi >> 39);
            hi = newHi;
            lo = newLo;
        }
        const std::uint64_t word = piece < 4 ? hi : lo;
        EK[i] = static_cast<std::uint16_t>(word >> (48 - 16 * (piece % 4)));
    }

    // Decryption runs the same rounds with inverted subkeys in reverse order; the additive
    // pair changes places except at the two ends.
    for (int r = 0; r <= 8; ++r) {
        const int src = 48 - 6 * r;
        const bool swap = r != 0 && r != 8;
        DK[6 * r] = MulInverse(EK[src]);
        DK[6 * r + 1] = AddInverse(EK[src + (swap ? 2 : 1)]);
        DK[6 * r + 2] = AddInverse(EK[src + (swap ? 1 : 2)]);
        DK[6 * r + 3] = MulInverse(EK[src + 3]);
        if (r < 8) {
            DK[6 * r + 4] = EK[src - 2];
            DK[6 * r + 5] = EK[src - 1];
        }
    }
}

void TCrypt_idea::EncryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    Crypt(EK, static_cast<const std::uint8_t*>(Indata), static_cast<std::uint8_t*>(Outdata));
}

void TCrypt_idea::DecryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    Crypt(DK, static_cast<const std::uint8_t*>(Indata), static_cast<std::uint8_t*>(Outdata));
}
