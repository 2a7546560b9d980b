// Hash throughput: each of our hashes beside Crypto++'s portable C++ code for the same
// algorithm (Crypto++'s CPU-specific paths are switched off before the first run, so both
// sides are plain C++). Crypto++ has no HAVAL; its figure comes from PHP, run separately.

#include "crypt/algorithms.h"
#include "crypt/hash.h"

#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/cpu.h>
#include <cryptopp/md5.h>
#include <cryptopp/sha.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {
constexpr std::size_t kMessageSize = 64 * 1024;

const std::vector<std::uint8_t>& Message() {
    static const std::vector<std::uint8_t> message = [] {
        std::vector<std::uint8_t> m(kMessageSize);
        std::uint32_t x = 2463534242u;
        for (auto& b : m) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            b = static_cast<std::uint8_t>(x);
        }
        return m;
    }();
    return message;
}

void Ours(benchmark::State& state, const char* name) {
    const auto hash = FindHashAlgorithm(name)->Create();
    std::vector<std::uint8_t> digest(static_cast<std::size_t>(hash->HashSize() / 8));
    const auto& message = Message();
    for (auto _ : state) {
        hash->Init();
        hash->Update(message.data(), message.size());
        hash->Final(digest.data());
        benchmark::DoNotOptimize(digest.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * message.size()));
}

template <typename Oracle>
void Cryptopp(benchmark::State& state) {
    Oracle oracle;
    std::vector<std::uint8_t> digest(Oracle::DIGESTSIZE);
    const auto& message = Message();
    for (auto _ : state) {
        oracle.CalculateDigest(digest.data(), message.data(), message.size());
        benchmark::DoNotOptimize(digest.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * message.size()));
}

void UsePortableCryptopp() {
#if CRYPTOPP_BOOL_X64 || CRYPTOPP_BOOL_X86
    CryptoPP::DetectX86Features();
    CryptoPP::g_hasSSE2 = CryptoPP::g_hasSSSE3 = CryptoPP::g_hasSSE41 = CryptoPP::g_hasSSE42 = false;
    CryptoPP::g_hasAVX = CryptoPP::g_hasAVX2 = CryptoPP::g_hasSHA = false;
#endif
}
} // namespace

BENCHMARK_CAPTURE(Ours, haval, "haval");
BENCHMARK_CAPTURE(Ours, md5, "md5");
BENCHMARK(Cryptopp<CryptoPP::Weak::MD5>)->Name("Cryptopp/md5");
BENCHMARK_CAPTURE(Ours, sha1, "sha1");
BENCHMARK(Cryptopp<CryptoPP::SHA1>)->Name("Cryptopp/sha1");
BENCHMARK_CAPTURE(Ours, sha256, "sha256");
BENCHMARK(Cryptopp<CryptoPP::SHA256>)->Name("Cryptopp/sha256");
BENCHMARK_CAPTURE(Ours, sha512, "sha512");
BENCHMARK(Cryptopp<CryptoPP::SHA512>)->Name("Cryptopp/sha512");

int main(int argc, char** argv) {
    UsePortableCryptopp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
