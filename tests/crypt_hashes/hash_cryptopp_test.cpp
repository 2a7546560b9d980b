// MD5 and the SHA family against Crypto++ on pseudo-random messages (fixed seed), our side
// fed in pseudo-random pieces.

#include "crypt/algorithms.h"
#include "crypt/hash.h"
#include "tests/crypt_hashes/hash_test_support.h"

#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/md5.h>
#include <cryptopp/sha.h>

#include <gtest/gtest.h>

#include <random>

namespace {
template <typename Oracle>
std::string OracleDigest(const Bytes& message) {
    Oracle oracle;
    Bytes digest(Oracle::DIGESTSIZE);
    oracle.CalculateDigest(digest.data(), message.data(), message.size());
    return ToHex(digest);
}

template <typename Oracle>
void Compare(const char* name) {
    std::mt19937 random(0x5eed0000u + static_cast<unsigned>(std::string_view(name).size()));
    const auto hash = FindHashAlgorithm(name)->Create();
    for (int round = 0; round < 300; ++round) {
        Bytes message(std::uniform_int_distribution<std::size_t>(0, 3000)(random));
        for (auto& b : message) {
            b = static_cast<std::uint8_t>(random());
        }
        std::vector<std::size_t> pieces(5);
        for (auto& p : pieces) {
            p = std::uniform_int_distribution<std::size_t>(1, 300)(random);
        }
        const std::string expected = OracleDigest<Oracle>(message);
        ASSERT_EQ(DigestWhole(*hash, message), expected) << name << " length " << message.size();
        ASSERT_EQ(DigestInPieces(*hash, message, pieces), expected)
            << name << " length " << message.size();
    }
}

TEST(HashesAgainstCryptopp, Md5) {
    Compare<CryptoPP::Weak::MD5>("md5");
}
TEST(HashesAgainstCryptopp, Sha1) {
    Compare<CryptoPP::SHA1>("sha1");
}
TEST(HashesAgainstCryptopp, Sha256) {
    Compare<CryptoPP::SHA256>("sha256");
}
TEST(HashesAgainstCryptopp, Sha512) {
    Compare<CryptoPP::SHA512>("sha512");
}
} // namespace
