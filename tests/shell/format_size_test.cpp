#include "shell/FloatText.h"
#include "shell/FormatSize.h"
#include "tests/shell/TestData.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

TEST(FormatSize, MatchesTheTableOfSizes) {
    const auto rows = ReadDataFile("format_size.txt");
    ASSERT_GE(rows.size(), 12u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 2u);
        const int64_t bytes = std::stoll(row[0]);
        EXPECT_EQ(Utf16ToUtf8(FormatSize(bytes, u'.')), row[1]) << bytes;
    }
}

TEST(FormatSize, UsesTheGivenDecimalSeparator) {
    EXPECT_EQ(FormatSize(1310720, u','), u"1,2 MB");
    EXPECT_EQ(FormatSize(1342177280, u','), u"1,2 GB");
    // Whole numbers have no decimal part to separate.
    EXPECT_EQ(FormatSize(3 * 1048576, u','), u"3 MB");
}

TEST(FormatSize, DefaultFollowsTheLocaleSeparator) {
    const char16_t separator = LocaleDecimalSeparator();
    EXPECT_EQ(FormatSize(1310720), FormatSize(1310720, separator));
#ifndef _WIN32
    EXPECT_EQ(separator, u'.');
#endif
}

TEST(FormatSize, ComputesInExtendedPrecision) {
    // 1 + 2^-63 is distinct from 1 only with a 64-bit significand (and on Windows only when
    // the x87 unit really runs at that precision).
    EXPECT_EQ(LDBL_MANT_DIG, 64);
    volatile long double one = 1.0L;
    volatile long double tiny = std::ldexp(1.0L, -63);
    EXPECT_NE(one + tiny, one);
}

TEST(FloatText, GeneralFormCases) {
    struct Case {
        long double value;
        const char16_t* text;
    };
    const Case cases[] = {
        {0.0L, u"0"},
        {1.0L, u"1"},
        {-2.5L, u"-2.5"},
        {12 * 0.1L, u"1.2"},             // a tenth in extended precision is slightly above 0.1
        {0.1L, u"0.1"},
        {1.0L / 3, u"0.333333333333333"}, // 15 significant digits
        {2.0L / 3, u"0.666666666666667"}, // last digit rounded up
        {999999999999999.0L, u"999999999999999"},
        {9999999999999999.0L, u"1E16"},   // rounds to 16 digits before the point
        {1e15L, u"1E15"},
        {123456789012345.0L, u"123456789012345"},
        {0.00001L, u"0.00001"},
        {0.000001L, u"1E-6"},
        {0.0000015L, u"1.5E-6"},
        {8589934592.0L, u"8589934592"},
        {LDBL_MAX, u"1.18973149535723E4932"},
        {LDBL_TRUE_MIN, u"3.64519953188247E-4951"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(FormatFloatGeneral(c.value, 15, u'.')), Utf16ToUtf8(c.text))
            << static_cast<double>(c.value);
    }
    EXPECT_EQ(FormatFloatGeneral(1.25L, 15, u','), u"1,25");
    EXPECT_EQ(FormatFloatGeneral(1.25L, 2, u'.'), u"1.3");
}
