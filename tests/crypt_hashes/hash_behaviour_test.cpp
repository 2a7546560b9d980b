// The life cycle every hash shares: Init, Update, Final, Burn, and the errors around them.

#include "crypt/algorithms.h"
#include "crypt/hash.h"
#include "tests/crypt_hashes/hash_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {
class HashLifecycle : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override { hash = FindHashAlgorithm(GetParam())->Create(); }

    Bytes NewDigest() const { return Bytes(static_cast<std::size_t>(hash->HashSize() / 8)); }

    std::string Digest(std::string_view text) const {
        return DigestWhole(*hash, Bytes(text.begin(), text.end()));
    }

    std::unique_ptr<TCrypt_hash> hash;
};

void ExpectNotInitialized(const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no ECrypt_hash raised";
    } catch (const ECrypt_hash& e) {
        EXPECT_STREQ(e.what(), "Hash not initialized");
    }
}

TEST_P(HashLifecycle, UpdateAndFinalBeforeInitRaise) {
    Bytes digest = NewDigest();
    const char byte = 'x';
    ExpectNotInitialized([&] { hash->Update(&byte, 1); });
    ExpectNotInitialized([&] { hash->Update(nullptr, 0); });
    ExpectNotInitialized([&] { hash->UpdateStr(u"x"); });
    ExpectNotInitialized([&] { hash->Final(digest.data()); });
}

TEST_P(HashLifecycle, FinalBurnsSoASecondFinalRaises) {
    Bytes digest = NewDigest();
    hash->Init();
    EXPECT_TRUE(hash->Initialized());
    hash->Final(digest.data());
    EXPECT_FALSE(hash->Initialized());
    ExpectNotInitialized([&] { hash->Final(digest.data()); });
    ExpectNotInitialized([&] { hash->Update("a", 1); });
}

TEST_P(HashLifecycle, BurnStopsADigestAndInitStartsAfresh) {
    const std::string expected = Digest("abc");
    hash->Init();
    hash->Update("partial data that must not leak into the next digest", 52);
    hash->Burn();
    EXPECT_FALSE(hash->Initialized());
    ExpectNotInitialized([&] { hash->Update("a", 1); });
    // Init after a burn, and Init in the middle of a digest, both start from nothing.
    Bytes digest = NewDigest();
    hash->Init();
    hash->Update("xyz", 3);
    hash->Init();
    hash->Update("abc", 3);
    hash->Final(digest.data());
    EXPECT_EQ(ToHex(digest), expected);
}

TEST_P(HashLifecycle, ZeroLengthUpdatesChangeNothing) {
    const std::string expected = Digest("abc");
    Bytes digest = NewDigest();
    hash->Init();
    hash->Update(nullptr, 0);
    hash->Update("abc", 3);
    hash->UpdateStr(u"");
    hash->Update("abc", 0);
    hash->Final(digest.data());
    EXPECT_EQ(ToHex(digest), expected);
}

TEST_P(HashLifecycle, UpdateStrFeedsCodeUnitsLowByteFirst) {
    // A text longer than one conversion slice, with code units whose high byte is set.
    UString text = u"A\u4E2D\u6587\uFFFD";
    for (int i = 0; i < 300; ++i) {
        text.push_back(static_cast<char16_t>(0x0100 * (i % 256) + i % 7));
    }
    Bytes bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    Bytes digest = NewDigest();
    hash->Init();
    hash->UpdateStr(text);
    hash->Final(digest.data());
    EXPECT_EQ(ToHex(digest), DigestWhole(*hash, bytes));

    hash->Init();
    hash->UpdateStr(u"A");
    hash->Final(digest.data());
    EXPECT_EQ(ToHex(digest), DigestWhole(*hash, Bytes{0x41, 0x00}));
}

INSTANTIATE_TEST_SUITE_P(AllHashes, HashLifecycle,
                         testing::Values("haval", "md5", "sha1", "sha256", "sha512"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

TEST(HashBase, AbstractDefaultsAnswerUnknown) {
    const TCrypt_hash base;
    EXPECT_EQ(base.Id(), -1);
    EXPECT_EQ(base.HashSize(), -1);
    EXPECT_TRUE(base.Algorithm().empty());
    EXPECT_FALSE(base.SelfTest());
}

TEST(HashTable, NamesMapToEnvelopeIndexesInOrder) {
    const auto table = HashAlgorithms();
    ASSERT_EQ(table.size(), 5u);
    const char* names[] = {"haval", "md5", "sha1", "sha256", "sha512"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(table[i].Name, names[i]);
        EXPECT_EQ(table[i].EnvelopeIndex, i);
        EXPECT_EQ(FindHashAlgorithm(names[i]), &table[i]);
    }
    EXPECT_EQ(FindHashAlgorithm("SHA256"), &table[3]);
    EXPECT_EQ(FindHashAlgorithm("sha384"), nullptr);
    EXPECT_EQ(FindHashAlgorithm(""), nullptr);
}
} // namespace
