// The IV passes through the ANSI code page: each IV code unit must become exactly one byte.

#include "core/ansi.h"
#include "crypt/QsCrypUtils.h"
#include "tests/envelope/envelope_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {
const UString kPlain = u"\u7A0B\u5E8F files";

// IV code units with one non-ASCII unit at position 3; the bytes are what code page 1252
// makes of them.
HandMade WithIvUnit(char16_t unit, char byte1252) {
    return HandMade{1,          2,  u"saltsalt", u"abc" + UString(1, unit) + u"efgh",
                    std::string("abc") + byte1252 + "efgh", u"", kPlain};
}

#ifndef _WIN32
class CodePage : public testing::Test {
protected:
    void TearDown() override { SetAnsiCodePage(1252); }
};

TEST_F(CodePage, Latin1IvUnitDecodesUnder1252AndFailsUnder936) {
    // U+00E9 is the single byte 0xE9 in 1252 but two bytes in 936.
    const UString text = BuildProtected(WithIvUnit(u'\u00E9', '\xE9'));
    SetAnsiCodePage(1252);
    EXPECT_EQ(DecryptProtectedString(text, u""), kPlain);
    SetAnsiCodePage(936);
    EXPECT_EQ(DecryptProtectedString(text, u""), u"");
}

TEST_F(CodePage, ChineseIvUnitFailsUnder936AndDecodesAsDefaultCharUnder1252) {
    // Under 1252 the unmappable unit becomes the default character "?", one byte, so the IV
    // has the right length and the text decodes (meaningfully when the producer used "?").
    const UString text = BuildProtected(WithIvUnit(u'\u4E2D', '?'));
    SetAnsiCodePage(936);
    EXPECT_EQ(DecryptProtectedString(text, u""), u"");
    SetAnsiCodePage(1252);
    EXPECT_EQ(DecryptProtectedString(text, u""), kPlain);
}

TEST_F(CodePage, ProtectedStringsRoundTripUnderBothCodePages) {
    for (const unsigned codePage : {1252u, 936u}) {
        SetAnsiCodePage(codePage);
        for (int cipherIndex = 0; cipherIndex < 9; ++cipherIndex) {
            const UString text = ProtectString(kPlain, u"\u5BC6", cipherIndex, cipherIndex % 5,
                                               SeededRandom(codePage + cipherIndex));
            EXPECT_EQ(DecryptProtectedString(text, u"\u5BC6"), kPlain)
                << "code page " << codePage << " cipher " << cipherIndex;
        }
    }
}
#else
// Under Windows the code page is the system's; check whichever of the two it is.
TEST(CodePage, IvUnitsFollowTheSystemCodePage) {
    // The run under the Chinese locale says which code page it must have got.
    if (const char* expected = std::getenv("STP_EXPECT_CODE_PAGE")) {
        ASSERT_EQ(AnsiCodePage(), static_cast<unsigned>(std::atoi(expected)));
    }
    const UString latin = BuildProtected(WithIvUnit(u'\u00E9', '\xE9'));
    if (AnsiCodePage() == 1252) {
        EXPECT_EQ(DecryptProtectedString(latin, u""), kPlain);
    } else if (AnsiCodePage() == 936) {
        EXPECT_EQ(DecryptProtectedString(latin, u""), u"");
    } else {
        GTEST_SKIP() << "code page " << AnsiCodePage();
    }
}
#endif
} // namespace
