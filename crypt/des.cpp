#include "crypt/des.h"

#include "crypt/cipher_words.h"

#include <array>
#include <bit>
#include <cstring>

namespace {
// The tables of FIPS 46, bits numbered from 1 at the most significant end.
constexpr std::uint8_t kIP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                                  62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                                  57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                                  61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::uint8_t kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                 2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::uint8_t kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                                   10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                                   63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                                   14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::uint8_t kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
                                   23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
                                   41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
                                   44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr std::uint8_t kS[8][4][16] = {
    {{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
     {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
     {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
     {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}},
    {{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
     {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
     {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
     {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}},
    {{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
     {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
     {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
     {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}},
    {{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
     {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
     {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
     {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}},
    {{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
     {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
     {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
     {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}},
    {{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
     {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
     {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
     {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}},
    {{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
     {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
     {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
     {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}},
    {{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
     {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
     {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
     {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}}};

// S-box i followed by the permutation P, for each 6-bit input.
constexpr std::array<std::array<std::uint32_t, 64>, 8> MakeSP() {
    std::array<std::array<std::uint32_t, 64>, 8> sp{};
    for (int box = 0; box < 8; ++box) {
        for (int v = 0; v < 64; ++v) {
            const int row = ((v >> 4) & 2) | (v & 1);
            const int col = (v >> 1) & 15;
            // The four output bits sit at positions 4*box+1 .. 4*box+4 before P.
            const std::uint32_t s = std::uint32_t{kS[box][row][col]} << (28 - 4 * box);
            std::uint32_t out = 0;
            for (int j = 0; j < 32; ++j) {
                if (s & (0x80000000u >> (kP[j] - 1))) {
                    out |= 0x80000000u >> j;
                }
            }
            sp[box][v] = out;
        }
    }
    return sp;
}
constexpr auto kSP = MakeSP();

// A 64-bit permutation as eight byte-indexed tables of its output contributions.
using TPermTable = std::array<std::array<std::uint64_t, 256>, 8>;

constexpr TPermTable MakePermTable(const std::uint8_t (&perm)[64]) {
    TPermTable t{};
    for (int j = 0; j < 64; ++j) {
        const int src = perm[j] - 1;  // input bit, 0 = most significant
        const int byte = src / 8;
        const int bit = 7 - src % 8;
        for (int v = 0; v < 256; ++v) {
            if (v & (1 << bit)) {
                t[byte][v] |= std::uint64_t{1} << (63 - j);
            }
        }
    }
    return t;
}

constexpr std::array<std::uint8_t, 64> InvertPermutation(const std::uint8_t (&perm)[64]) {
    std::array<std::uint8_t, 64> inv{};
    for (int j = 0; j < 64; ++j) {
        inv[perm[j] - 1] = static_cast<std::uint8_t>(j + 1);
    }
    return inv;
}

constexpr TPermTable MakeFinalTable() {
    const auto inv = InvertPermutation(kIP);
    std::uint8_t fp[64] = {};
    for (int j = 0; j < 64; ++j) {
        fp[j] = inv[j];
    }
    return MakePermTable(fp);
}

constexpr TPermTable kIPTable = MakePermTable(kIP);
constexpr TPermTable kFPTable = MakeFinalTable();

inline std::uint64_t Permute(const TPermTable& t, const std::uint8_t* bytes) {
    std::uint64_t r = 0;
    for (int i = 0; i < 8; ++i) {
        r |= t[i][bytes[i]];
    }
    return r;
}

inline std::uint32_t RoundF(std::uint32_t R, const std::uint8_t* k) {
    // Expansion group i is bits 4i .. 4i+5 of R, counted from 1 and cyclically.
    return kSP[0][(std::rotl(R, 5) & 0x3F) ^ k[0]] ^ kSP[1][(std::rotl(R, 9) & 0x3F) ^ k[1]] ^
           kSP[2][(std::rotl(R, 13) & 0x3F) ^ k[2]] ^ kSP[3][(std::rotl(R, 17) & 0x3F) ^ k[3]] ^
           kSP[4][(std::rotl(R, 21) & 0x3F) ^ k[4]] ^ kSP[5][(std::rotl(R, 25) & 0x3F) ^ k[5]] ^
           kSP[6][(std::rotl(R, 29) & 0x3F) ^ k[6]] ^ kSP[7][(std::rotl(R, 1) & 0x3F) ^ k[7]];
}
} // namespace

void TCrypt_customdes::ExpandKey(const std::uint8_t* Key8, TDesSchedule& Schedule) {
    std::uint64_t key = 0;
    for (int i = 0; i < 8; ++i) {
        key = (key << 8) | Key8[i];
    }
    std::uint32_t C = 0;
    std::uint32_t D = 0;
    for (int j = 0; j < 28; ++j) {
        C = (C << 1) | static_cast<std::uint32_t>((key >> (64 - kPC1[j])) & 1);
        D = (D << 1) | static_cast<std::uint32_t>((key >> (64 - kPC1[j + 28])) & 1);
    }
    for (int round = 0; round < 16; ++round) {
        for (int s = 0; s < kShifts[round]; ++s) {
            C = ((C << 1) | (C >> 27)) & 0x0FFFFFFF;
            D = ((D << 1) | (D >> 27)) & 0x0FFFFFFF;
        }
        const std::uint64_t CD = (std::uint64_t{C} << 28) | D;
        std::uint8_t* k = Schedule[round];
        for (int i = 0; i < 8; ++i) {
            std::uint8_t v = 0;
            for (int b = 0; b < 6; ++b) {
                v = static_cast<std::uint8_t>((v << 1) | ((CD >> (56 - kPC2[6 * i + b])) & 1));
            }
            k[i] = v;
        }
    }
}

void TCrypt_customdes::Rounds(const TDesSchedule& Schedule, bool Decrypt, std::uint32_t& L, std::uint32_t& R) {
    std::uint32_t l = L;
    std::uint32_t r = R;
    if (Decrypt) {
        for (int i = 15; i > 0; i -= 2) {
            l ^= RoundF(r, Schedule[i]);
            r ^= RoundF(l, Schedule[i - 1]);
        }
    } else {
        for (int i = 0; i < 16; i += 2) {
            l ^= RoundF(r, Schedule[i]);
            r ^= RoundF(l, Schedule[i + 1]);
        }
    }
    L = r;
    R = l;
}

void TCrypt_customdes::InitialPermutation(const std::uint8_t* In, std::uint32_t& L, std::uint32_t& R) {
    const std::uint64_t v = Permute(kIPTable, In);
    L = static_cast<std::uint32_t>(v >> 32);
    R = static_cast<std::uint32_t>(v);
}

void TCrypt_customdes::FinalPermutation(std::uint32_t L, std::uint32_t R, std::uint8_t* Out) {
    std::uint8_t pre[8];
    StoreBE32(pre, L);
    StoreBE32(pre + 4, R);
    const std::uint64_t v = Permute(kFPTable, pre);
    for (int i = 0; i < 8; ++i) {
        Out[i] = static_cast<std::uint8_t>(v >> (56 - 8 * i));
    }
}

// ---- TCrypt_des ----

TCrypt_des::~TCrypt_des() {
    if (Initialized()) {
        Burn();
    }
}

bool TCrypt_des::SelfTest() {
    // The worked example of the DES literature: key 133457799BBCDFF1.
    static constexpr std::uint8_t key[8] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    static constexpr std::uint8_t plain[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    static constexpr std::uint8_t expected[8] = {0x85, 0xE8, 0x13, 0x54, 0x0F, 0x0A, 0xB4, 0x05};
    TCrypt_des probe;
    return BlockKnownAnswer(probe, key, 64, plain, expected);
}

void TCrypt_des::Burn() {
    CryptWipe(KeyData, sizeof KeyData);
    TCrypt_customdes::Burn();
}

void TCrypt_des::ScheduleKey(const void* Key, unsigned Size) {
    std::uint8_t padded[8] = {};
    std::memcpy(padded, Key, Size / 8);
    ExpandKey(padded, KeyData);
    CryptWipe(padded, sizeof padded);
}

void TCrypt_des::EncryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    std::uint32_t L;
    std::uint32_t R;
    InitialPermutation(static_cast<const std::uint8_t*>(Indata), L, R);
    Rounds(KeyData, false, L, R);
    FinalPermutation(L, R, static_cast<std::uint8_t*>(Outdata));
}

void TCrypt_des::DecryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    std::uint32_t L;
    std::uint32_t R;
    InitialPermutation(static_cast<const std::uint8_t*>(Indata), L, R);
    Rounds(KeyData, true, L, R);
    FinalPermutation(L, R, static_cast<std::uint8_t*>(Outdata));
}

// ---- TCrypt_3des ----

TCrypt_3des::~TCrypt_3des() {
    if (Initialized()) {
        Burn();
    }
}

bool TCrypt_3des::SelfTest() {
    // Two-key EDE with K1 = 0123456789ABCDEF, K2 = FEDCBA9876543210.
    static constexpr std::uint8_t key[16] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef,
                                             0xfe, 0xdc, 0xba, 0x98, 0x76, 0x54, 0x32, 0x10};
    static constexpr std::uint8_t plain[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xe7};
    static constexpr std::uint8_t expected[8] = {0x7f, 0x1d, 0x0a, 0x77, 0x82, 0x6b, 0x8a, 0xff};
    TCrypt_3des probe;
    return BlockKnownAnswer(probe, key, 128, plain, expected);
}

void TCrypt_3des::Burn() {
    CryptWipe(KeyData, sizeof KeyData);
    TCrypt_customdes::Burn();
}

void TCrypt_3des::ScheduleKey(const void* Key, unsigned Size) {
    std::uint8_t padded[24] = {};
    std::memcpy(padded, Key, Size / 8);
    ExpandKey(padded, KeyData[0]);
    ExpandKey(padded + 8, KeyData[1]);
    if (Size <= 128) {
        std::memcpy(KeyData[2], KeyData[0], sizeof KeyData[0]);
    } else {
        ExpandKey(padded + 16, KeyData[2]);
    }
    CryptWipe(padded, sizeof padded);
}

void TCrypt_3des::EncryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    std::uint32_t L;
    std::uint32_t R;
    // The final and initial permutations between the three passes cancel out.
    InitialPermutation(static_cast<const std::uint8_t*>(Indata), L, R);
    Rounds(KeyData[0], false, L, R);
    Rounds(KeyData[1], true, L, R);
    Rounds(KeyData[2], false, L, R);
    FinalPermutation(L, R, static_cast<std::uint8_t*>(Outdata));
}

void TCrypt_3des::DecryptECB(const void* Indata, void* Outdata) {
    CheckInitialized();
    std::uint32_t L;
    std::uint32_t R;
    InitialPermutation(static_cast<const std::uint8_t*>(Indata), L, R);
    Rounds(KeyData[2], true, L, R);
    Rounds(KeyData[1], false, L, R);
    Rounds(KeyData[0], true, L, R);
    FinalPermutation(L, R, static_cast<std::uint8_t*>(Outdata));
}
