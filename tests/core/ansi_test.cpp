#include "core/ansi.h"

#include <gtest/gtest.h>

#ifndef _WIN32
namespace {
struct CodePageGuard {
    explicit CodePageGuard(unsigned cp) { SetAnsiCodePage(cp); }
    ~CodePageGuard() { SetAnsiCodePage(1252); }
};
} // namespace

TEST(Ansi, Cp1252MapsTheWindowsHighRange) {
    CodePageGuard guard(1252);
    EXPECT_EQ(AnsiToUnicode("\x80\x81\x9f\xe9"), u"\u20ac\u0081\u0178\u00e9");
    EXPECT_EQ(UnicodeToAnsi(u"\u20ac\u00e9\u4e2d"), "\x80\xe9?");
}

TEST(Ansi, Cp936IsDoubleByte) {
    CodePageGuard guard(936);
    EXPECT_EQ(AnsiToUnicode("a\xd6\xd0\x80"), u"a\u4e2d\u20ac");
    EXPECT_EQ(UnicodeToAnsi(u"a\u4e2d"), "a\xd6\xd0");
    // A lone lead byte at the end has no trail byte: the default character.
    EXPECT_EQ(AnsiToUnicode("\xd6"), u"?");
    // Latin-1 letters outside GBK cannot be mapped.
    EXPECT_EQ(UnicodeToAnsi(u"\u00ff"), "?");
}

TEST(Ansi, RejectsOtherCodePages) {
    EXPECT_ANY_THROW(SetAnsiCodePage(437));
    EXPECT_EQ(AnsiCodePage(), 1252u);
}
#endif

TEST(Ansi, AsciiSurvivesEveryCodePage) {
    std::string ascii;
    for (int c = 1; c < 0x80; ++c) {
        ascii.push_back(static_cast<char>(c));
    }
    const UString wide = AnsiToUnicode(ascii);
    ASSERT_EQ(wide.size(), ascii.size());
    EXPECT_EQ(UnicodeToAnsi(wide), ascii);
    EXPECT_TRUE(AnsiToUnicode("").empty());
}
