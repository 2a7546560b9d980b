// Differential test against Crypto++'s block transforms and ARC4: random keys of every byte
// length each class allows (zero-padded by this system's rules before Crypto++ sees them),
// random data, and all five chaining modes over several calls with tails in the middle. The
// expected chaining is built here on Crypto++'s raw one-block transform, because Crypto++'s
// own modes treat a final partial block differently.

#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1

#include "tests/crypt_ciphers/cipher_test_support.h"

#include <cryptopp/aes.h>
#include <cryptopp/arc4.h>
#include <cryptopp/blowfish.h>
#include <cryptopp/cast.h>
#include <cryptopp/des.h>
#include <cryptopp/idea.h>
#include <cryptopp/twofish.h>

#include <gtest/gtest.h>

#include <random>

namespace {
struct TOracle {
    std::unique_ptr<CryptoPP::BlockCipher> E;
    std::unique_ptr<CryptoPP::BlockCipher> D;
};

template <class C>
TOracle MakeOracle(const TBytes& key) {
    return {std::make_unique<typename C::Encryption>(key.data(), key.size()),
            std::make_unique<typename C::Decryption>(key.data(), key.size())};
}

TBytes Padded(TBytes key, std::size_t size) {
    key.resize(size, 0);
    return key;
}

// This system's key-length rules, applied by hand for Crypto++.
TOracle OracleFor(const std::string& family, const TBytes& key) {
    const std::size_t k = key.size();
    if (family == "blowfish") {
        // Crypto++ wants 4 bytes at least; repeating a short key whole changes nothing.
        TBytes repeated = key;
        while (repeated.size() < 4) {
            repeated.insert(repeated.end(), key.begin(), key.end());
        }
        return MakeOracle<CryptoPP::Blowfish>(repeated);
    }
    if (family == "cast128") {
        return MakeOracle<CryptoPP::CAST128>(k < 5 ? Padded(key, 5) : key);
    }
    if (family == "cast256") {
        return MakeOracle<CryptoPP::CAST256>(Padded(key, 32));
    }
    if (family == "des") {
        return MakeOracle<CryptoPP::DES>(Padded(key, 8));
    }
    if (family == "3des") {
        TBytes full = Padded(key, 24);
        if (k <= 16) {
            std::copy(full.begin(), full.begin() + 8, full.begin() + 16);
        }
        return MakeOracle<CryptoPP::DES_EDE3>(full);
    }
    if (family == "aes") {
        return MakeOracle<CryptoPP::AES>(Padded(key, k <= 16 ? 16 : k <= 24 ? 24 : 32));
    }
    if (family == "twofish") {
        return MakeOracle<CryptoPP::Twofish>(Padded(key, k <= 16 ? 16 : k <= 24 ? 24 : 32));
    }
    if (family == "idea") {
        return MakeOracle<CryptoPP::IDEA>(Padded(key, 16));
    }
    throw std::invalid_argument(family);
}

// The chaining modes as this system defines them, on top of Crypto++'s one-block transform.
class TReferenceModes {
public:
    TReferenceModes(TOracle& oracle, const TBytes& iv) : fOracle(oracle), CV(iv), n(iv.size()) {}

    void Run(TCrypt_ciphermode mode, bool encrypt, std::uint8_t* data, std::size_t size) {
        if (mode == TCrypt_ciphermode::cmCFB8bit) {
            for (std::size_t i = 0; i < size; ++i) {
                TBytes t = CV;
                fOracle.E->ProcessBlock(t.data());
                const std::uint8_t in = data[i];
                data[i] = in ^ t[0];
                CV.erase(CV.begin());
                CV.push_back(encrypt ? data[i] : in);
            }
            return;
        }
        for (; size >= n; size -= n, data += n) {
            Block(mode, encrypt, data);
        }
        if (size > 0) {
            TBytes t = CV;
            fOracle.E->ProcessBlock(t.data());
            if (mode == TCrypt_ciphermode::cmCTR) {
                Increment();
            } else {
                CV = t;
            }
            for (std::size_t i = 0; i < size; ++i) {
                data[i] ^= t[i];
            }
        }
    }

private:
    void Block(TCrypt_ciphermode mode, bool encrypt, std::uint8_t* b) {
        TBytes t = CV;
        switch (mode) {
        case TCrypt_ciphermode::cmCBC:
            if (encrypt) {
                for (std::size_t i = 0; i < n; ++i) {
                    t[i] ^= b[i];
                }
                fOracle.E->ProcessBlock(t.data());
                std::copy(t.begin(), t.end(), b);
                CV = t;
            } else {
                const TBytes c(b, b + n);
                fOracle.D->ProcessBlock(b);
                for (std::size_t i = 0; i < n; ++i) {
                    b[i] ^= CV[i];
                }
                CV = c;
            }
            break;
        case TCrypt_ciphermode::cmCFBblock: {
            fOracle.E->ProcessBlock(t.data());
            const TBytes in(b, b + n);
            for (std::size_t i = 0; i < n; ++i) {
                b[i] ^= t[i];
            }
            CV = encrypt ? TBytes(b, b + n) : in;
            break;
        }
        case TCrypt_ciphermode::cmOFB:
            fOracle.E->ProcessBlock(t.data());
            CV = t;
            for (std::size_t i = 0; i < n; ++i) {
                b[i] ^= t[i];
            }
            break;
        default:
            fOracle.E->ProcessBlock(t.data());
            Increment();
            for (std::size_t i = 0; i < n; ++i) {
                b[i] ^= t[i];
            }
            break;
        }
    }

    void Increment() {
        for (std::size_t i = n; i-- > 0;) {
            if (++CV[i] != 0) {
                break;
            }
        }
    }

    TOracle& fOracle;
    TBytes CV;
    std::size_t n;
};

TBytes RandomBytes(std::mt19937& rng, std::size_t size) {
    TBytes bytes(size);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(rng());
    }
    return bytes;
}

// Cut points for 1 to 4 calls over size bytes.
std::vector<std::size_t> Cuts(std::mt19937& rng, std::size_t size) {
    std::vector<std::size_t> cuts{0, size};
    const int extra = static_cast<int>(rng() % 4);
    for (int i = 0; i < extra; ++i) {
        cuts.push_back(size == 0 ? 0 : rng() % (size + 1));
    }
    std::sort(cuts.begin(), cuts.end());
    return cuts;
}

class CryptoppBlock : public testing::TestWithParam<TCipherFamily> {};

TEST_P(CryptoppBlock, EveryKeyLengthAndModeAgrees) {
    const TCipherFamily& f = GetParam();
    std::mt19937 rng(20240611u + static_cast<unsigned>(f.Id));
    const std::size_t n = static_cast<std::size_t>(f.BlockSize / 8);
    const TCrypt_ciphermode modes[] = {TCrypt_ciphermode::cmCBC, TCrypt_ciphermode::cmCFB8bit, TCrypt_ciphermode::cmCFBblock,
                                       TCrypt_ciphermode::cmOFB, TCrypt_ciphermode::cmCTR};
    int checks = 0;
    for (std::size_t k = 1; k <= static_cast<std::size_t>(f.MaxKeySize / 8); ++k) {
        SCOPED_TRACE("key bytes " + std::to_string(k));
        const TBytes key = RandomBytes(rng, k);
        TOracle oracle = OracleFor(f.Name, key);
        auto owned = f.Create();
        auto* c = dynamic_cast<TCrypt_blockcipher*>(owned.get());
        ASSERT_NE(c, nullptr);
        c->Init(key.data(), static_cast<unsigned>(8 * k), nullptr);

        // Raw blocks both ways.
        for (int i = 0; i < 4; ++i) {
            const TBytes block = RandomBytes(rng, n);
            TBytes expected = block;
            oracle.E->ProcessBlock(expected.data());
            TBytes got(n);
            c->EncryptECB(block.data(), got.data());
            ASSERT_EQ(ToHex(got), ToHex(expected));
            c->DecryptECB(got.data(), got.data());
            ASSERT_EQ(ToHex(got), ToHex(block));
        }

        // The IV without one given is E(0).
        TBytes zeroIv(n, 0);
        oracle.E->ProcessBlock(zeroIv.data());
        TBytes iv(n);
        c->GetIV(iv.data());
        ASSERT_EQ(ToHex(iv), ToHex(zeroIv));

        const TBytes givenIv = RandomBytes(rng, n);
        c->SetIV(givenIv.data());
        for (int trial = 0; trial < 3; ++trial) {
            for (const TCrypt_ciphermode mode : modes) {
                SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode)));
                c->SetCipherMode(mode);
                const TBytes plain = RandomBytes(rng, rng() % (5 * n + 7));
                TBytes expected = plain;
                TReferenceModes reference(oracle, givenIv);
                TBytes got = plain;
                const auto cuts = Cuts(rng, plain.size());
                c->Reset();
                for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
                    reference.Run(mode, true, expected.data() + cuts[i], cuts[i + 1] - cuts[i]);
                    c->Encrypt(got.data() + cuts[i], got.data() + cuts[i], cuts[i + 1] - cuts[i]);
                }
                ASSERT_EQ(ToHex(got), ToHex(expected));
                TReferenceModes back(oracle, givenIv);
                TBytes decrypted = got;
                TBytes expectedBack = got;
                c->Reset();
                for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
                    back.Run(mode, false, expectedBack.data() + cuts[i], cuts[i + 1] - cuts[i]);
                    c->Decrypt(decrypted.data() + cuts[i], decrypted.data() + cuts[i], cuts[i + 1] - cuts[i]);
                }
                ASSERT_EQ(ToHex(decrypted), ToHex(expectedBack));
                ++checks;
                // Decrypting at the same cut points as the encryption restores the input.
                ASSERT_EQ(ToHex(decrypted), ToHex(plain));
            }
        }
    }
    EXPECT_EQ(checks, 3 * 5 * (f.MaxKeySize / 8));
}

INSTANTIATE_TEST_SUITE_P(All, CryptoppBlock, testing::ValuesIn(BlockCipherFamilies()),
                         FamilyTestName);

// The odd lengths the envelope's rules single out, as bit sizes.
TEST(CryptoppBlock, OddKeyLengthsOfTheRules) {
    std::mt19937 rng(4711);
    const std::pair<const char*, unsigned> cases[] = {
        {"cast128", 40}, {"cast128", 80}, {"cast128", 88}, {"aes", 136}, {"aes", 160}, {"twofish", 136},
        {"twofish", 160}, {"cast256", 160}, {"3des", 136}, {"3des", 160}, {"blowfish", 136}, {"blowfish", 40}};
    for (const auto& [family, bits] : cases) {
        SCOPED_TRACE(std::string(family) + " " + std::to_string(bits));
        const TCipherFamily& f = CipherFamily(family);
        const TBytes key = RandomBytes(rng, bits / 8);
        TOracle oracle = OracleFor(family, key);
        auto owned = f.Create();
        auto* c = dynamic_cast<TCrypt_blockcipher*>(owned.get());
        c->Init(key.data(), bits, nullptr);
        const TBytes block = RandomBytes(rng, static_cast<std::size_t>(f.BlockSize / 8));
        TBytes expected = block;
        oracle.E->ProcessBlock(expected.data());
        TBytes got(block.size());
        c->EncryptECB(block.data(), got.data());
        EXPECT_EQ(ToHex(got), ToHex(expected));
    }
}

TEST(CryptoppRc4, EveryKeyLengthAgreesInOneCall) {
    std::mt19937 rng(1969);
    const TCipherFamily& f = CipherFamily("rc4");
    for (std::size_t k = 1; k <= 256; ++k) {
        SCOPED_TRACE("key bytes " + std::to_string(k));
        const TBytes key = RandomBytes(rng, k);
        const TBytes plain = RandomBytes(rng, rng() % 600);
        CryptoPP::Weak::ARC4 oracle(key.data(), key.size());
        TBytes expected = plain;
        oracle.ProcessString(expected.data(), expected.size());
        auto c = f.Create();
        c->Init(key.data(), static_cast<unsigned>(8 * k), nullptr);
        TBytes got = plain;
        c->Encrypt(got.data(), got.data(), got.size());
        ASSERT_EQ(ToHex(got), ToHex(expected));
        c->Reset();
        c->Decrypt(got.data(), got.data(), got.size());
        ASSERT_EQ(ToHex(got), ToHex(plain));
    }
}
} // namespace
