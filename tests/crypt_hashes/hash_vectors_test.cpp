// Known answers for every hash: published vectors, the shared cross-library vectors and
// PHP's HAVAL digests, each checked fed whole and fed in pieces.

#include "crypt/algorithms.h"
#include "crypt/hash.h"
#include "tests/crypt_hashes/hash_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
struct Family {
    const char* Name;
    int Id;
    const char16_t* Algorithm;
    int HashSize;
};

std::ostream& operator<<(std::ostream& out, const Family& f) {
    return out << f.Name;
}

class HashFamily : public testing::TestWithParam<Family> {
protected:
    std::unique_ptr<TCrypt_hash> Make() const {
        const TCrypt_hashinfo* info = FindHashAlgorithm(GetParam().Name);
        EXPECT_NE(info, nullptr);
        return info ? info->Create() : nullptr;
    }

    // Every case of the file for this family, whole and in two piece patterns; returns the
    // number of cases checked.
    int CheckAll(const std::vector<HashCase>& cases) const {
        auto hash = Make();
        int checked = 0;
        for (const HashCase& c : cases) {
            if (c.Algorithm != GetParam().Name) {
                continue;
            }
            ++checked;
            SCOPED_TRACE("line " + std::to_string(c.Line));
            EXPECT_EQ(DigestWhole(*hash, c.Message), c.Digest);
            // Odd sizes that straddle block ends, with empty updates in between.
            EXPECT_EQ(DigestInPieces(*hash, c.Message, {1, 0, 3, 63, 64, 65, 127, 128, 129, 7}),
                      c.Digest);
            if (c.Message.size() <= 4096) {
                EXPECT_EQ(DigestInPieces(*hash, c.Message, {1}), c.Digest);
            } else {
                EXPECT_EQ(DigestInPieces(*hash, c.Message, {4093}), c.Digest);
            }
        }
        return checked;
    }
};

TEST_P(HashFamily, ReproducesPublishedVectors) {
    EXPECT_GE(CheckAll(ReadTextCases("published_vectors.txt")), 3);
}

TEST_P(HashFamily, AgreesWithIndependentLibraries) {
    EXPECT_GE(CheckAll(ReadHexCases("interop_vectors.txt")), 14);
}

TEST_P(HashFamily, AnswersItsIdentityAndPassesItsSelfTest) {
    const auto hash = Make();
    EXPECT_EQ(hash->Id(), GetParam().Id);
    EXPECT_EQ(hash->GetId(), GetParam().Id);
    EXPECT_EQ(hash->Algorithm(), GetParam().Algorithm);
    EXPECT_EQ(hash->HashSize(), GetParam().HashSize);
    EXPECT_FALSE(hash->Initialized());
    EXPECT_TRUE(hash->SelfTest());
}

INSTANTIATE_TEST_SUITE_P(AllHashes, HashFamily,
                         testing::Values(Family{"haval", 14, u"Haval (256bit, 5 passes)", 256},
                                         Family{"md5", 16, u"MD5", 128},
                                         Family{"sha1", 2, u"SHA1", 160},
                                         Family{"sha256", 28, u"SHA256", 256},
                                         Family{"sha512", 30, u"SHA512", 512}),
                         [](const testing::TestParamInfo<Family>& info) {
                             return std::string(info.param.Name);
                         });

TEST(HavalAgainstPhp, RandomMessagesMatchPhpHashExtension) {
    const auto cases = ReadHexCases("haval_php_cases.txt");
    ASSERT_GE(cases.size(), 70u);
    const auto hash = FindHashAlgorithm("haval")->Create();
    for (const HashCase& c : cases) {
        SCOPED_TRACE("line " + std::to_string(c.Line));
        EXPECT_EQ(DigestWhole(*hash, c.Message), c.Digest);
        EXPECT_EQ(DigestInPieces(*hash, c.Message, {5, 120, 1, 0, 300}), c.Digest);
    }
}
} // namespace
