// Malformed protected strings: every structural fault gives the empty string, never an error.

#include "crypt/QsCrypUtils.h"
#include "crypt/base64.h"
#include "tests/envelope/envelope_test_support.h"

#include <gtest/gtest.h>

namespace {
// A valid string for the pair, protected with the empty password.
UString Valid(int cipherIndex, int hashIndex, const UString& plain = u"payload text") {
    return ProtectString(plain, u"", cipherIndex, hashIndex, SeededRandom(42));
}

TEST(EnvelopeFailures, TextsOfTenCodeUnitsOrFewerGiveEmpty) {
    EXPECT_EQ(DecryptProtectedString(u"", u""), u"");
    // Ten units that would otherwise name RC4 with MD5, the pair that needs no IV.
    const UString rc4 = Valid(6, 1);
    EXPECT_EQ(DecryptProtectedString(rc4.substr(0, 10), u""), u"");
    EXPECT_EQ(DecryptProtectedString(u"0123456789", u""), u"");
    EXPECT_EQ(DecryptProtectedString(rc4.substr(0, 3), u""), u"");
}

TEST(EnvelopeFailures, SelectorsOutsideTheTablesGiveEmpty) {
    const UString valid = Valid(6, 1);
    ASSERT_FALSE(DecryptProtectedString(valid, u"").empty());
    struct Case {
        const char* What;
        std::size_t Position; // 0-based
        int Offset;           // the selector's value relative to its base
    };
    const Case cases[] = {
        {"cipher index 9", 8, -9},       {"cipher selector above its base", 8, 1},
        {"hash index 5", 9, -5},         {"hash selector above its base", 9, 1},
        {"cipher index far beyond", 8, -40}, {"hash selector far above", 9, 30},
    };
    for (const Case& c : cases) {
        UString text = valid;
        const char16_t base = c.Position == 8 ? text[3] : text[4];
        text[c.Position] = static_cast<char16_t>(base + c.Offset);
        EXPECT_EQ(DecryptProtectedString(text, u""), u"") << c.What;
    }
}

TEST(EnvelopeFailures, ShortIvGivesEmpty) {
    // A 128-bit block cipher (Twofish) with 12 code units after position 10, a 64-bit one
    // (Blowfish) with 7.
    const UString twofish = Valid(7, 3);
    EXPECT_EQ(DecryptProtectedString(twofish.substr(0, 10 + 12), u""), u"");
    EXPECT_EQ(DecryptProtectedString(twofish.substr(0, 10 + 15), u""), u"");
    const UString blowfish = Valid(0, 3);
    EXPECT_EQ(DecryptProtectedString(blowfish.substr(0, 10 + 7), u""), u"");
    EXPECT_EQ(DecryptProtectedString(blowfish.substr(0, 11), u""), u"");
}

TEST(EnvelopeFailures, PayloadOfFewerThanFourCharactersGivesEmpty) {
    struct Case {
        int CipherIndex;
        std::size_t PayloadStart;
    };
    for (const Case c : {Case{6, 10}, Case{0, 18}, Case{5, 26}}) {
        const UString valid = Valid(c.CipherIndex, 2);
        for (std::size_t keep = 0; keep < 4; ++keep) {
            EXPECT_EQ(DecryptProtectedString(valid.substr(0, c.PayloadStart + keep), u""), u"")
                << "cipher " << c.CipherIndex << " payload " << keep;
        }
        // Four characters are one group, at least one byte; a whole group of two bytes decodes.
        EXPECT_EQ(DecryptProtectedString(valid.substr(0, c.PayloadStart + 4), u"").size(), 1u);
    }
}

TEST(EnvelopeFailures, PayloadDecodingToOneByteGivesEmpty) {
    const UString valid = Valid(6, 0);
    EXPECT_EQ(DecryptProtectedString(valid.substr(0, 10) + u"QQ==", u""), u"");
}

TEST(EnvelopeFailures, AnOddLastByteIsDropped) {
    // CFB and RC4 are stream transforms, so the first seven of eight ciphertext bytes decrypt
    // to the first three code units; the seventh byte is dropped.
    for (const int cipherIndex : {6, 1, 2}) {
        const UString valid = Valid(cipherIndex, 4, u"abcd");
        const std::size_t payload = valid.size() - 12; // Base64 of 8 bytes
        const std::string bytes = DecodeBase64Text(Utf16ToUtf8(valid.substr(payload)));
        ASSERT_EQ(bytes.size(), 8u);
        const UString odd = valid.substr(0, payload) + EncodeBase64Units(bytes.substr(0, 7));
        EXPECT_EQ(DecryptProtectedString(odd, u""), u"abc") << cipherIndex;
    }
}

TEST(EnvelopeFailures, GarbageNeverRaises) {
    // Random code units of every value, lengths around the header sizes.
    auto random = SeededRandom(99);
    int nonEmpty = 0;
    for (int round = 0; round < 2000; ++round) {
        UString text(random() % 40, u'\0');
        for (auto& unit : text) {
            unit = static_cast<char16_t>(random());
        }
        if (text.size() > 10 && round % 2 == 0) {
            // Make the selectors valid half of the time so that decryption itself runs.
            text[8] = static_cast<char16_t>(text[3] - random() % 9);
            text[9] = static_cast<char16_t>(text[4] - random() % 5);
        }
        UString plain;
        EXPECT_NO_THROW(plain = DecryptProtectedString(text, u"pw"));
        nonEmpty += plain.empty() ? 0 : 1;
    }
    EXPECT_GT(nonEmpty, 0);
}
} // namespace
