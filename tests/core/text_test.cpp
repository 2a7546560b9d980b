#include "core/text.h"

#include <gtest/gtest.h>

TEST(Utf8, RoundTripsAllPlanes) {
    const UString text = u"A\u00e9\u4e2d\U0001F600z";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"\u5b89\u88c5"), "\xe5\xae\x89\xe8\xa3\x85");
}

TEST(Utf8, BrokenInputBecomesReplacementCharacters) {
    struct Case {
        const char* utf8;
        UString expected;
    };
    const Case cases[] = {
        {"\xff", u"\ufffd"},              // never a lead byte
        {"a\xe4\xb8", u"a\ufffd\ufffd"},  // truncated sequence
        {"\xc0\xaf", u"\ufffd\ufffd"},    // overlong form
        {"\xed\xa0\x80", u"\ufffd\ufffd\ufffd"}, // encoded surrogate
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.expected) << c.utf8;
    }
    EXPECT_EQ(Utf16ToUtf8(UString(1, char16_t(0xD800))), "\xef\xbf\xbd");
}
