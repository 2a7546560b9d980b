// Every hash/cipher pair through ProtectString and back, and the key each pair derives.

#include "crypt/QsCrypUtils.h"
#include "crypt/algorithms.h"
#include "tests/envelope/envelope_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {
const UString kTexts[] = {
    u"",
    u"a",
    u"Hello, World!",
    u"\u5B89\u88C5\u7A0B\u5E8F\uFF1A\u6587\u4EF6\u8868\n\u7B2C\u4E8C\u884C",
    u"Setup\\Files\\Program.exe|1024|4096\r\n\u00E9\u00FC\u00DF\uFFFD\U0001F600",
};
const UString kPasswords[] = {u"", u"secret", u"\u5BC6\u7801 with spaces"};

// A long text that spans many cipher blocks and Base64 groups.
UString LongText() {
    UString text;
    for (int i = 0; i < 2000; ++i) {
        text.push_back(static_cast<char16_t>(0x20 + (i * 37) % 0x4E00));
    }
    return text;
}

class EnvelopePair : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(EnvelopePair, RoundTripsEveryTextUnderEveryPassword) {
    const auto [cipherIndex, hashIndex] = GetParam();
    const auto cipher = CreateCipherByIndex(cipherIndex);
    const auto* block = dynamic_cast<const TCrypt_blockcipher*>(cipher.get());
    const std::size_t ivUnits = block ? static_cast<std::size_t>(block->BlockSize() / 8) : 0;
    std::uint32_t seed = static_cast<std::uint32_t>(100 * cipherIndex + hashIndex);
    std::vector<UString> texts(std::begin(kTexts), std::end(kTexts));
    texts.push_back(LongText());
    for (const UString& password : kPasswords) {
        for (const UString& plain : texts) {
            const UString text =
                ProtectString(plain, password, cipherIndex, hashIndex, SeededRandom(++seed));
            ASSERT_GE(text.size(), 10 + ivUnits);
            // The header is plain ASCII and names the pair.
            for (std::size_t i = 0; i < 10 + ivUnits; ++i) {
                EXPECT_GE(text[i], 0x21) << i;
                EXPECT_LT(text[i], 0x7F) << i;
            }
            EXPECT_EQ(text[3] - text[8], cipherIndex);
            EXPECT_EQ(text[4] - text[9], hashIndex);
            EXPECT_EQ(DecryptProtectedString(text, password), plain);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllPairs, EnvelopePair,
                         testing::Combine(testing::Range(0, 9), testing::Range(0, 5)),
                         [](const testing::TestParamInfo<std::tuple<int, int>>& info) {
                             return std::string(CipherAlgorithms()[std::get<0>(info.param)].Name) +
                                    "_" +
                                    std::string(HashAlgorithms()[std::get<1>(info.param)].Name);
                         });

TEST(Envelope, SameRandomSourceGivesTheSameProtectedString) {
    const UString a = ProtectString(u"reproducible", u"", 5, 3, SeededRandom(7));
    const UString b = ProtectString(u"reproducible", u"", 5, 3, SeededRandom(7));
    const UString c = ProtectString(u"reproducible", u"", 5, 3, SeededRandom(8));
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

TEST(Envelope, RejectsIndexesOutsideTheTables) {
    for (const auto& [cipherIndex, hashIndex] :
         {std::pair{9, 0}, std::pair{-1, 0}, std::pair{0, 5}, std::pair{0, -1}}) {
        EXPECT_THROW(ProtectString(u"x", u"", cipherIndex, hashIndex, SeededRandom(1)), Exception);
    }
}

// The key is the first K bits of the digest, K = min(cipher maximum, digest size): decrypting
// by hand with that K restores the text, and with 8 bits fewer it does not.
struct KeyCase {
    int HashIndex;
    int CipherIndex;
    int KeyBits;
};

TEST(Envelope, KeySizeIsTheSmallerOfDigestAndCipherMaximum) {
    const KeyCase cases[] = {
        {2, 5, 160}, // SHA-1 with Rijndael
        {1, 4, 128}, // MD5 with 3DES
        {4, 6, 512}, // SHA-512 with RC4
        {0, 3, 64},  {1, 3, 64}, {2, 3, 64}, {3, 3, 64}, {4, 3, 64}, // DES with every hash
    };
    const UString plain = u"key size check \u6587";
    for (const KeyCase& k : cases) {
        SCOPED_TRACE("hash " + std::to_string(k.HashIndex) + " cipher " +
                     std::to_string(k.CipherIndex));
        const UString text = ProtectString(plain, u"pw", k.CipherIndex, k.HashIndex,
                                           SeededRandom(static_cast<std::uint32_t>(k.KeyBits)));
        EXPECT_EQ(DecryptWithKeySize(text, k.CipherIndex, k.HashIndex, k.KeyBits, u"pw"), plain);
        EXPECT_NE(DecryptWithKeySize(text, k.CipherIndex, k.HashIndex, k.KeyBits - 8, u"pw"),
                  plain);
    }
}

TEST(Envelope, ReaderAcceptsAHandMadeString) {
    // Salt, selectors and IV written independently of ProtectString.
    HandMade made{7, 0, u"ABCDEFGH", u"0123456789abcdef", "0123456789abcdef", u"p", u"\u6587\u4EF6"};
    EXPECT_EQ(DecryptProtectedString(BuildProtected(made), u"p"), u"\u6587\u4EF6");
}

TEST(Envelope, DifferentPasswordsGiveDifferentTextsAndNoError) {
    const UString text = ProtectString(u"the file table", u"right", 0, 2, SeededRandom(3));
    const UString wrong1 = DecryptProtectedString(text, u"wrong");
    const UString wrong2 = DecryptProtectedString(text, u"other");
    EXPECT_EQ(wrong1.size(), 14u);
    EXPECT_EQ(wrong2.size(), 14u);
    EXPECT_NE(wrong1, u"the file table");
    EXPECT_NE(wrong1, wrong2);
    // No state carries over between calls.
    EXPECT_EQ(DecryptProtectedString(text, u"wrong"), wrong1);
    EXPECT_EQ(DecryptProtectedString(text, u"right"), u"the file table");
}

TEST(EnvelopeFactories, CreateByIndexExaminesTheLowSevenBits) {
    const int hashIds[] = {14, 16, 2, 28, 30};
    for (int i = 0; i < 5; ++i) {
        for (const int index : {i, i + 0x80, i + 0x180, i - 0x80}) {
            const auto hash = CreateHashByIndex(index);
            ASSERT_NE(hash, nullptr) << index;
            EXPECT_EQ(hash->Id(), hashIds[i]) << index;
            EXPECT_FALSE(hash->Initialized());
        }
    }
    const int cipherIds[] = {5, 7, 15, 23, 24, 9, 19, 6, 12};
    for (int i = 0; i < 9; ++i) {
        for (const int index : {i, i + 0x80, i - 0x80}) {
            const auto cipher = CreateCipherByIndex(index);
            ASSERT_NE(cipher, nullptr) << index;
            EXPECT_EQ(cipher->Id(), cipherIds[i]) << index;
            EXPECT_FALSE(cipher->Initialized());
        }
    }
}

TEST(EnvelopeFactories, OtherIndexesGiveTheDefaultBackUnchanged) {
    for (const int index : {5, 127, 0x85, -1}) {
        EXPECT_EQ(CreateHashByIndex(index), nullptr) << index;
        auto fallback = CreateHashByIndex(3);
        TCrypt_hash* const raw = fallback.get();
        EXPECT_EQ(CreateHashByIndex(index, std::move(fallback)).get(), raw) << index;
    }
    for (const int index : {9, 127, 0x89, -1}) {
        EXPECT_EQ(CreateCipherByIndex(index), nullptr) << index;
        auto fallback = CreateCipherByIndex(6);
        TCrypt_cipher* const raw = fallback.get();
        EXPECT_EQ(CreateCipherByIndex(index, std::move(fallback)).get(), raw) << index;
    }
}
} // namespace
