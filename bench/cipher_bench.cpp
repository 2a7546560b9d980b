// Cipher throughput on 64 KiB buffers: raw ECB blocks, CBC and block CFB for each block
// cipher, one keystream pass for RC4, each beside Crypto++'s implementation of the same
// algorithm in the same run. Crypto++ picks its AES code at run time and uses AES-NI where
// the processor has it; the other algorithms have only its portable C++ code.

#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1

#include "crypt/blowfish.h"
#include "crypt/cast128.h"
#include "crypt/cast256.h"
#include "crypt/des.h"
#include "crypt/idea.h"
#include "crypt/rc4.h"
#include "crypt/rijndael.h"
#include "crypt/twofish.h"

#include <benchmark/benchmark.h>
#include <cryptopp/aes.h>
#include <cryptopp/arc4.h>
#include <cryptopp/blowfish.h>
#include <cryptopp/cast.h>
#include <cryptopp/cpu.h>
#include <cryptopp/des.h>
#include <cryptopp/idea.h>
#include <cryptopp/modes.h>
#include <cryptopp/twofish.h>

#include <cstdint>
#include <vector>

namespace {
constexpr std::size_t kSize = 64 * 1024;
const std::uint8_t kKey[32] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef, 0xfe, 0xdc, 0xba,
                               0x98, 0x76, 0x54, 0x32, 0x10, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55,
                               0x66, 0x77, 0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
const std::uint8_t kIV[16] = {};

enum class TBenchMode { Ecb, Cbc, CfbBlock };

void Finish(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kSize));
}

template <class T>
void Ours(benchmark::State& state, TBenchMode mode, unsigned keyBits) {
    T cipher;
    cipher.Init(kKey, keyBits, kIV);
    std::vector<std::uint8_t> data(kSize, 0x5A);
    const std::size_t n = static_cast<std::size_t>(cipher.BlockSize() / 8);
    for (auto _ : state) {
        switch (mode) {
        case TBenchMode::Ecb:
            for (std::size_t i = 0; i < kSize; i += n) {
                cipher.EncryptECB(data.data() + i, data.data() + i);
            }
            break;
        case TBenchMode::Cbc: cipher.EncryptCBC(data.data(), data.data(), kSize); break;
        case TBenchMode::CfbBlock: cipher.EncryptCFBblock(data.data(), data.data(), kSize); break;
        }
        benchmark::DoNotOptimize(data.data());
    }
    Finish(state);
}

// Crypto++ decides on AES-NI from a processor flag that it detects once; clearing the flag
// makes it take its portable table code, for a like-for-like figure.
class TAesNiOff {
public:
    explicit TAesNiOff(bool off) : fSaved((CryptoPP::HasAESNI(), CryptoPP::g_hasAESNI)) {
        if (off) {
            CryptoPP::g_hasAESNI = false;
        }
    }
    ~TAesNiOff() { CryptoPP::g_hasAESNI = fSaved; }
    TAesNiOff(const TAesNiOff&) = delete;
    TAesNiOff& operator=(const TAesNiOff&) = delete;

private:
    bool fSaved;
};

template <class C>
void Theirs(benchmark::State& state, TBenchMode mode, std::size_t keyBytes, bool portable) {
    const TAesNiOff aesNi(portable);
    std::vector<std::uint8_t> data(kSize, 0x5A);
    typename C::Encryption ecb(kKey, keyBytes);
    typename CryptoPP::CBC_Mode<C>::Encryption cbc(kKey, keyBytes, kIV);
    typename CryptoPP::CFB_Mode<C>::Encryption cfb(kKey, keyBytes, kIV);
    for (auto _ : state) {
        switch (mode) {
        case TBenchMode::Ecb: ecb.AdvancedProcessBlocks(data.data(), nullptr, data.data(), kSize, 0); break;
        case TBenchMode::Cbc: cbc.ProcessData(data.data(), data.data(), kSize); break;
        case TBenchMode::CfbBlock: cfb.ProcessData(data.data(), data.data(), kSize); break;
        }
        benchmark::DoNotOptimize(data.data());
    }
    Finish(state);
}

void OursRc4(benchmark::State& state) {
    TCrypt_rc4 cipher;
    cipher.Init(kKey, 128, nullptr);
    std::vector<std::uint8_t> data(kSize, 0x5A);
    for (auto _ : state) {
        cipher.Encrypt(data.data(), data.data(), kSize);
        benchmark::DoNotOptimize(data.data());
    }
    Finish(state);
}

void TheirsRc4(benchmark::State& state) {
    CryptoPP::Weak::ARC4 cipher(kKey, 16);
    std::vector<std::uint8_t> data(kSize, 0x5A);
    for (auto _ : state) {
        cipher.ProcessString(data.data(), kSize);
        benchmark::DoNotOptimize(data.data());
    }
    Finish(state);
}

template <class T, class C>
void RegisterPair(const std::string& name, unsigned keyBits, bool portableToo = false) {
    const std::pair<const char*, TBenchMode> modes[] = {
        {"ECB", TBenchMode::Ecb}, {"CBC", TBenchMode::Cbc}, {"CFBblock", TBenchMode::CfbBlock}};
    for (const auto& [modeName, mode] : modes) {
        const std::string base = std::string(name) + "/" + modeName;
        benchmark::RegisterBenchmark((base + "/stp").c_str(), [mode = mode, keyBits](benchmark::State& s) {
            Ours<T>(s, mode, keyBits);
        });
        benchmark::RegisterBenchmark((base + "/cryptopp").c_str(), [mode = mode, keyBits](benchmark::State& s) {
            Theirs<C>(s, mode, keyBits / 8, false);
        });
        if (portableToo) {
            benchmark::RegisterBenchmark((base + "/cryptopp-portable").c_str(), [mode = mode, keyBits](benchmark::State& s) {
                Theirs<C>(s, mode, keyBits / 8, true);
            });
        }
    }
}

const bool kRegistered = [] {
    RegisterPair<TCrypt_blowfish, CryptoPP::Blowfish>("Blowfish-128", 128);
    RegisterPair<TCrypt_cast128, CryptoPP::CAST128>("CAST128-128", 128);
    RegisterPair<TCrypt_cast256, CryptoPP::CAST256>("CAST256-256", 256);
    RegisterPair<TCrypt_des, CryptoPP::DES>("DES-64", 64);
    RegisterPair<TCrypt_3des, CryptoPP::DES_EDE3>("3DES-192", 192);
    // "cryptopp" is whatever Crypto++ chooses (AES-NI when present), "cryptopp-portable"
    // its table code.
    RegisterPair<TCrypt_rijndael, CryptoPP::AES>(CryptoPP::HasAESNI() ? "AES-128(AES-NI present)" : "AES-128", 128, true);
    RegisterPair<TCrypt_twofish, CryptoPP::Twofish>("Twofish-256", 256);
    RegisterPair<TCrypt_idea, CryptoPP::IDEA>("IDEA-128", 128);
    benchmark::RegisterBenchmark("RC4-128/stream/stp", OursRc4);
    benchmark::RegisterBenchmark("RC4-128/stream/cryptopp", TheirsRc4);
    return true;
}();
} // namespace

BENCHMARK_MAIN();
