#include "tools/builder/errors.h"
#include "tools/builder/string_table.h"

#include <gtest/gtest.h>

TEST(StringTable, BlockNumbering) {
    const struct {
        unsigned id;
        unsigned block;
    } cases[] = {{0, 1}, {15, 1}, {16, 2}, {1001, 63}, {1007, 63}, {1008, 64}, {1017, 64}, {65535, 4096}};
    for (const auto& c : cases) {
        EXPECT_EQ(StringBlockId(c.id), c.block) << c.id;
    }
}

TEST(StringTable, BlockHoldsSixteenLengthPrefixedStrings) {
    StringBlock block;
    block[9] = u"Tf";      // id 1001 in block 63
    block[15] = u"\u4e2d"; // a Chinese character is one unit
    const Bytes expected{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // slots 0-8
                         2, 0, 'T', 0, 'f', 0,                                  // slot 9
                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                          // slots 10-14
                         1, 0, 0x2d, 0x4e};                                     // slot 15
    EXPECT_EQ(EncodeStringBlock(block), expected);
    EXPECT_EQ(DecodeStringBlock(expected), block);
}

TEST(StringTable, RoundTripsLongAndSurrogateTexts) {
    StringBlock block;
    block[0] = UString(65535, u'x');
    block[1] = u"\U0001F600 DemoPad 演示";
    EXPECT_EQ(DecodeStringBlock(EncodeStringBlock(block)), block);
    block[2] = UString(65536, u'y');
    EXPECT_THROW(EncodeStringBlock(block), EImageFormatError);
}

TEST(StringTable, DamagedBlocksAreRefused) {
    EXPECT_THROW(DecodeStringBlock(Bytes{}), EImageFormatError);
    EXPECT_THROW(DecodeStringBlock(Bytes(30, 0)), EImageFormatError);
    Bytes longer(32, 0);
    longer[0] = 5; // a first string longer than the data
    EXPECT_THROW(DecodeStringBlock(longer), EImageFormatError);
}

TEST(StringTable, StringsAreGroupedByBlock) {
    const std::map<unsigned, UString> strings{{1001, u"a"}, {1002, u"b"}, {1009, u"c"}, {1017, u"d"}};
    const auto blocks = GroupIntoBlocks(strings);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks.at(63)[9], u"a");
    EXPECT_EQ(blocks.at(63)[10], u"b");
    EXPECT_EQ(blocks.at(64)[1], u"c");
    EXPECT_EQ(blocks.at(64)[9], u"d");
    EXPECT_THROW(GroupIntoBlocks({{65536, u"x"}}), EImageFormatError);
}
