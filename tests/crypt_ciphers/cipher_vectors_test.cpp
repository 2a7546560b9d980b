// Known answers for every cipher: each standard's published vectors and the shared
// cross-library vectors, checked through encryption, decryption, in-place operation, the
// chaining modes fed in pieces, Reset, and the refusal to work before Init.

#include "crypt/cast128.h"
#include "tests/crypt_ciphers/cipher_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
void ExpectNotInitialized(const std::function<void()>& Call) {
    try {
        Call();
        ADD_FAILURE() << "no exception";
    } catch (const ECrypt_cipher& e) {
        EXPECT_STREQ(e.what(), "Cipher not initialized");
    }
}

class CipherVectors : public testing::TestWithParam<TCipherFamily> {
protected:
    std::vector<TCipherVector> Vectors() const {
        std::vector<TCipherVector> all = ReadVectors(std::string(GetParam().Name) + ".txt", GetParam().InteropName);
        for (TCipherVector& v : ReadVectors("interop.txt", "")) {
            if (v.Algorithm == GetParam().InteropName) {
                all.push_back(std::move(v));
            }
        }
        return all;
    }

    static unsigned Bits(const TBytes& Key) { return static_cast<unsigned>(Key.size() * 8); }

    // One plaintext block under its key: the raw transform both ways and in place, then the
    // modes whose first block is E(IV) with IV = P: OFB, CTR and block CFB over zero bytes,
    // whole and in pieces.
    void CheckBlock(TCrypt_blockcipher& c, const TCipherVector& v) const {
        const std::size_t n = v.Input.size();
        ASSERT_EQ(static_cast<int>(n * 8), c.BlockSize());
        ExpectNotInitialized([&] {
            TBytes out(n);
            c.EncryptECB(v.Input.data(), out.data());
        });
        c.Init(v.Key.data(), Bits(v.Key), nullptr);
        TBytes out(n);
        c.EncryptECB(v.Input.data(), out.data());
        EXPECT_EQ(ToHex(out), ToHex(v.Output)) << "encrypt, line " << v.Line;
        c.DecryptECB(out.data(), out.data());
        EXPECT_EQ(ToHex(out), ToHex(v.Input)) << "decrypt in place, line " << v.Line;
        out = v.Input;
        c.EncryptECB(out.data(), out.data());
        EXPECT_EQ(ToHex(out), ToHex(v.Output)) << "encrypt in place, line " << v.Line;

        c.SetIV(v.Input.data());
        using TMode = void (TCrypt_blockcipher::*)(const void*, void*, std::size_t);
        const TMode encrypt[] = {&TCrypt_blockcipher::EncryptOFB, &TCrypt_blockcipher::EncryptCTR,
                                 &TCrypt_blockcipher::EncryptCFBblock};
        const TMode decrypt[] = {&TCrypt_blockcipher::DecryptOFB, &TCrypt_blockcipher::DecryptCTR,
                                 &TCrypt_blockcipher::DecryptCFBblock};
        for (int m = 0; m < 3; ++m) {
            const TBytes zeros(3 * n + 3, 0);
            TBytes whole(zeros.size());
            c.Reset();
            (c.*encrypt[m])(zeros.data(), whole.data(), whole.size());
            EXPECT_EQ(ToHex(TBytes(whole.begin(), whole.begin() + n)), ToHex(v.Output)) << "mode " << m << ", line " << v.Line;
            // Whole blocks in separate calls, only the last one with a tail.
            TBytes pieces = zeros;
            c.Reset();
            (c.*encrypt[m])(pieces.data(), pieces.data(), n);
            (c.*encrypt[m])(pieces.data() + n, pieces.data() + n, n);
            (c.*encrypt[m])(pieces.data() + 2 * n, pieces.data() + 2 * n, n + 3);
            EXPECT_EQ(ToHex(pieces), ToHex(whole)) << "mode " << m << " in pieces, line " << v.Line;
            c.Reset();
            (c.*decrypt[m])(pieces.data(), pieces.data(), pieces.size());
            EXPECT_EQ(ToHex(pieces), ToHex(zeros)) << "mode " << m << " decrypt, line " << v.Line;
        }
        c.Burn();
        EXPECT_FALSE(c.Initialized());
        ExpectNotInitialized([&] { c.DecryptECB(v.Output.data(), out.data()); });
    }

    // The stream: one call gives the standard output; Reset and one call in place restores
    // the input; a second call continues the permutation but restarts its indexes.
    void CheckStream(TCrypt_cipher& c, const TCipherVector& v) const {
        ExpectNotInitialized([&] {
            TBytes out(v.Input.size());
            c.Encrypt(v.Input.data(), out.data(), out.size());
        });
        c.Init(v.Key.data(), Bits(v.Key), nullptr);
        TBytes out(v.Input.size());
        c.Encrypt(v.Input.data(), out.data(), out.size());
        EXPECT_EQ(ToHex(out), ToHex(v.Output)) << "line " << v.Line;
        c.Reset();
        c.Decrypt(out.data(), out.data(), out.size());
        EXPECT_EQ(ToHex(out), ToHex(v.Input)) << "line " << v.Line;
        if (v.Input.size() >= 4) {
            const std::size_t half = v.Input.size() / 2;
            TBytes split = v.Input;
            c.Reset();
            c.Encrypt(split.data(), split.data(), half);
            c.Encrypt(split.data() + half, split.data() + half, split.size() - half);
            EXPECT_TRUE(std::equal(split.begin(), split.begin() + half, v.Output.begin())) << "line " << v.Line;
            EXPECT_FALSE(std::equal(split.begin() + half, split.end(), v.Output.begin() + half)) << "line " << v.Line;
        }
        c.Burn();
        EXPECT_FALSE(c.Initialized());
    }
};

TEST_P(CipherVectors, PublishedAndSharedVectors) {
    const std::vector<TCipherVector> vectors = Vectors();
    ASSERT_GE(vectors.size(), 3u);
    auto cipher = GetParam().Create();
    for (const TCipherVector& v : vectors) {
        SCOPED_TRACE("line " + std::to_string(v.Line) + " key " + ToHex(v.Key));
        if (auto* block = dynamic_cast<TCrypt_blockcipher*>(cipher.get())) {
            CheckBlock(*block, v);
        } else {
            CheckStream(*cipher, v);
        }
    }
}

TEST_P(CipherVectors, IdentityAndSelfTest) {
    const TCipherFamily& f = GetParam();
    auto cipher = f.Create();
    EXPECT_EQ(cipher->Id(), f.Id);
    EXPECT_EQ(cipher->Algorithm(), f.Algorithm);
    EXPECT_EQ(cipher->MaxKeySize(), f.MaxKeySize);
    EXPECT_FALSE(cipher->Initialized());
    auto* block = dynamic_cast<TCrypt_blockcipher*>(cipher.get());
    EXPECT_EQ(block != nullptr, f.BlockSize != 0);
    if (block != nullptr) {
        EXPECT_EQ(block->BlockSize(), f.BlockSize);
        EXPECT_EQ(block->CipherMode(), TCrypt_ciphermode::cmCBC);
    }
    EXPECT_TRUE(cipher->SelfTest());
    // SelfTest works on its own object: this one stays uninitialised.
    EXPECT_FALSE(cipher->Initialized());
}

INSTANTIATE_TEST_SUITE_P(All, CipherVectors, testing::ValuesIn(CipherFamilies()),
                         FamilyTestName);

// RFC 2144 appendix B.2: a million rounds of four encryptions with keys that are the
// previous results.
TEST(Cast128, FullMaintenanceTest) {
    TBytes a = FromHex("0123456712345678234567893456789a");
    TBytes b = a;
    TCrypt_cast128 c;
    for (int i = 0; i < 1000000; ++i) {
        c.Init(b.data(), 128, nullptr);
        c.EncryptECB(a.data(), a.data());
        c.EncryptECB(a.data() + 8, a.data() + 8);
        c.Init(a.data(), 128, nullptr);
        c.EncryptECB(b.data(), b.data());
        c.EncryptECB(b.data() + 8, b.data() + 8);
    }
    EXPECT_EQ(ToHex(a), "eea9d0a249fd3ba6b3436fb89d6dca92");
    EXPECT_EQ(ToHex(b), "b2c95eb00c31ad7180ac05b8e83d696e");
}
} // namespace
